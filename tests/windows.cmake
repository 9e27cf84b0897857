# The Windows zip as a player gets it, under Wine in this X server (a window, so it
# holds the display lock); it skips until scripts/windows.sh has made the zip.
set(QUOVIX_WINDOWS_BUILD ${CMAKE_SOURCE_DIR}/build-windows CACHE PATH "The Windows build whose zip test_windows plays")
find_program(QUOVIX_WINE wine)
find_program(QUOVIX_WINDOWS_OBJDUMP x86_64-w64-mingw32-objdump)
add_executable(test_windows test_windows.cpp)
target_link_libraries(test_windows PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
target_compile_definitions(test_windows PRIVATE
  QUOVIX_WINDOWS_ZIP="${QUOVIX_WINDOWS_BUILD}/quovix-${QUOVIX_VERSION}-windows.zip"
  QUOVIX_ZIP_FOLDER="${QUOVIX_ZIP_FOLDER}"
  QUOVIX_WINDOWS_GAME="${QUOVIX_WINDOWS_BUILD}/bin/quovix.exe"
  QUOVIX_WINE="${QUOVIX_WINE}" QUOVIX_WINDOWS_OBJDUMP="${QUOVIX_WINDOWS_OBJDUMP}"
  QUOVIX_WINE_ONCE_MORE="${CMAKE_SOURCE_DIR}/cmake/wine_once_more.sh")
add_dependencies(test_windows quovix-solve)
gtest_discover_tests(test_windows PROPERTIES RESOURCE_LOCK display LABELS window)
