# The Debian packages, once `cpack -G DEB` has made them: the launcher and the tools
# under Xvfb from both packages unpacked (a window, so it holds the display lock), and
# the checks Debian's tools make of the packages, their programs, the desktop entry
# and the metadata.
add_executable(test_package test_package.cpp)
target_link_libraries(test_package PRIVATE quovix_e2e_support quovix_null GTest::gtest_main)
target_compile_definitions(test_package PRIVATE QUOVIX_PACKAGE_FILE="${QUOVIX_PACKAGE_FILE}"
                           QUOVIX_DATA_PACKAGE_FILE="${QUOVIX_DATA_PACKAGE_FILE}"
                           QUOVIX_LAUNCHER_FILE="${CMAKE_BINARY_DIR}/packaging/quovix")
gtest_discover_tests(test_package PROPERTIES RESOURCE_LOCK display LABELS window)

# Each skips (status 77) when its tool, or the package, is not there.
set(_validate ${CMAKE_CURRENT_SOURCE_DIR}/validate_package.sh)
add_test(NAME package.lintian COMMAND sh ${_validate} lintian ${QUOVIX_PACKAGE_FILE} ${QUOVIX_DATA_PACKAGE_FILE})
# the C library's start-up object every program is linked with
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=Scrt1.o
                OUTPUT_VARIABLE _start_file OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(_start_file ${_start_file} REALPATH)
add_test(NAME package.hardening COMMAND sh ${_validate} hardening-check ${QUOVIX_PACKAGE_FILE} ${_start_file})
add_test(NAME package.desktop_entry
         COMMAND sh ${_validate} desktop-file-validate ${CMAKE_BINARY_DIR}/packaging/${QUOVIX_ID}.desktop)
add_test(NAME package.metainfo
         COMMAND sh ${_validate} appstreamcli ${CMAKE_BINARY_DIR}/packaging/${QUOVIX_ID}.metainfo.xml)
set_tests_properties(package.lintian package.hardening package.desktop_entry package.metainfo
                     PROPERTIES SKIP_RETURN_CODE 77)
