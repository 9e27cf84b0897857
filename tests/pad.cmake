# The pads through SDL's virtual controllers: no window, no sound card, no controller plugged in.
add_executable(test_pad test_pad.cpp)
target_link_libraries(test_pad PRIVATE quovix_pad_sdl quovix_null quovix_replay quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_pad)
