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
