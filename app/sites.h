// Well-known Foucault pendulums and the two poles: the places a lesson can start at
// (--place KEY, or ?place=KEY in the page's address).
#pragma once

struct Site {
  const char* key;     // the word an option or an address gives: lower case, no blank
  const char* name;    // the place as its own country writes it (UTF-8)
  double latitude;     // degrees, north positive
  const char* source;  // where that latitude comes from
};

// The table, in the order a list of them shows; site_count entries.
extern const Site sites[];
extern const int site_count;

// The site whose key is key, or nullptr.
const Site* find_site(const char* key);
