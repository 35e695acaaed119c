// The program's texts in the chosen language. Each text is marked in the code with its
// default, which is its key in the catalogue (po/foucault.pot); the languages' translations
// (po/LANG.po) are compiled into the program, so nothing is looked for on the machine.
#pragma once

#include "sim/texts.h"  // N_, which marks a text in a table

#include <string>

// The catalogue's language codes as po/LINGUAS lists them, separated by blanks.
extern const char* const languages;

// Chooses the language of code (one of languages); any other code, "" included, chooses the
// default, the texts as the code writes them, and returns false.
bool set_language(const char* code);

// The chosen language's code, "" for the default.
const char* language_code();

// msgid in the chosen language (UTF-8), or msgid itself when the default is chosen or the
// language has no translation for it. A format keeps its conversions in every language.
const char* tr(const char* msgid) __attribute__((format_arg(1)));

// UTF-8 text as the Latin-1 bytes of GLUT's bitmap fonts. A letter they lack is written as
// its language writes it without: oe for the ligature, ' and " for curly quotes, EUR, ...,
// a hyphen for dashes, a blank for narrow and thin spaces; anything else becomes '?'.
std::string latin1(const char* text);
