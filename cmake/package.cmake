# Installs Quovix the way Debian lays out its games, and makes the Debian package
# of it with CPack (`cpack -G DEB` in the build folder):
#   /usr/games/quovix                   the launcher: the player's folder, then the game
#   /usr/lib/games/quovix/              the game and its helpers
#   /usr/share/games/quovix/resources/  models, picture sets, sounds and levels, as the build made them
# with a desktop entry, icons, AppStream metadata, manual pages and the licence.

set(QUOVIX_VERSION 1.0.0)
set(QUOVIX_RELEASE_DATE 2026-12-08)
set(QUOVIX_ID org.quovix.Quovix)
set(QUOVIX_MAINTAINER "The Quovix developers <developers@quovix.org>")
# the window's class, which the desktop entry's StartupWMClass names
set(QUOVIX_WINDOW_CLASS Quovix)
# the game answers --version with the one, and names its window with the other
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/options.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUOVIX_VERSION="${QUOVIX_VERSION}")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/window.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUOVIX_WINDOW_CLASS="${QUOVIX_WINDOW_CLASS}")

set(QUOVIX_INSTALL_GAMES games)
set(QUOVIX_INSTALL_LIB lib/games/quovix)
set(QUOVIX_INSTALL_RESOURCES share/games/quovix/resources)
set(QUOVIX_INSTALL_DOC share/doc/quovix)
set(QUOVIX_ICON_SIZES 16 24 32 48 64 128 256 512)

set(_pkg_source ${CMAKE_SOURCE_DIR}/packaging)
set(_pkg_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg_out})

# The launcher's helper: the screen's size, and whether there is a display at all.
add_executable(quovix-screen tools/screen_size.cpp)
target_link_libraries(quovix-screen PRIVATE quovix_display)
set_target_properties(quovix-screen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# The launcher finds the game and its resources from where it lies, so an unpacked package runs too.
file(RELATIVE_PATH QUOVIX_LAUNCHER_TO_LIB /${QUOVIX_INSTALL_GAMES} /${QUOVIX_INSTALL_LIB})
file(RELATIVE_PATH QUOVIX_LAUNCHER_TO_RESOURCES /${QUOVIX_INSTALL_GAMES} /${QUOVIX_INSTALL_RESOURCES})
configure_file(${_pkg_source}/quovix.sh.in ${_pkg_out}/quovix @ONLY)
file(CREATE_LINK ${QUOVIX_LAUNCHER_TO_LIB}/quovix-level ${_pkg_out}/quovix-level SYMBOLIC)

configure_file(${_pkg_source}/quovix.desktop.in ${_pkg_out}/${QUOVIX_ID}.desktop @ONLY)
configure_file(${_pkg_source}/quovix.metainfo.xml.in ${_pkg_out}/${QUOVIX_ID}.metainfo.xml @ONLY)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE QUOVIX_LICENSE_TEXT)
configure_file(${_pkg_source}/copyright.in ${_pkg_out}/copyright @ONLY)

