# Tests that run the real game in a window; they share the X display one at a time.
find_package(X11 REQUIRED)
add_library(quovix_e2e_support STATIC e2e_support.cpp)
target_link_libraries(quovix_e2e_support PUBLIC quovix_test_support X11::X11)

add_executable(test_window test_window.cpp)
target_link_libraries(test_window PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
add_dependencies(test_window quovix)
gtest_discover_tests(test_window PROPERTIES RESOURCE_LOCK display)
