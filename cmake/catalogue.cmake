# The catalogue of the program's texts. Included at the top, before the libraries:
#   foucault_xgettext   xgettext's command that extracts the texts marked in the code (tr,
#                       and N_ in tables) into a template, run from the project root; the
#                       target "pot" writes po/foucault.pot with it, tests/texts checks it
#   foucault_linguas    the languages of po/LINGUAS
#   foucault_catalogues(VAR)  in render: compiles each po/LANG.po (msgfmt --check) and
#                       embeds the .mo files in a generated C++ source, named in VAR
find_program(FOUCAULT_XGETTEXT xgettext REQUIRED)  # package gettext
find_program(FOUCAULT_MSGFMT msgfmt REQUIRED)
find_program(FOUCAULT_MSGGREP msggrep REQUIRED)
file(GLOB foucault_marked RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/sim/*.cpp ${PROJECT_SOURCE_DIR}/render/*.cpp
     ${PROJECT_SOURCE_DIR}/app/*.cpp)
set(foucault_xgettext ${FOUCAULT_XGETTEXT} --language=C++ --from-code=UTF-8 --keyword=tr
    --keyword=N_ --add-comments=TRANSLATORS: --package-name=foucault
    --msgid-bugs-address=pendule@example.org ${foucault_marked})
file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS foucault_linguas REGEX "^[^#]")
string(REPLACE " " ";" foucault_linguas "${foucault_linguas}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/LINGUAS)
add_custom_target(pot COMMAND ${foucault_xgettext} -o po/foucault.pot
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)

function(foucault_catalogues var)
  set(po ${PROJECT_SOURCE_DIR}/po)
  foreach(lang ${foucault_linguas})
    # The program's own texts alone (the help page's and the menu entry's are installed
    # beside it), little-endian whatever the build machine: render/texts.cpp reads it so.
    add_custom_command(OUTPUT ${lang}.mo
      COMMAND ${FOUCAULT_MSGGREP} -N sim/* -N render/* -N app/* -o ${lang}.po ${po}/${lang}.po
      COMMAND ${FOUCAULT_MSGFMT} --check --endianness=little -o ${lang}.mo ${lang}.po
      DEPENDS ${po}/${lang}.po VERBATIM)
    list(APPEND mo ${lang}.mo)
  endforeach()
  string(REPLACE ";" " " codes "${foucault_linguas}")
  add_custom_command(OUTPUT catalogues.cpp
    COMMAND ${CMAKE_COMMAND} "-DCODES=${codes}" -DOUT=catalogues.cpp -P ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${mo} ${PROJECT_SOURCE_DIR}/cmake/embed.cmake ${po}/LINGUAS VERBATIM)
  set(${var} ${CMAKE_CURRENT_BINARY_DIR}/catalogues.cpp PARENT_SCOPE)
endfunction()
