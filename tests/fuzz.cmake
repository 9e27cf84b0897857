# The fuzz targets (tests/fuzz/) as plain programs: every committed seed and
# every crasher found so far is replayed as a regression test. The libFuzzer
# builds have their own clang project in tests/fuzz/CMakeLists.txt.
foreach(_target level obj picture scale)
  add_executable(fuzz_${_target} fuzz/fuzz_${_target}.cpp fuzz/replay_main.cpp)
  target_link_libraries(fuzz_${_target} PRIVATE quovix_null)
  add_test(NAME fuzz_replay_${_target}
           COMMAND fuzz_${_target} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${_target}
                   ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/crashers/${_target})
endforeach()
