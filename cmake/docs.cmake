# The help page, the desktop entry and the metainfo in the languages of po/LINGUAS, made
# from po/LANG.po by gettext's msgfmt (packages gettext and xsltproc), into FOUCAULT_PKG_DIR
# (cmake/packaging.cmake includes this and installs them):
#   help.LANG.html  help.html with po/LANG.po merged (msgfmt --xml, by po/its/help.its)
#                   and put in order by po/help.xsl, its <html lang> the language's; the
#                   French texts stay where LANG.po leaves them untranslated
#   org.example.foucault.desktop.in and .metainfo.xml  with every language's translations
#                   beside the French (msgfmt --desktop and --xml on po/ as a whole)
# scripts/extract-docs.sh extracts their texts into po/docs.pot.
# FOUCAULT_MSGFMT and foucault_linguas come from cmake/catalogue.cmake.
find_program(FOUCAULT_XSLTPROC xsltproc REQUIRED)
set(po ${PROJECT_SOURCE_DIR}/po)
list(TRANSFORM foucault_linguas PREPEND ${po}/ OUTPUT_VARIABLE catalogues)
list(TRANSFORM catalogues APPEND .po)
set(msgfmt ${CMAKE_COMMAND} -E env GETTEXTDATADIRS=${po} ${FOUCAULT_MSGFMT})
foreach(lang ${foucault_linguas})
  set(page ${FOUCAULT_PKG_DIR}/help.${lang}.html)
  add_custom_command(OUTPUT ${page}
    COMMAND ${msgfmt} --xml --template=${PROJECT_SOURCE_DIR}/help.html -l ${lang}
            ${po}/${lang}.po -o ${page}.merged
    COMMAND ${FOUCAULT_XSLTPROC} --stringparam lang ${lang} -o ${page} ${po}/help.xsl ${page}.merged
    DEPENDS ${PROJECT_SOURCE_DIR}/help.html ${po}/${lang}.po ${po}/help.xsl ${po}/its/help.its
            ${po}/its/help.loc VERBATIM)
  list(APPEND foucault_help_pages ${page})
endforeach()
set(in ${PROJECT_SOURCE_DIR}/packaging/${FOUCAULT_APP_ID})
set(out ${FOUCAULT_PKG_DIR}/${FOUCAULT_APP_ID})
add_custom_command(OUTPUT ${out}.desktop.in
  COMMAND ${msgfmt} --desktop --template=${in}.desktop.in -d ${po} -o ${out}.desktop.in
  DEPENDS ${in}.desktop.in ${catalogues} ${po}/LINGUAS VERBATIM)
add_custom_command(OUTPUT ${out}.metainfo.xml
  COMMAND ${msgfmt} --xml --template=${in}.metainfo.xml -d ${po} -o ${out}.metainfo.xml
  DEPENDS ${in}.metainfo.xml ${catalogues} ${po}/LINGUAS VERBATIM)
add_custom_target(docs ALL DEPENDS ${foucault_help_pages} ${out}.desktop.in ${out}.metainfo.xml)
