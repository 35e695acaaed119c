# cmake -DCODES="fr en ..." -DOUT=catalogues.cpp -P embed.cmake, in the folder of the
# languages' .mo files: writes OUT, a C++ source holding them as bytes, in CODES's order,
# then the pseudo-language qps's, with their codes (read by render/texts.cpp).
separate_arguments(codes UNIX_COMMAND "${CODES} qps")
set(out "// Made by cmake/embed.cmake from the compiled po/*.po files: do not edit.\n")
foreach(lang ${codes})
  file(READ ${lang}.mo hex HEX)
  string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
  string(APPEND out "static const unsigned char mo_${lang}[] = {${bytes}};\n")
  list(APPEND names "\"${lang}\"")
  list(APPEND arrays mo_${lang})
endforeach()
list(LENGTH codes count)
string(JOIN ", " names ${names})
string(JOIN ", " arrays ${arrays})
string(APPEND out "extern const int catalogue_count = ${count};\n"
  "extern const char* const catalogue_codes[] = {${names}};\n"
  "extern const unsigned char* const catalogue_bytes[] = {${arrays}};\n"
  "extern const char* const languages = \"${CODES}\";\n")
file(WRITE ${OUT} "${out}")
