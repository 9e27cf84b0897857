# The game's names and version, written once for the Debian packages and the Windows zip.
set(QUOVIX_VERSION 1.0.0)
# the window's class, which the desktop entry's StartupWMClass names
set(QUOVIX_WINDOW_CLASS Quovix)
# the one folder the Windows zip unpacks into
set(QUOVIX_ZIP_FOLDER Quovix)
# the game answers --version with the one, and names its window with the other
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/options.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUOVIX_VERSION="${QUOVIX_VERSION}")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/window.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUOVIX_WINDOW_CLASS="${QUOVIX_WINDOW_CLASS}")
