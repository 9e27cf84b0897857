# Installs Quovix the way Debian lays out its games, and makes its two Debian
# packages with CPack (`cpack -G DEB` in the build folder):
#   quovix       /usr/games/quovix          the launcher: the player's folder, then the game
#                /usr/games/quovix-level, quovix-solve   the level maker's tools
#                /usr/lib/games/quovix/     the game and its helpers
#                with the desktop entry, AppStream metadata and manual pages
#   quovix-data  /usr/share/games/quovix/resources/  models, picture sets, sounds and levels
#                with the icons: the same on every architecture
# each with its own licence and changelog.

set(QUOVIX_RELEASE_DATE 2026-12-08)
set(QUOVIX_ID org.quovix.Quovix)
set(QUOVIX_MAINTAINER "The Quovix developers <developers@quovix.org>")
set(QUOVIX_HOMEPAGE https://quovix.org/)

set(QUOVIX_INSTALL_GAMES games)
set(QUOVIX_INSTALL_LIB lib/games/quovix)
set(QUOVIX_INSTALL_RESOURCES share/games/quovix/resources)
set(QUOVIX_INSTALL_DOC share/doc)
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
# the tools run from any folder as they are, so the commands lead straight to them
set(QUOVIX_TOOLS quovix-level quovix-solve)
foreach(_tool ${QUOVIX_TOOLS})
  file(CREATE_LINK ${QUOVIX_LAUNCHER_TO_LIB}/${_tool} ${_pkg_out}/${_tool} SYMBOLIC)
endforeach()

configure_file(${_pkg_source}/quovix.desktop.in ${_pkg_out}/${QUOVIX_ID}.desktop @ONLY)
configure_file(${_pkg_source}/quovix.metainfo.xml.in ${_pkg_out}/${QUOVIX_ID}.metainfo.xml @ONLY)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE QUOVIX_LICENSE_TEXT)
configure_file(${_pkg_source}/copyright.in ${_pkg_out}/copyright @ONLY)

# Debian wants the changelog and the manual pages gzipped at most, without a time stamp.
execute_process(COMMAND date -R -u -d "${QUOVIX_RELEASE_DATE} 00:00:00"
                OUTPUT_VARIABLE QUOVIX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(_page changelog quovix.6 quovix-level.6 quovix-solve.6)
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
  install(FILES ${_icon} DESTINATION share/icons/hicolor/${_size}x${_size}/apps COMPONENT data)
endforeach()
add_custom_target(quovix_icons ALL DEPENDS ${_pkg_icons})

install(PROGRAMS ${_pkg_out}/quovix DESTINATION ${QUOVIX_INSTALL_GAMES} COMPONENT game)
list(TRANSFORM QUOVIX_TOOLS PREPEND ${_pkg_out}/ OUTPUT_VARIABLE _tool_links)
install(FILES ${_tool_links} DESTINATION ${QUOVIX_INSTALL_GAMES} COMPONENT game)
set(_pkg_programs quovix quovix-level quovix-solve quovix-gen-pictures quovix-screen)
install(TARGETS ${_pkg_programs} RUNTIME DESTINATION ${QUOVIX_INSTALL_LIB} COMPONENT game)
# stripped as Debian strips them: the compilers' names and bare notes go too
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  foreach(_program ${_pkg_programs})
    execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
                            \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUOVIX_INSTALL_LIB}/\${_program})
  endforeach()
endif()" COMPONENT game)

# Every resource the build makes, named one by one: a picture set made for a
# developer's own screen stays out of the package.
set(_pkg_resources ${QUOVIX_RESOURCES_DIR}/${QUOVIX_WINDOW_ICON})
foreach(_file ${QUOVIX_MODELS})
  list(APPEND _pkg_resources ${QUOVIX_RESOURCES_DIR}/${_file})
endforeach()
foreach(_level ${QUOVIX_LEVELS})
  list(APPEND _pkg_resources ${QUOVIX_RESOURCES_DIR}/${_level}.bmp)
