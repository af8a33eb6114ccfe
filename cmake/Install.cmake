# Where an installed Vandra puts its files: the programs in bin/ (the agent beside
# vandra, where the login item looks for it), the helpers in
# libexec/vandra/ (the program looks there beside its own folder), and the desktop's
# files (entry, metainfo, icons, polkit action) where the desktop looks for them.
include(GNUInstallDirs)

set(VANDRA_HELPER_DIR "${CMAKE_INSTALL_LIBEXECDIR}/vandra")
set(VANDRA_PRIVILEGED_HELPER_PATH "${CMAKE_INSTALL_FULL_LIBEXECDIR}/vandra/vandra-privileged-helper")

foreach(program vandra vandractl vandra-agent)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
foreach(helper vandra-helper vandra-privileged-helper)
    if(TARGET ${helper})
        install(TARGETS ${helper} RUNTIME DESTINATION ${VANDRA_HELPER_DIR})
    endif()
endforeach()

set(share "${CMAKE_SOURCE_DIR}/share")
install(FILES "${share}/applications/org.vandra.Vandra.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${share}/metainfo/org.vandra.Vandra.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES "${share}/icons/app/vandra-${size}.png"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME org.vandra.Vandra.png)
endforeach()
install(FILES "${share}/icons/app/vandra.svg" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME org.vandra.Vandra.svg)
# The program's own icons for names the freedesktop theme lacks.
install(DIRECTORY "${share}/icons/" DESTINATION ${CMAKE_INSTALL_DATADIR}/vandra/icons
        FILES_MATCHING PATTERN "*.svg" PATTERN "*.png" PATTERN "app" EXCLUDE)
if(EXISTS "${share}/help")
    install(DIRECTORY "${share}/help/" DESTINATION ${CMAKE_INSTALL_DATADIR}/vandra/help)
endif()

configure_file("${share}/polkit/org.vandra.Vandra.policy.in" "${CMAKE_BINARY_DIR}/org.vandra.Vandra.policy" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/org.vandra.Vandra.policy" DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions)

# A Debian package: cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr.
set(CPACK_PACKAGE_NAME vandra)
set(CPACK_PACKAGE_VENDOR "The Vandra developers")
set(CPACK_PACKAGE_CONTACT "The Vandra developers <vandra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for launchd background jobs")
set(CPACK_PACKAGE_DESCRIPTION "Vandra lists, creates and edits launch agents and daemons, login items and
startup items, with a command-line companion for scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Drawn icons need the SVG plug-in and the freedesktop theme; pkexec asks for the password.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec")
include(CPack)
