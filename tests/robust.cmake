# Broken resources through the real game (windows, one at a time on the shared
# display), and a results file that a kill at any moment leaves whole.
if(NOT WIN32)
  add_executable(test_bad_files test_bad_files.cpp)
  target_link_libraries(test_bad_files PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
  add_dependencies(test_bad_files quovix)
  gtest_discover_tests(test_bad_files PROPERTIES RESOURCE_LOCK display LABELS window)
endif()

# Plays into a lost game without a window, then keeps rewriting player.s until killed.
add_executable(quovix_lost_game lost_game.cpp)
target_link_libraries(quovix_lost_game PRIVATE quovix_null)

# Window-free: a results file that survives kills at any moment.
add_executable(test_robust test_results_kill.cpp)
target_link_libraries(test_robust PRIVATE quovix_null quovix_test_support GTest::gtest_main)
target_compile_definitions(test_robust PRIVATE LOST_GAME_PROGRAM="${_host_drive}$<TARGET_FILE:quovix_lost_game>")
add_dependencies(test_robust quovix_lost_game)
gtest_discover_tests(test_robust)
