# The zip a Windows player unpacks and plays from (`cmake --build build-windows --target quovix_zip`),
# all in one folder, QUOVIX_ZIP_FOLDER (cmake/version.cmake):
#   bin/        quovix.exe, the level tool and the solver, scale.txt
#   resources/  models, sounds, the icon and the levels, as the native build made them, and the
#               picture sets gzipped (PACKED_PICTURE_SUFFIX): the game unpacks its screen's set
#               at its first start
#   README.txt  how to play, in Windows' own line endings

set(QUOVIX_ZIP_FILE ${CMAKE_BINARY_DIR}/quovix-${QUOVIX_VERSION}-windows.zip)
set(_zip_top ${CMAKE_BINARY_DIR}/zip)
set(_zip_root ${_zip_top}/${QUOVIX_ZIP_FOLDER})
# the README names the sets the zip holds: "A, B and C"
set(_sets ${QUOVIX_PICTURE_SETS})
list(SORT _sets)
list(POP_BACK _sets _last_set)
list(JOIN _sets ", " QUOVIX_PICTURE_SETS_NAMED)
string(APPEND QUOVIX_PICTURE_SETS_NAMED " and ${_last_set}")
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
# Notepad and the game alike read "1" with Windows' line ending as 1
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/scale.txt CONTENT "1\n" NEWLINE_STYLE CRLF)

set(_zip_resources ${QUOVIX_MODELS} ${QUOVIX_WINDOW_ICON})
list(TRANSFORM QUOVIX_LEVELS APPEND .bmp OUTPUT_VARIABLE _levels)
list(TRANSFORM QUOVIX_SOUNDS PREPEND sounds/ OUTPUT_VARIABLE _sounds)
list(APPEND _zip_resources ${_levels} ${_sounds} ${QUOVIX_WORLD_FILES})
# the sets are most of the game's size, and shrink to a few percent of it packed
set(_zip_pictures "")
foreach(_set ${QUOVIX_PICTURE_SETS})
  list(TRANSFORM QUOVIX_PICTURES PREPEND ${_set}/ OUTPUT_VARIABLE _pictures)
  list(APPEND _zip_pictures ${_pictures})
endforeach()
list(APPEND _zip_resources ${_zip_pictures})
# each named, so a set made at run time for another screen stays out
set(_zip_resource_files "")
set(_zip_copies COMMAND ${CMAKE_COMMAND} -E make_directory ${_zip_root}/resources/sounds)
foreach(_set ${QUOVIX_PICTURE_SETS})
  list(APPEND _zip_copies COMMAND ${CMAKE_COMMAND} -E make_directory ${_zip_root}/resources/${_set})
endforeach()
foreach(_world ${QUOVIX_WORLDS})
  list(APPEND _zip_copies COMMAND ${CMAKE_COMMAND} -E make_directory ${_zip_root}/resources/worlds/${_world})
endforeach()
foreach(_file ${_zip_resources})
  list(APPEND _zip_resource_files ${QUOVIX_RESOURCES_DIR}/${_file})
  list(APPEND _zip_copies COMMAND ${CMAKE_COMMAND} -E copy ${QUOVIX_RESOURCES_DIR}/${_file}
       ${_zip_root}/resources/${_file})
endforeach()
# -n: no name or time inside, so the same pictures pack to the same bytes
list(TRANSFORM _zip_pictures PREPEND ${_zip_root}/resources/ OUTPUT_VARIABLE _zipped_pictures)
list(APPEND _zip_copies COMMAND gzip -9 -n ${_zipped_pictures})

add_custom_command(
  OUTPUT ${QUOVIX_ZIP_FILE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_zip_top}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_zip_root}/bin
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quovix> $<TARGET_FILE:quovix-level> $<TARGET_FILE:quovix-solve>
          ${CMAKE_BINARY_DIR}/scale.txt ${_zip_root}/bin
  # the debugging information stays in the build's own copies
  COMMAND ${CMAKE_STRIP} ${_zip_root}/bin/$<TARGET_FILE_NAME:quovix> ${_zip_root}/bin/$<TARGET_FILE_NAME:quovix-level>
          ${_zip_root}/bin/$<TARGET_FILE_NAME:quovix-solve>
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/README.txt ${_zip_root}
  ${_zip_copies}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QUOVIX_ZIP_FILE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_zip_top} zip -q -r -X ${QUOVIX_ZIP_FILE} ${QUOVIX_ZIP_FOLDER}
  DEPENDS quovix quovix-level quovix-solve ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/scale.txt
          ${_zip_resource_files}
  COMMENT "Making quovix-${QUOVIX_VERSION}-windows.zip"
  VERBATIM)
add_custom_target(quovix_zip DEPENDS ${QUOVIX_ZIP_FILE})
