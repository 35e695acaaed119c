# cmake -DCODES="fr en ..." -DSOURCE=web/shell.html -P shell.cmake, in the folder of each
# language's help.LANG.html and texts.LANG.strings (msgcat's string table of the page's
# texts): writes shell.html, the page's shell with the help page of each language in a
# <template id="help-LANG"> (@help_pages@) and the texts of each as a JavaScript object
# from the text to its translation (@page_texts@, read by web/start.js).
separate_arguments(codes UNIX_COMMAND "${CODES}")
foreach(lang ${codes})
  if(EXISTS help.${lang}.html)
    file(READ help.${lang}.html page)
    string(APPEND help_pages "<template id=\"help-${lang}\">${page}</template>\n")
  endif()
  # The table's lines, "text" = "translation"; (with C's escapes, which are JavaScript's),
  # become an object's properties; its byte order mark, comments and header go.
  file(READ texts.${lang}.strings table)
  string(REGEX REPLACE "^[^/\"]+|/\\*[^*]*\\*/\n?|\"\" = [^\n]*\n" "" table "${table}")
  string(REPLACE "\" = \"" "\": \"" table "${table}")
  string(REPLACE "\";\n" "\",\n" table "${table}")
  string(APPEND page_texts "\"${lang}\": {${table}},\n")
endforeach()
configure_file(${SOURCE} shell.html @ONLY)
