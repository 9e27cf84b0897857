# The Windows build's libraries: freeglut, SDL2, libpng, zlib and GoogleTest as
# scripts/windows.sh built them from Debian's sources, all static, with the C++
# runtime and winpthread linked in too, so the zip's programs need no DLL beside them.
add_link_options(-static)

# Every program carries the manifest that makes UTF-8 its code page (Windows 10 1903 and later):
# names outside the system's language reach the file system as typed. Made once here and
# linked as an object into each program, as the linker keeps no resource from a library.
set(_manifest_object ${CMAKE_BINARY_DIR}/quovix_manifest.o)
execute_process(COMMAND ${CMAKE_RC_COMPILER} --input-format=rc --output-format=coff
                        -I ${CMAKE_SOURCE_DIR}/packaging/windows -i ${CMAKE_SOURCE_DIR}/packaging/windows/manifest.rc
                        -o ${_manifest_object}
                RESULT_VARIABLE _manifest_failed)
if(_manifest_failed)
  message(FATAL_ERROR "${CMAKE_RC_COMPILER} could not make ${_manifest_object}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/windows/quovix.manifest
                                                               ${CMAKE_SOURCE_DIR}/packaging/windows/manifest.rc)
add_link_options(${_manifest_object})

find_package(FreeGLUT REQUIRED CONFIG)
add_library(GLUT::GLUT ALIAS FreeGLUT::freeglut_static)
# the key names come from GLUT's header in the window-free code too, as Linux finds it in /usr/include
get_target_property(_glut_include FreeGLUT::freeglut_static INTERFACE_INCLUDE_DIRECTORIES)
include_directories(SYSTEM ${_glut_include})
add_compile_definitions(FREEGLUT_STATIC)
# M_PI, which glibc gives without asking
add_compile_definitions(_USE_MATH_DEFINES)
# SDL2's own configuration names its static library SDL2::SDL2 when it is the only one
find_package(SDL2 REQUIRED CONFIG)

# The Cairo generators build only for the machine itself: the models, pictures,
# sounds and levels come from its build, as the tests' own copy.
set(QUOVIX_NATIVE_RESOURCES ${CMAKE_SOURCE_DIR}/build/resources CACHE PATH
    "The resources of a native build, copied into the Windows build")
if(NOT EXISTS ${QUOVIX_NATIVE_RESOURCES}/levelone.bmp)
  message(FATAL_ERROR "${QUOVIX_NATIVE_RESOURCES} holds no resources yet: build the native tree first "
                      "(bash scripts/setup.sh), or set QUOVIX_NATIVE_RESOURCES")
endif()

# Rules that copy resources (paths under resources/) from the native build; their outputs in out_var.
function(quovix_copy_native_resources out_var)
  set(_outs "")
  foreach(_file ${ARGN})
    add_custom_command(
      OUTPUT ${QUOVIX_RESOURCES_DIR}/${_file}
      COMMAND ${CMAKE_COMMAND} -E copy ${QUOVIX_NATIVE_RESOURCES}/${_file} ${QUOVIX_RESOURCES_DIR}/${_file}
      DEPENDS ${QUOVIX_NATIVE_RESOURCES}/${_file}
      VERBATIM)
    list(APPEND _outs ${QUOVIX_RESOURCES_DIR}/${_file})
  endforeach()
  set(${out_var} ${_outs} PARENT_SCOPE)
endfunction()
