# The pacing of frames: its decisions against fake displays, window-free.
add_executable(test_pace test_pace.cpp)
target_link_libraries(test_pace PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_pace)

# The real game's frame rate in a window, paced as a player gets it: alone, since
# another test's load would take frames from it, and only in the build players get
# (the Windows game's window is tested through Wine by test_windows).
if(NOT QUOVIX_SANITIZE AND NOT WIN32)
  add_executable(test_frame_rate test_frame_rate.cpp)
  target_link_libraries(test_frame_rate PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
  add_dependencies(test_frame_rate quovix)
  gtest_discover_tests(test_frame_rate PROPERTIES RESOURCE_LOCK display LABELS window RUN_SERIAL TRUE)
endif()
