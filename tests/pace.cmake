# The pacing of frames: its decisions against fake displays, window-free.
add_executable(test_pace test_pace.cpp)
target_link_libraries(test_pace PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_pace)
