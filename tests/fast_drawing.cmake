# The fast drawing against the reference drawing, on screens of both picture sizes,
# each in an X server of its own size.
find_program(XVFB_RUN xvfb-run)
add_executable(test_fast_drawing test_fast_drawing.cpp)
target_link_libraries(test_fast_drawing PRIVATE quovix_gl quovix_display quovix_pad_null quovix_sound_null quovix_gl_window GTest::gtest_main ${CMAKE_DL_LIBS})
add_dependencies(test_fast_drawing quovix_art quovix_levels)
if(XVFB_RUN)
  foreach(size 1366x768 2560x1080)
    add_test(NAME FastDrawing.MatchesTheReference.${size}
             COMMAND ${XVFB_RUN} -a -s "-screen 0 ${size}x24 -nolisten tcp -noreset" $<TARGET_FILE:test_fast_drawing>)
    set_tests_properties(FastDrawing.MatchesTheReference.${size} PROPERTIES
                         RESOURCE_LOCK display LABELS window ENVIRONMENT QUOVIX_PICTURE_SCREEN=${size})
  endforeach()
else()
  message(STATUS "xvfb-run not found: the fast drawing is not held against the reference")
endif()

# How often the fast track writes a pixel, counted by the GL.
add_executable(test_overdraw test_overdraw.cpp)
target_link_libraries(test_overdraw PRIVATE quovix_gl quovix_display quovix_pad_null quovix_sound_null quovix_gl_window GTest::gtest_main)
add_dependencies(test_overdraw quovix_art quovix_levels)
if(XVFB_RUN)
  add_test(NAME Overdraw.TrackTopsWrittenAboutOnce
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1366x768x24 -nolisten tcp -noreset" $<TARGET_FILE:test_overdraw>)
  set_tests_properties(Overdraw.TrackTopsWrittenAboutOnce PROPERTIES RESOURCE_LOCK display LABELS window)
endif()
