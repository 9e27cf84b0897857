# Builds the art generators and runs them to make the game's meshes and pictures.
# Expects QUOVIX_RESOURCES_DIR to be set by the including CMakeLists.txt.

if(NOT QUOVIX_RESOURCES_DIR)
  message(FATAL_ERROR "QUOVIX_RESOURCES_DIR must be set before including resources.cmake")
endif()

# What the game reads: meshes, picture sets, the window's icon (in the sizes docks
# and taskbars ask for most) and the sounds, one an event that has one, and the
# engine's hum; the names come from the game.
set(QUOVIX_MODELS spaceship.obj spaceshipleft.obj spaceshipright.obj star.obj heart.obj)
set(QUOVIX_PICTURES background.bmp gameover.bmp playgame.bmp exitgame.bmp)
# the picture sets from the game's own table of the sets that ship, {width, height} a row
set(_sets_header ${CMAKE_CURRENT_LIST_DIR}/../src/assets/picture.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_sets_header})
file(READ ${_sets_header} _sets_text)
string(REGEX MATCH "shipped_picture_sets\\[\\] = {[^;]*}" _sets_text "${_sets_text}")
string(REGEX MATCHALL "[0-9]+, [0-9]+" QUOVIX_PICTURE_SETS "${_sets_text}")
list(TRANSFORM QUOVIX_PICTURE_SETS REPLACE ", " "x")
if(NOT QUOVIX_PICTURE_SETS)
  message(FATAL_ERROR "${_sets_header} has no table shipped_picture_sets[] = {{W, H}, ...}")
endif()
set(QUOVIX_WINDOW_ICON icon.argb)
set(QUOVIX_SOUNDS jump.wav high_jump.wav land.wav star.wav heart.wav life_lost.wav level.wav game_won.wav
    game_lost.wav menu_move.wav menu_confirm.wav pause.wav resume.wav engine.wav)

# A cross build copies them from the native build (cmake/windows.cmake); the
# sound generator, which needs no Cairo, is built too, to make the same bytes.
if(CMAKE_CROSSCOMPILING)
  add_executable(quovix-gen-sounds ${CMAKE_CURRENT_LIST_DIR}/../tools/gen_sounds.cpp)
  target_link_libraries(quovix-gen-sounds PRIVATE quovix_null)
  set_target_properties(quovix-gen-sounds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(_files ${QUOVIX_MODELS} ${QUOVIX_WINDOW_ICON})
  foreach(_size ${QUOVIX_PICTURE_SETS})
    list(TRANSFORM QUOVIX_PICTURES PREPEND ${_size}/ OUTPUT_VARIABLE _pictures)
    list(APPEND _files ${_pictures})
  endforeach()
  list(TRANSFORM QUOVIX_SOUNDS PREPEND sounds/ OUTPUT_VARIABLE _sounds)
  quovix_copy_native_resources(_quovix_art_outputs ${_files} ${_sounds})
  add_custom_target(quovix_art ALL DEPENDS ${_quovix_art_outputs})
  add_dependencies(quovix_art quovix-gen-sounds)
  return()
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)

get_filename_component(_quovix_tools_dir ${CMAKE_CURRENT_LIST_DIR}/../tools ABSOLUTE)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_executable(quovix-gen-models ${_quovix_tools_dir}/gen_models.cpp)
add_executable(quovix-gen-pictures ${_quovix_tools_dir}/gen_pictures.cpp)
add_executable(quovix-gen-sounds ${_quovix_tools_dir}/gen_sounds.cpp)
target_link_libraries(quovix-gen-pictures PRIVATE PkgConfig::CAIRO)
# the model and picture file names come from the game itself
target_link_libraries(quovix-gen-models PRIVATE quovix_null)
target_link_libraries(quovix-gen-pictures PRIVATE quovix_null)
target_link_libraries(quovix-gen-sounds PRIVATE quovix_null)

foreach(_tool quovix-gen-models quovix-gen-pictures quovix-gen-sounds)
  set_target_properties(${_tool} PROPERTIES CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON
                        CXX_EXTENSIONS OFF)
  target_compile_options(${_tool} PRIVATE -Wall -Wextra)
endforeach()

set(_quovix_model_outputs "")
foreach(_m ${QUOVIX_MODELS})
  list(APPEND _quovix_model_outputs ${QUOVIX_RESOURCES_DIR}/${_m})
endforeach()

add_custom_command(
  OUTPUT ${_quovix_model_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUOVIX_RESOURCES_DIR}
  COMMAND quovix-gen-models ${QUOVIX_RESOURCES_DIR}
  DEPENDS quovix-gen-models
  COMMENT "Generating ship, star and heart meshes"
  VERBATIM)

set(_quovix_art_outputs ${_quovix_model_outputs})

foreach(_size ${QUOVIX_PICTURE_SETS})
  string(REPLACE "x" ";" _wh ${_size})
  list(GET _wh 0 _w)
  list(GET _wh 1 _h)
  set(_outs "")
  foreach(_p ${QUOVIX_PICTURES})
    list(APPEND _outs ${QUOVIX_RESOURCES_DIR}/${_size}/${_p})
  endforeach()
  add_custom_command(
    OUTPUT ${_outs}
    # fontconfig keeps its caches until exit, which a sanitizer build would call a leak
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:quovix-gen-pictures> ${QUOVIX_RESOURCES_DIR}/${_size} ${_w} ${_h}
    DEPENDS quovix-gen-pictures
    COMMENT "Generating ${_size} pictures"
    VERBATIM)
  list(APPEND _quovix_art_outputs ${_outs})
endforeach()

add_custom_command(
  OUTPUT ${QUOVIX_RESOURCES_DIR}/${QUOVIX_WINDOW_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUOVIX_RESOURCES_DIR}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:quovix-gen-pictures> --window-icon ${QUOVIX_RESOURCES_DIR}/${QUOVIX_WINDOW_ICON} 32 64 128
  DEPENDS quovix-gen-pictures
  COMMENT "Painting the window's icon"
  VERBATIM)
list(APPEND _quovix_art_outputs ${QUOVIX_RESOURCES_DIR}/${QUOVIX_WINDOW_ICON})

list(TRANSFORM QUOVIX_SOUNDS PREPEND ${QUOVIX_RESOURCES_DIR}/sounds/ OUTPUT_VARIABLE _quovix_sound_outputs)
add_custom_command(
  OUTPUT ${_quovix_sound_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUOVIX_RESOURCES_DIR}/sounds
  COMMAND quovix-gen-sounds ${QUOVIX_RESOURCES_DIR}/sounds
  DEPENDS quovix-gen-sounds
  COMMENT "Generating the sounds"
  VERBATIM)
list(APPEND _quovix_art_outputs ${_quovix_sound_outputs})

add_custom_target(quovix_art ALL DEPENDS ${_quovix_art_outputs})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QUOVIX_BIN_DIR})
