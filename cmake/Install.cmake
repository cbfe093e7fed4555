# What `cmake --install` puts on a desktop system, and the Debian package that
# CPack makes of it. The program itself is installed by app/CMakeLists.txt.
# One id names the launcher and the AppStream entry; the icon is called plitar.
#
# `cmake --install` keeps the usual layout under its prefix (bin/, share/man,
# share/doc/plitar). The package moves what Debian's policy for games asks
# for into place while CPack stages it (cmake/DebianStage.cmake): the program
# to /usr/games, the manual pages compressed, the changelog and the copyright
# file added.
include(GNUInstallDirs)
set(PLITAR_APP_ID io.github.plitar.Plitar)
set(PLITAR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/assets/desktop)
set(PLITAR_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/packaging/debian)

install(FILES ${PLITAR_DESKTOP_DIR}/${PLITAR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PLITAR_DESKTOP_DIR}/${PLITAR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Every size the artwork provides: <N>x<N>/apps/plitar.png and scalable/apps/plitar.svg.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN plitar.png PATTERN plitar.svg)
# The manual page, a game's section 6, in English and in Russian.
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/plitar.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/plitar.ru.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man6 RENAME plitar.6)
# Both licences travel with every copy; the Arphic Public License of the tile
# glyph outlines asks for that in so many words.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/glyphs/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME LICENSE.glyphs)

# The Debian package: `cpack --config <build>/CPackConfig.cmake` in the build folder.
# Its version is the newest entry of the Debian changelog: the project's
# version and a Debian revision (1.0.0-1).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PLITAR_DEBIAN_DIR}/changelog)
file(STRINGS ${PLITAR_DEBIAN_DIR}/changelog PLITAR_DEBIAN_TOP LIMIT_COUNT 1)
if(NOT PLITAR_DEBIAN_TOP MATCHES "^plitar \\(([^)]+)-([^)-]+)\\) ")
  message(FATAL_ERROR "packaging/debian/changelog does not begin with an entry 'plitar (<version>-<revision>) ...'")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(WARNING "packaging/debian/changelog ends at version ${CMAKE_MATCH_1}, the project is at "
                  "${PROJECT_VERSION}: add an entry for it before making the package")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plitar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Plitar developers")
set(CPACK_PACKAGE_CONTACT "Plitar developers <plitar@example.org>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the libraries the program links, found by
# dpkg-shlibdeps, so a library the program gains is depended on by itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the X11 platform plugin at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The synopsis; CPack puts it on the Description line, the long text below it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile-matching solitaire with the 144-tile Chinese set")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Плитар (Plitar) is a single-window patience game for the desktop. The
tiles lie stacked in up to ten layers on one of 46 layouts; take off pairs
of free tiles with matching faces until the board is empty. A tile is free
when nothing lies on it and its left or its right side is open.
.
The tiles left can be shuffled by hand, or by the game itself whenever no
pair is open; blocked tiles can be shown in grey, and there are four tile
sizes. The game speaks Russian, keeps no settings, reads no files and needs
no network.")
# Puts the staged files where Debian wants them, just before CPack packs them.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianStage.cmake)
set(CPACK_PLITAR_DEBIAN_DIR ${PLITAR_DEBIAN_DIR})
set(CPACK_PLITAR_OBJCOPY ${CMAKE_OBJCOPY})
include(CPack)
