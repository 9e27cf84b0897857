# The run folder: bin/ holds the game and scale.txt, resources/ sits beside it.
file(MAKE_DIRECTORY ${QUOVIX_BIN_DIR})
if(NOT EXISTS ${QUOVIX_BIN_DIR}/scale.txt)
  file(WRITE ${QUOVIX_BIN_DIR}/scale.txt "1\n")
endif()
add_dependencies(quovix quovix_art quovix_levels)
