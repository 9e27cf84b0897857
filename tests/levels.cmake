# The shipped levels and their replays, the level tool and the solver.
add_executable(test_levels test_levels.cpp)
target_link_libraries(test_levels PRIVATE quovix_null quovix_replay quovix_test_support GTest::gtest_main)
add_dependencies(test_levels quovix-solve quovix_levels)
gtest_discover_tests(test_levels)

find_package(PNG REQUIRED)
add_executable(test_level_tool test_level_tool.cpp)
target_link_libraries(test_level_tool PRIVATE quovix_null quovix_test_support PNG::PNG GTest::gtest_main)
add_dependencies(test_level_tool quovix-level quovix-solve)
gtest_discover_tests(test_level_tool)

# Levels made from a seed: the same bytes everywhere (this suite runs under Wine too),
# each finishing by its own flight, and the tool's arguments.
add_executable(test_levelgen test_levelgen.cpp)
target_link_libraries(test_levelgen PRIVATE quovix_null quovix_levelgen quovix_test_support GTest::gtest_main)
add_dependencies(test_levelgen quovix-level)
gtest_discover_tests(test_levelgen)

# The random world: a seed's five levels, the same each time and rising, played from the picker.
add_executable(test_random_world test_random_world.cpp)
target_link_libraries(test_random_world PRIVATE quovix_null quovix_levelgen quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_random_world)

# The campaign's worlds: every level's replay finishes it, and the worlds rise in grade.
add_executable(test_campaign test_campaign.cpp)
target_link_libraries(test_campaign PRIVATE quovix_null quovix_test_support GTest::gtest_main)
add_dependencies(test_campaign quovix-solve quovix-level quovix_levels)
gtest_discover_tests(test_campaign)
