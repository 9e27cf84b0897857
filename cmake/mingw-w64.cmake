# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the posix threads flavour,
# which std::thread needs); libraries come from build-windows/deps/ made by scripts/windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_quovix_triple x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${_quovix_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_quovix_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_quovix_triple}-windres)

# The dependencies' prefix may be given; by default it is the one windows.sh fills.
if(NOT QUOVIX_WINDOWS_DEPS)
  get_filename_component(QUOVIX_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${_quovix_triple} ${QUOVIX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run through Wine on the build machine, once more when Wine did not start one.
find_program(QUOVIX_WINE NAMES wine)
if(QUOVIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR sh ${CMAKE_CURRENT_LIST_DIR}/wine_once_more.sh ${QUOVIX_WINE})
endif()