# Debian wants the changelog and the manual pages gzipped at most, without a time stamp.
execute_process(COMMAND date -R -u -d "${QUOVIX_RELEASE_DATE} 00:00:00"
                OUTPUT_VARIABLE QUOVIX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(_page changelog quovix.6 quovix-level.6)
  configure_file(${_pkg_source}/${_page}.in ${_pkg_out}/${_page} @ONLY)
  execute_process(COMMAND gzip -9 -n -c ${_pkg_out}/${_page} OUTPUT_FILE ${_pkg_out}/${_page}.gz)
endforeach()

# Icons in the desktop's sizes, from the menu pictures' art.
set(_pkg_icons "")
foreach(_size ${QUOVIX_ICON_SIZES})
  set(_icon ${_pkg_out}/icons/${_size}x${_size}/quovix.png)
  add_custom_command(
    OUTPUT ${_icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg_out}/icons/${_size}x${_size}
    # fontconfig keeps its caches until exit, which a sanitizer build would call a leak
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:quovix-gen-pictures> --icon ${_icon} ${_size}
    DEPENDS quovix-gen-pictures
    COMMENT "Painting the ${_size}x${_size} icon"
    VERBATIM)
  list(APPEND _pkg_icons ${_icon})
  install(FILES ${_icon} DESTINATION share/icons/hicolor/${_size}x${_size}/apps)
endforeach()
add_custom_target(quovix_icons ALL DEPENDS ${_pkg_icons})

install(PROGRAMS ${_pkg_out}/quovix DESTINATION ${QUOVIX_INSTALL_GAMES})
install(FILES ${_pkg_out}/quovix-level DESTINATION ${QUOVIX_INSTALL_GAMES})
install(TARGETS quovix quovix-level quovix-solve quovix-gen-pictures quovix-screen
        RUNTIME DESTINATION ${QUOVIX_INSTALL_LIB})

# Every resource the build makes, named one by one: a picture set made for a
# developer's own screen stays out of the package.
set(_pkg_resources ${QUOVIX_RESOURCES_DIR}/${QUOVIX_WINDOW_ICON})
foreach(_file ${QUOVIX_MODELS})
  list(APPEND _pkg_resources ${QUOVIX_RESOURCES_DIR}/${_file})
endforeach()
foreach(_level ${QUOVIX_LEVELS})
  list(APPEND _pkg_resources ${QUOVIX_RESOURCES_DIR}/${_level}.bmp)
endforeach()
install(FILES ${_pkg_resources} DESTINATION ${QUOVIX_INSTALL_RESOURCES})
list(TRANSFORM QUOVIX_SOUNDS PREPEND ${QUOVIX_RESOURCES_DIR}/sounds/ OUTPUT_VARIABLE _sounds)
install(FILES ${_sounds} DESTINATION ${QUOVIX_INSTALL_RESOURCES}/sounds)
foreach(_set ${QUOVIX_PICTURE_SETS})
  list(TRANSFORM QUOVIX_PICTURES PREPEND ${QUOVIX_RESOURCES_DIR}/${_set}/ OUTPUT_VARIABLE _pictures)
  install(FILES ${_pictures} DESTINATION ${QUOVIX_INSTALL_RESOURCES}/${_set})
endforeach()

install(FILES ${_pkg_out}/${QUOVIX_ID}.desktop DESTINATION share/applications)
install(FILES ${_pkg_out}/${QUOVIX_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${_pkg_out}/quovix.6.gz ${_pkg_out}/quovix-level.6.gz DESTINATION share/man/man6)
install(FILES ${_pkg_out}/copyright ${_pkg_out}/changelog.gz DESTINATION ${QUOVIX_INSTALL_DOC})

# The package: its dependencies are the libraries the installed programs link, as dpkg-shlibdeps finds them.
find_program(QUOVIX_DPKG dpkg)
if(QUOVIX_DPKG)
  execute_process(COMMAND ${QUOVIX_DPKG} --print-architecture
                  OUTPUT_VARIABLE QUOVIX_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  set(QUOVIX_DEB_ARCH amd64)
endif()
set(QUOVIX_PACKAGE_FILE ${CMAKE_BINARY_DIR}/quovix_${QUOVIX_VERSION}_${QUOVIX_DEB_ARCH}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quovix)
set(CPACK_PACKAGE_VERSION ${QUOVIX_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quovix developers")
set(CPACK_PACKAGE_CONTACT ${QUOVIX_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3-D arcade game: steer a spaceship along a track")
set(CPACK_PACKAGE_DESCRIPTION [=[
Quovix is a single-player 3-D arcade game. The spaceship flies by itself
along a track built from a small picture, one pixel a tile. Steer it, jump
gaps and walls, collect stars and hearts, and get through five levels to
the summary screen.

Levels are pictures drawn in any paint program: the level tool,
quovix-level, checks them and turns a PNG into the picture the game plays.]=])
set(CPACK_DEBIAN_FILE_NAME quovix_${QUOVIX_VERSION}_${QUOVIX_DEB_ARCH}.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QUOVIX_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# the launcher tells a desktop player why a game could not start through a notification
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libnotify-bin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