endforeach()
install(FILES ${_pkg_resources} DESTINATION ${QUOVIX_INSTALL_RESOURCES} COMPONENT data)
foreach(_world ${QUOVIX_WORLDS})
  set(_files ${QUOVIX_WORLD_FILES})
  list(FILTER _files INCLUDE REGEX "^worlds/${_world}/")
  list(TRANSFORM _files PREPEND ${QUOVIX_RESOURCES_DIR}/)
  install(FILES ${_files} DESTINATION ${QUOVIX_INSTALL_RESOURCES}/worlds/${_world} COMPONENT data)
endforeach()
list(TRANSFORM QUOVIX_SOUNDS PREPEND ${QUOVIX_RESOURCES_DIR}/sounds/ OUTPUT_VARIABLE _sounds)
install(FILES ${_sounds} DESTINATION ${QUOVIX_INSTALL_RESOURCES}/sounds COMPONENT data)
foreach(_set ${QUOVIX_PICTURE_SETS})
  list(TRANSFORM QUOVIX_PICTURES PREPEND ${QUOVIX_RESOURCES_DIR}/${_set}/ OUTPUT_VARIABLE _pictures)
  install(FILES ${_pictures} DESTINATION ${QUOVIX_INSTALL_RESOURCES}/${_set} COMPONENT data)
endforeach()

# The desktop entry and the metadata name the command, so they go with it, as the
# manual pages do; the icons they name are data.
install(FILES ${_pkg_out}/${QUOVIX_ID}.desktop DESTINATION share/applications COMPONENT game)
install(FILES ${_pkg_out}/${QUOVIX_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT game)
install(FILES ${_pkg_out}/quovix.6.gz ${_pkg_out}/quovix-level.6.gz ${_pkg_out}/quovix-solve.6.gz
        DESTINATION share/man/man6 COMPONENT game)

# The two packages: the game for one architecture, its data for all. The game's
# dependencies are the libraries its programs link, as dpkg-shlibdeps finds them,
# and the data of exactly its own version.
find_program(QUOVIX_DPKG dpkg)
if(QUOVIX_DPKG)
  execute_process(COMMAND ${QUOVIX_DPKG} --print-architecture
                  OUTPUT_VARIABLE QUOVIX_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  set(QUOVIX_DEB_ARCH amd64)
endif()
set(QUOVIX_PACKAGE_FILE ${CMAKE_BINARY_DIR}/quovix_${QUOVIX_VERSION}_${QUOVIX_DEB_ARCH}.deb)
set(QUOVIX_DATA_PACKAGE_FILE ${CMAKE_BINARY_DIR}/quovix-data_${QUOVIX_VERSION}_all.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quovix)
set(CPACK_PACKAGE_VERSION ${QUOVIX_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quovix developers")
set(CPACK_PACKAGE_CONTACT ${QUOVIX_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${QUOVIX_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data)
set(_pkg_about [=[
Quovix is a single-player 3-D arcade game. The spaceship flies by itself
along a track built from a small picture, one pixel a tile. Steer it, jump
gaps and walls, collect stars and hearts, and get through five levels to
the summary screen.]=])
set(CPACK_DEBIAN_GAME_DESCRIPTION "3-D arcade game: steer a spaceship along a track
${_pkg_about}

Levels are pictures drawn in any paint program: the level tool,
quovix-level, checks them and turns a PNG into the picture the game plays,
and quovix-solve finds the keys that bring the ship to a level's finish.")
set(CPACK_DEBIAN_DATA_DESCRIPTION "3-D arcade game: steer a spaceship along a track (data)
${_pkg_about}

This package holds the game's models, pictures, sounds, levels and icons.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME quovix)
set(CPACK_DEBIAN_DATA_PACKAGE_NAME quovix-data)
foreach(_component game data)
  string(TOUPPER ${_component} _upper)
  install(FILES ${_pkg_out}/copyright ${_pkg_out}/changelog.gz
          DESTINATION ${QUOVIX_INSTALL_DOC}/${CPACK_DEBIAN_${_upper}_PACKAGE_NAME} COMPONENT ${_component})
endforeach()
set(CPACK_DEBIAN_GAME_PACKAGE_ARCHITECTURE ${QUOVIX_DEB_ARCH})
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "quovix-data (= ${QUOVIX_VERSION})")
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# the launcher tells a desktop player why a game could not start through a notification
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS libnotify-bin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
