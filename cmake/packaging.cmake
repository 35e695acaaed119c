# Installation and the Debian package.
#
# cmake --install lays out, under its prefix:
#   bin/foucault                                   the program
#   share/foucault/help.html                       its help page, in French
#   share/foucault/help.LANG.html                  the same in each language of po/LINGUAS
#   lib/foucault/launch                            what the desktop entry runs
#   lib/foucault/bin/open                          the "open" its help entry calls
#   share/applications/org.example.foucault.desktop   in every language of po/LINGUAS
#   share/icons/hicolor/256x256/apps/org.example.foucault.png
#   share/metainfo/org.example.foucault.metainfo.xml  in every language too
#   share/man/man1/foucault.1.gz, share/doc/foucault/{copyright,changelog.gz}
#   share/man/LANG/man1/foucault.1.gz              the manual page in each other language
# The help entry runs "open ./help.html  with Safari" in the folder the program was
# started in, so the desktop entry starts it in share/foucault (Path=) through
# lib/foucault/launch, which puts lib/foucault/bin first on PATH. The entry names those
# folders with the prefix, which cmake --install may choose (--prefix), so it is written
# at install time. The pages, manual pages, entry and metainfo in other languages are made
# from po/ (cmake/docs.cmake).
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
# time stamp, so that the same source gives the same bytes); a change to either
# configures the build again.
file(MAKE_DIRECTORY ${FOUCAULT_PKG_DIR})
foreach(doc foucault.1 changelog)
  execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${doc}
                  OUTPUT_FILE ${FOUCAULT_PKG_DIR}/${doc}.gz COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/${doc})
endforeach()
include(cmake/docs.cmake)

install(TARGETS foucault RUNTIME DESTINATION bin)
install(FILES help.html ${foucault_help_pages} DESTINATION share/foucault)
install(PROGRAMS packaging/launch DESTINATION lib/foucault)
install(PROGRAMS packaging/open DESTINATION lib/foucault/bin)
install(FILES packaging/foucault.png DESTINATION share/icons/hicolor/256x256/apps
        RENAME ${FOUCAULT_APP_ID}.png)
install(FILES ${FOUCAULT_PKG_DIR}/${FOUCAULT_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${FOUCAULT_PKG_DIR}/foucault.1.gz DESTINATION share/man/man1)
foreach(lang ${foucault_man_langs})
  install(FILES ${FOUCAULT_PKG_DIR}/foucault.${lang}.1.gz DESTINATION share/man/${lang}/man1
          RENAME foucault.1.gz)
endforeach()
install(FILES packaging/copyright ${FOUCAULT_PKG_DIR}/changelog.gz DESTINATION share/doc/foucault)

# The desktop entry, written where it goes with the prefix of this installation (also
# under cpack's DESTDIR).
install(CODE "
  get_filename_component(FOUCAULT_PREFIX \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
  configure_file(\"${FOUCAULT_PKG_DIR}/${FOUCAULT_APP_ID}.desktop.in\"
    \"\$ENV{DESTDIR}\${FOUCAULT_PREFIX}/share/applications/${FOUCAULT_APP_ID}.desktop\" @ONLY)
")

set(CPACK_PACKAGE_CONTACT "foucault packaging <paquets@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom simulator of a Foucault pendulum")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/pendule)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help page opens through xdg-open when it is there; without it the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
