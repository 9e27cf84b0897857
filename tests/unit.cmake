# Window-free unit suites: the foundation (timer, scale, results, records, flow) and the
# world (level map, models, pictures, start-up).
add_executable(test_foundation test_timer.cpp test_scale.cpp test_results.cpp test_flow.cpp test_command_line.cpp
               test_platform.cpp test_records.cpp test_settings.cpp)
target_link_libraries(test_foundation PRIVATE quovix_null quovix_test_support GTest::gtest_main)
target_compile_definitions(test_foundation PRIVATE QUOVIX_VERSION="${QUOVIX_VERSION}")
add_dependencies(test_foundation quovix)
gtest_discover_tests(test_foundation)

add_executable(test_world test_levelmap.cpp test_objmodel.cpp test_picture.cpp test_startup.cpp test_icon.cpp)
target_link_libraries(test_world PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_world)

# Game recordings: the text, and games played again from it without a window.
add_executable(test_recording test_recording.cpp)
target_link_libraries(test_recording PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_recording)

# Worlds of five levels: the card, the folders listed, the picker played through the frame function.
add_executable(test_worlds test_worlds.cpp)
target_link_libraries(test_worlds PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_worlds)
