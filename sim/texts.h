// The model's console texts, marked for the program's catalogue (po/) and given in the
// program's language. The model itself knows no languages.
#pragma once

// Marks a text for the catalogue where it stands in a table, to be looked up where it is used.
#define N_(msgid) msgid

// A console text in the program's language: the text itself unless the program sets it (to
// render/texts.h's tr).
extern const char* (*sim_text)(const char* msgid);
