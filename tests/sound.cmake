# The sound: its mixer, files and generator, the m key, and SDL's real audio
# written through its disk driver, window-free.
add_executable(test_sound test_sound.cpp test_sound_device.cpp)
target_link_libraries(test_sound PRIVATE quovix_sound_sdl quovix_null quovix_test_support GTest::gtest_main)
add_dependencies(test_sound quovix_art)
gtest_discover_tests(test_sound)

# The real game's sound under X, through the same disk driver.
if(NOT WIN32)
  add_executable(test_game_sound test_game_sound.cpp)
  target_link_libraries(test_game_sound PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
  add_dependencies(test_game_sound quovix)
  gtest_discover_tests(test_game_sound PROPERTIES RESOURCE_LOCK display LABELS window)
endif()
