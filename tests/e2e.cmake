# The summary's points: no window, no display lock.
add_executable(test_points test_points.cpp)
target_link_libraries(test_points PRIVATE quovix_null quovix_test_support GTest::gtest_main)
gtest_discover_tests(test_points)

# The rest runs the game under X; the Windows build's game is played by test_windows.
if(WIN32)
  return()
endif()

# Tests that run the real game in a window; they share the X display one at a time.
find_package(X11 REQUIRED)
add_library(quovix_e2e_support STATIC e2e_support.cpp)
target_link_libraries(quovix_e2e_support PUBLIC quovix_test_support X11::X11)

# The window and whole games played through it with real keys.
add_executable(test_game test_game.cpp)
target_link_libraries(test_game PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
add_dependencies(test_game quovix)
gtest_discover_tests(test_game PROPERTIES RESOURCE_LOCK display LABELS window)

# The GL driver in a test window of its own: frames and textures read back.
find_package(OpenGL REQUIRED)
find_package(GLUT REQUIRED)
add_library(quovix_gl_window STATIC gl_window.cpp)
target_link_libraries(quovix_gl_window PUBLIC quovix_e2e_support X11::X11 OpenGL::GL GLUT::GLUT)
add_executable(test_drawing test_drawing.cpp)
target_link_libraries(test_drawing PRIVATE quovix_gl quovix_display quovix_pad_null quovix_sound_null quovix_gl_window OpenGL::GLU GTest::gtest_main)
add_dependencies(test_drawing quovix_art)
gtest_discover_tests(test_drawing PROPERTIES RESOURCE_LOCK display LABELS window)

# The window's size, class and icon as the desktop sees them.
add_executable(test_desktop test_desktop.cpp)
target_link_libraries(test_desktop PRIVATE quovix_e2e_support quovix_null X11::Xfixes GTest::gtest_main)
target_compile_definitions(test_desktop PRIVATE
                           QUOVIX_DESKTOP_ENTRY="${CMAKE_BINARY_DIR}/packaging/${QUOVIX_ID}.desktop")
add_dependencies(test_desktop quovix)
gtest_discover_tests(test_desktop PROPERTIES RESOURCE_LOCK display LABELS window)
