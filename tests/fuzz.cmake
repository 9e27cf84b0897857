# The fuzz targets (tests/fuzz/) as plain programs: every committed seed and
# every crasher found so far is replayed as a regression test. The libFuzzer
# builds have their own clang project in tests/fuzz/CMakeLists.txt.
foreach(_target level obj picture recording records scale settings wav world)
  add_executable(fuzz_${_target} fuzz/fuzz_${_target}.cpp fuzz/replay_main.cpp)
  target_link_libraries(fuzz_${_target} PRIVATE quovix_null)
  add_test(NAME fuzz_replay_${_target}
           COMMAND fuzz_${_target} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${_target}
                   ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/crashers/${_target})
endforeach()
# the level tool's picture reader, with libpng
add_executable(fuzz_png fuzz/fuzz_png.cpp fuzz/replay_main.cpp)
target_link_libraries(fuzz_png PRIVATE quovix_null)
add_test(NAME fuzz_replay_png COMMAND fuzz_png ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/png
                                        ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/crashers/png)
