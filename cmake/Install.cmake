# What `cmake --install` puts on a desktop system, and the Debian package that
# CPack makes of it. The program itself is installed by app/CMakeLists.txt.
# One id names the launcher and the AppStream entry; the icon is called plitar.
include(GNUInstallDirs)
set(PLITAR_APP_ID io.github.plitar.Plitar)
set(PLITAR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/assets/desktop)

install(FILES ${PLITAR_DESKTOP_DIR}/${PLITAR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PLITAR_DESKTOP_DIR}/${PLITAR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Every size the artwork provides: <N>x<N>/apps/plitar.png and scalable/apps/plitar.svg.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN plitar.png PATTERN plitar.svg)
# The tile glyphs are drawn from outlines under the Arphic Public License,
# which asks that the licence travel with every copy.
install(FILES ${PROJECT_SOURCE_DIR}/assets/glyphs/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME LICENSE.glyphs)

# The Debian package: `cpack --config <build>/CPackConfig.cmake` in the build folder.
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
# The dependencies are those of the libraries the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the X11 platform plugin at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile-matching solitaire with the 144-tile Chinese set")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
Плитар (Plitar) is a single-window solitaire for the desktop: tiles lie
stacked in up to ten layers on one of 46 layouts; click two free tiles with
matching faces to take them off, and empty the board to win.
.
The game speaks Russian. It keeps no settings, reads no files and needs no
network.")
include(CPack)

