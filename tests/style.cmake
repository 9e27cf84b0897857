# The layout: every C++ file as the project's formatter lays it out; a file that is
# not fails the suite with its name and the lines that differ.
add_test(NAME style.format COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/format.sh --check)
