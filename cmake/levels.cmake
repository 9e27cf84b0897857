# The level tool, and the five level pictures made from their text sources.
find_package(PNG REQUIRED)

# Replays and the solver that finds them: both play the game's own frames.
add_library(quovix_replay STATIC tools/replay.cpp tools/playfolder.cpp)
target_link_libraries(quovix_replay PUBLIC quovix_game)
target_include_directories(quovix_replay PUBLIC tools)

# Levels made from a seed, proven by flying them through the window-free runner.
add_library(quovix_levelgen STATIC src/levelgen/levelgen.cpp src/levelgen/random_world.cpp)
target_link_libraries(quovix_levelgen PUBLIC quovix_game)

add_executable(quovix-level tools/quovix_level.cpp)
target_link_libraries(quovix-level PRIVATE quovix_null quovix_replay quovix_levelgen PNG::PNG)
target_include_directories(quovix-level PRIVATE tools)
set_target_properties(quovix-level PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(QUOVIX_LEVELS levelone leveltwo levelthree levelfour levelfive)
set(_quovix_level_outputs "")
if(CMAKE_CROSSCOMPILING)
  # the native build's pictures, as the other resources (cmake/windows.cmake)
  list(TRANSFORM QUOVIX_LEVELS APPEND .bmp OUTPUT_VARIABLE _levels)
  quovix_copy_native_resources(_quovix_level_outputs ${_levels})
else()
  foreach(_level ${QUOVIX_LEVELS})
    set(_out ${QUOVIX_RESOURCES_DIR}/${_level}.bmp)
    add_custom_command(
      OUTPUT ${_out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${QUOVIX_RESOURCES_DIR}
      COMMAND quovix-level bmp ${CMAKE_SOURCE_DIR}/data/levels/${_level}.txt ${_out}
      DEPENDS quovix-level ${CMAKE_SOURCE_DIR}/data/levels/${_level}.txt
      COMMENT "Making level picture ${_level}.bmp"
      VERBATIM)
    list(APPEND _quovix_level_outputs ${_out})
  endforeach()
endif()

# The campaign: each folder of data/worlds/ a world of five levels (their text sources
# and solver replays) with its world.txt, made into resources/worlds/<folder>/.
file(GLOB _world_sources LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/worlds/*)
set(QUOVIX_WORLDS "")
set(QUOVIX_WORLD_FILES "")   # each relative to resources/
foreach(_world_dir ${_world_sources})
  if(IS_DIRECTORY ${_world_dir} AND EXISTS ${_world_dir}/world.txt)
    get_filename_component(_world ${_world_dir} NAME)
    list(APPEND QUOVIX_WORLDS ${_world})
    foreach(_level ${QUOVIX_LEVELS})
      list(APPEND QUOVIX_WORLD_FILES worlds/${_world}/${_level}.bmp)
    endforeach()
    list(APPEND QUOVIX_WORLD_FILES worlds/${_world}/world.txt)
  endif()
endforeach()
if(CMAKE_CROSSCOMPILING)
  quovix_copy_native_resources(_world_outputs ${QUOVIX_WORLD_FILES})
  list(APPEND _quovix_level_outputs ${_world_outputs})
else()
  foreach(_file ${QUOVIX_WORLD_FILES})
    set(_out ${QUOVIX_RESOURCES_DIR}/${_file})
    get_filename_component(_out_dir ${_out} DIRECTORY)
    string(REGEX REPLACE "\\.bmp$" ".txt" _source ${CMAKE_SOURCE_DIR}/data/${_file})
    if(_file MATCHES "world\\.txt$")
      set(_make COMMAND ${CMAKE_COMMAND} -E copy ${_source} ${_out})
      set(_depends ${_source})
    else()
      set(_make COMMAND quovix-level bmp ${_source} ${_out})
      set(_depends quovix-level ${_source})
    endif()
    add_custom_command(
      OUTPUT ${_out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_out_dir}
      ${_make}
      DEPENDS ${_depends}
      COMMENT "Making ${_file}"
      VERBATIM)
    list(APPEND _quovix_level_outputs ${_out})
  endforeach()
endif()
add_custom_target(quovix_levels ALL DEPENDS ${_quovix_level_outputs})

add_executable(quovix-solve tools/quovix_solve.cpp tools/grade.cpp)
target_link_libraries(quovix-solve PRIVATE quovix_null quovix_replay)
set_target_properties(quovix-solve PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
