# Installation and the Debian package.
#
# cmake --install lays out, under its prefix:
#   bin/foucault                                   the program
#   share/foucault/help.html                       its help page
#   lib/foucault/launch                            what the desktop entry runs
#   lib/foucault/bin/open                          the "open" its help entry calls
#   share/applications/org.example.foucault.desktop
#   share/icons/hicolor/256x256/apps/org.example.foucault.png
#   share/metainfo/org.example.foucault.metainfo.xml
#   share/man/man1/foucault.1.gz, share/doc/foucault/{copyright,changelog.gz}
# The help entry runs "open ./help.html  with Safari" in the folder the program was
# started in, so the desktop entry starts it in share/foucault (Path=) through
# lib/foucault/launch, which puts lib/foucault/bin first on PATH. The entry names those
# folders with the prefix, which cmake --install may choose (--prefix), so it is written
# at install time.
#
# cpack -G DEB (in the build folder) makes foucault_<version>_<arch>.deb for /usr, its
# Depends worked out by dpkg-shlibdeps from the libraries the program links.
if(NOT TARGET foucault)
  return()
endif()

set(FOUCAULT_APP_ID org.example.foucault)
set(FOUCAULT_PKG_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian wants the manual page and the changelog compressed with gzip -9n (no name, no
# time stamp, so that the same source gives the same bytes).
find_program(FOUCAULT_GZIP gzip REQUIRED)
set(foucault_gzipped)
foreach(doc foucault.1 changelog)
  add_custom_command(OUTPUT ${FOUCAULT_PKG_DIR}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/${doc} ${FOUCAULT_PKG_DIR}/${doc}
    COMMAND ${FOUCAULT_GZIP} -9nf ${FOUCAULT_PKG_DIR}/${doc}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${doc}
    COMMENT "Compressing packaging/${doc}"
    VERBATIM)
  list(APPEND foucault_gzipped ${FOUCAULT_PKG_DIR}/${doc}.gz)
endforeach()
add_custom_target(foucault_packaging_docs ALL DEPENDS ${foucault_gzipped})

install(TARGETS foucault RUNTIME DESTINATION bin)
install(FILES help.html DESTINATION share/foucault)
install(PROGRAMS packaging/launch DESTINATION lib/foucault)
install(PROGRAMS packaging/open DESTINATION lib/foucault/bin)
install(FILES packaging/foucault.png DESTINATION share/icons/hicolor/256x256/apps
        RENAME ${FOUCAULT_APP_ID}.png)
install(FILES packaging/${FOUCAULT_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${FOUCAULT_PKG_DIR}/foucault.1.gz DESTINATION share/man/man1)
install(FILES packaging/copyright ${FOUCAULT_PKG_DIR}/changelog.gz DESTINATION share/doc/foucault)

# The desktop entry, with the prefix of this installation. Each installation writes its
# own copy (in a folder named after where it goes) so that two at once do not meet.
install(CODE "
  get_filename_component(FOUCAULT_PREFIX \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
  string(MD5 foucault_tag \"\$ENV{DESTDIR}\${FOUCAULT_PREFIX}\")
  set(foucault_tmp \"${FOUCAULT_PKG_DIR}/\${foucault_tag}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/${FOUCAULT_APP_ID}.desktop.in\"
                 \"\${foucault_tmp}/${FOUCAULT_APP_ID}.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
       FILES \"\${foucault_tmp}/${FOUCAULT_APP_ID}.desktop\")
  file(REMOVE_RECURSE \"\${foucault_tmp}\")
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME foucault)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "foucault project")
set(CPACK_PACKAGE_CONTACT "foucault packaging <paquets@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom simulator of a Foucault pendulum")
set(CPACK_PACKAGE_DESCRIPTION
  "A real-time 3-D teaching simulator of a Foucault pendulum. The Earth
turns under its sky, a pendulum swings at a chosen latitude, and the trace
of its bob shows the plane of swing turning at Omega sin(latitude):
clockwise in the north, the other way in the south, not at all on the
equator. Latitude, the Earth's rate, the release, the viewpoint and the
frame of reference are chosen from a right-button menu, keys and the
mouse. Its texts and its help page are in French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/pendule)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help page opens through xdg-open when it is there; without it the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
