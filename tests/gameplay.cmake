add_executable(test_gameplay test_motion.cpp test_pickups.cpp test_flow_game.cpp test_keys.cpp test_pause.cpp test_events.cpp)
target_link_libraries(test_gameplay PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_gameplay)
