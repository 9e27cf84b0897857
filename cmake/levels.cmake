# The level tool, and the five level pictures made from their text sources.
add_executable(quovix-level tools/quovix_level.cpp)
target_link_libraries(quovix-level PRIVATE quovix_null PNG::PNG)
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
add_custom_target(quovix_levels ALL DEPENDS ${_quovix_level_outputs})

# Replays and the solver that finds them: both play the game's own frames.
add_library(quovix_replay STATIC tools/replay.cpp tools/playfolder.cpp)
target_link_libraries(quovix_replay PUBLIC quovix_game)
target_include_directories(quovix_replay PUBLIC tools)

add_executable(quovix-solve tools/quovix_solve.cpp)
target_link_libraries(quovix-solve PRIVATE quovix_null quovix_replay)
set_target_properties(quovix-solve PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
