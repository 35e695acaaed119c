# The help page, the desktop entry and the metainfo in the languages of po/LINGUAS, made
# from po/LANG.po by gettext's msgfmt (packages gettext and xsltproc), into FOUCAULT_PKG_DIR
# (cmake/packaging.cmake includes this and installs them):
#   help.LANG.html  the help page in each language (foucault_help_pages); the French
#                   texts stay where LANG.po leaves them untranslated
#   org.example.foucault.desktop.in and .metainfo.xml  with every language's translations
#                   beside the French (msgfmt --desktop and --xml on po/ as a whole)
#   foucault.LANG.1.gz  the manual page, packaging/foucault.1, in each language but English,
#                   its own (po4a-translate, package po4a, then gzip -9n as Debian wants it)
# scripts/extract-docs.sh extracts their texts into po/docs.pot.
# FOUCAULT_MSGFMT, foucault_linguas and foucault_help_pages() come from cmake/catalogue.cmake.
set(po ${PROJECT_SOURCE_DIR}/po)
list(TRANSFORM foucault_linguas PREPEND ${po}/ OUTPUT_VARIABLE catalogues)
list(TRANSFORM catalogues APPEND .po)
set(msgfmt ${CMAKE_COMMAND} -E env GETTEXTDATADIRS=${po} ${FOUCAULT_MSGFMT})
foucault_help_pages(${FOUCAULT_PKG_DIR} foucault_help_pages)
set(in ${PROJECT_SOURCE_DIR}/packaging/${FOUCAULT_APP_ID})
set(out ${FOUCAULT_PKG_DIR}/${FOUCAULT_APP_ID})
add_custom_command(OUTPUT ${out}.desktop.in
  COMMAND ${msgfmt} --desktop --template=${in}.desktop.in -d ${po} -o ${out}.desktop.in
  DEPENDS ${in}.desktop.in ${catalogues} ${po}/LINGUAS VERBATIM)
add_custom_command(OUTPUT ${out}.metainfo.xml
  COMMAND ${msgfmt} --xml --template=${in}.metainfo.xml -d ${po} -o ${out}.metainfo.xml
  DEPENDS ${in}.metainfo.xml ${catalogues} ${po}/LINGUAS VERBATIM)
find_program(FOUCAULT_PO4A_TRANSLATE po4a-translate REQUIRED)
set(foucault_man_langs ${foucault_linguas})
list(REMOVE_ITEM foucault_man_langs en)
foreach(lang ${foucault_man_langs})
  # -k 0: written whatever share of it LANG.po translates (tests/texts checks it all).
  set(page ${FOUCAULT_PKG_DIR}/foucault.${lang}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${FOUCAULT_PO4A_TRANSLATE} -f man -m packaging/foucault.1 -p ${po}/${lang}.po -l ${page}
            -k 0 -M UTF-8 -L UTF-8
    COMMAND gzip -9nf ${page}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/foucault.1 ${po}/${lang}.po
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
  list(APPEND foucault_man_pages ${page}.gz)
endforeach()
add_custom_target(docs ALL DEPENDS ${foucault_help_pages} ${out}.desktop.in ${out}.metainfo.xml
                  ${foucault_man_pages})
