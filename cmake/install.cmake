# What `cmake --install` puts where. The application folder is self-contained, as the program
# expects: <prefix>/lib/zbxedit/ holds the program, INC/ZBX.INI, INC/MPASMWIN.EXE and
# INC/EXTERNAL PROGRAMS/GLYPHCAST.EXE, and the user drops the compiler KALTOR_PL.EXE beside the
# program. <prefix>/bin/zbxedit starts it; the desktop entry, the file types, the icons and the
# AppStream metadata go to <prefix>/share. The default prefix is the user's own ~/.local.
# A build folder made before installing was possible holds CMake's own default, /usr/local; it
# is moved to ~/.local once as well.
if(DEFINED ENV{HOME} AND NOT ZBX_PREFIX_DEFAULTED
   AND (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()
set(ZBX_PREFIX_DEFAULTED ON CACHE INTERNAL "The install prefix was given its default once")

set(ZBX_INSTALL_APP lib/zbxedit)
set(ZBX_DESKTOP_SOURCE ${PROJECT_SOURCE_DIR}/data/desktop)

# Remember the prefix of this installation (--prefix may differ from the configured one), so
# that the uninstall target removes empty folders up to it and no further.
install(CODE "file(WRITE \"${CMAKE_BINARY_DIR}/install_prefix.txt\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")")

install(TARGETS zbxedit RUNTIME DESTINATION ${ZBX_INSTALL_APP})
install(FILES ${PROJECT_SOURCE_DIR}/data/INC/ZBX.INI DESTINATION ${ZBX_INSTALL_APP}/INC)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/INC/MPASMWIN.EXE DESTINATION ${ZBX_INSTALL_APP}/INC)
install(TARGETS glyphcast RUNTIME DESTINATION "${ZBX_INSTALL_APP}/INC/EXTERNAL PROGRAMS")
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/desktop/zbxedit-launcher RENAME zbxedit DESTINATION bin)

# The desktop entry names the launcher by its full path, which is known only at install time.
install(CODE "
    set(ZBX_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/zbxedit\")
    configure_file(\"${ZBX_DESKTOP_SOURCE}/${ZBX_APP_ID}.desktop.in\"
                   \"${CMAKE_BINARY_DIR}/desktop/${ZBX_APP_ID}.desktop\" @ONLY)
    file(INSTALL \"${CMAKE_BINARY_DIR}/desktop/${ZBX_APP_ID}.desktop\"
         DESTINATION \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")")
install(FILES ${ZBX_DESKTOP_SOURCE}/${ZBX_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${ZBX_DESKTOP_SOURCE}/${ZBX_APP_ID}.mime.xml RENAME ${ZBX_APP_ID}.xml DESTINATION share/mime/packages)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION share/icons/hicolor)

# The desktop learns of the new file types and entry when its caches are refreshed; the tools
# are optional (a desktop without them reads the files directly).
install(CODE "
    set(share \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/desktop_caches.cmake\")
    zbx_refresh_desktop_caches(\"\${share}\")")

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DBINARY_DIR=${CMAKE_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake
    COMMENT "Removing what the last install put into its prefix" VERBATIM)
