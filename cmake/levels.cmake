# The level tool, and the five level pictures made from their text sources.
add_executable(quovix-level tools/quovix_level.cpp)
target_link_libraries(quovix-level PRIVATE quovix_null)
set_target_properties(quovix-level PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(QUOVIX_LEVELS levelone leveltwo levelthree levelfour levelfive)
set(_quovix_level_outputs "")
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
add_custom_target(quovix_levels ALL DEPENDS ${_quovix_level_outputs})
