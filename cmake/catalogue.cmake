# The catalogue of the program's texts. Included at the top, before the libraries:
#   foucault_xgettext   xgettext's command that extracts the texts marked in the code (tr,
#                       and N_ in tables) into a template, run from the project root; the
#                       target "pot" writes po/foucault.pot with it, tests/texts checks it
#   foucault_linguas    the languages of po/LINGUAS
#   foucault_catalogues(VAR)  in render: compiles each po/LANG.po (msgfmt --check), and
#                       the pseudo-language's, and embeds the .mo files in a generated C++
#                       source, named in VAR
#   foucault_pseudo(VAR)  makes qps.po, the pseudo-language of the tests (scripts/pseudo.py),
#                       which the program can be given but does not list; VAR: the PO files
#                       of po/LINGUAS's languages, then qps.po, in foucault_codes's order
#   foucault_codes      those languages' codes, then qps
#   foucault_help_pages(DIR VAR)  makes DIR/help.LANG.html for each language, named in VAR:
#                       help.html with po/LANG.po merged (msgfmt --xml, by po/its/help.its)
#                       and put in order by po/help.xsl, its <html lang> the language's
find_program(FOUCAULT_XGETTEXT xgettext REQUIRED)  # package gettext
find_program(FOUCAULT_MSGFMT msgfmt REQUIRED)
find_program(FOUCAULT_MSGGREP msggrep REQUIRED)
find_program(FOUCAULT_MSGCAT msgcat REQUIRED)
find_program(FOUCAULT_XSLTPROC xsltproc REQUIRED)
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

set(foucault_codes ${foucault_linguas} qps)

function(foucault_pseudo var)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(OUTPUT qps.po
    COMMAND Python3::Interpreter scripts/pseudo.py ${CMAKE_CURRENT_BINARY_DIR}/qps.po po/foucault.pot po/docs.pot
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/pseudo.py ${PROJECT_SOURCE_DIR}/po/foucault.pot
            ${PROJECT_SOURCE_DIR}/po/docs.pot WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
  list(TRANSFORM foucault_linguas PREPEND ${PROJECT_SOURCE_DIR}/po/ OUTPUT_VARIABLE files)
  list(TRANSFORM files APPEND .po)
  set(${var} ${files} ${CMAKE_CURRENT_BINARY_DIR}/qps.po PARENT_SCOPE)
endfunction()

function(foucault_catalogues var)
  set(po ${PROJECT_SOURCE_DIR}/po)
  foucault_pseudo(sources)
  foreach(lang source IN ZIP_LISTS foucault_codes sources)
    # The program's own texts alone (the help page's and the menu entry's are installed
    # beside it), little-endian whatever the build machine: render/texts.cpp reads it so.
    add_custom_command(OUTPUT ${lang}.mo
      COMMAND ${FOUCAULT_MSGGREP} -N sim/* -N render/* -N app/* -o ${lang}.program.po ${source}
      COMMAND ${FOUCAULT_MSGFMT} --check --endianness=little -o ${lang}.mo ${lang}.program.po
      DEPENDS ${source} VERBATIM)
    list(APPEND mo ${lang}.mo)
  endforeach()
  string(REPLACE ";" " " codes "${foucault_linguas}")
  add_custom_command(OUTPUT catalogues.cpp
    COMMAND ${CMAKE_COMMAND} "-DCODES=${codes}" -DOUT=catalogues.cpp -P ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${mo} ${PROJECT_SOURCE_DIR}/cmake/embed.cmake ${po}/LINGUAS VERBATIM)
  set(${var} ${CMAKE_CURRENT_BINARY_DIR}/catalogues.cpp PARENT_SCOPE)
endfunction()

function(foucault_help_pages dir var)
  set(po ${PROJECT_SOURCE_DIR}/po)
  foreach(lang ${foucault_linguas})
    set(page ${dir}/help.${lang}.html)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E env GETTEXTDATADIRS=${po} ${FOUCAULT_MSGFMT} --xml
              --template=${PROJECT_SOURCE_DIR}/help.html -l ${lang} ${po}/${lang}.po -o ${page}.merged
      COMMAND ${FOUCAULT_XSLTPROC} --stringparam lang ${lang} -o ${page} ${po}/help.xsl ${page}.merged
      DEPENDS ${PROJECT_SOURCE_DIR}/help.html ${po}/${lang}.po ${po}/help.xsl ${po}/its/help.its
              ${po}/its/help.loc VERBATIM)
    list(APPEND pages ${page})
  endforeach()
  set(${var} ${pages} PARENT_SCOPE)
endfunction()
