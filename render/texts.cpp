// The catalogue's lookup in the chosen language's compiled catalogue (a GNU .mo file, embedded
// by cmake/embed.cmake), and the Latin-1 spelling of a text for GLUT's bitmap fonts.
#include "render/texts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// From the generated catalogues.cpp: the codes and .mo bytes of po/LINGUAS's languages.
extern const int catalogue_count;
extern const char* const catalogue_codes[];
extern const unsigned char* const catalogue_bytes[];

namespace {

const unsigned char* chosen = nullptr;  // the chosen language's .mo bytes; none by default
const char* chosen_code = "";

// A .mo file begins with its magic number, its number of texts, and the offsets of two tables
// of (length, offset) pairs: the texts sorted by their bytes, and their translations.
constexpr uint32_t mo_magic = 0x950412de;

// The 32-bit word at byte offset at, written little-endian (msgfmt --endianness=little).
uint32_t word(const unsigned char* mo, uint32_t at) {
  return mo[at] | mo[at + 1] << 8 | mo[at + 2] << 16 | uint32_t{mo[at + 3]} << 24;
}

// Entry i of the table at offset table.
const char* entry(uint32_t table, uint32_t i) {
  return reinterpret_cast<const char*>(chosen + word(chosen, word(chosen, table) + 8 * i + 4));
}

}  // namespace

bool set_language(const char* code) {
  chosen = nullptr;
  chosen_code = "";
  for (int i = 0; i < catalogue_count; ++i) {
    if (std::strcmp(code, catalogue_codes[i]) == 0 && word(catalogue_bytes[i], 0) == mo_magic) {
      chosen = catalogue_bytes[i];
      chosen_code = catalogue_codes[i];
    }
  }
  return chosen != nullptr;
}

const char* language_code() {
  return chosen_code;
}

const char* tr(const char* msgid) {
  uint32_t low = 0, high = chosen != nullptr ? word(chosen, 8) : 0;
  while (low < high) {  // binary search of the sorted texts (table at offset 12)
    const uint32_t middle = low + (high - low) / 2;
    const int order = std::strcmp(msgid, entry(12, middle));
    if (order == 0) return entry(16, middle);
    if (order < 0) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return msgid;
}

std::string latin1(const char* text) {
  struct Spelling {
    char32_t letter;
    const char* latin1;
  };
  static const Spelling spellings[] = {{U'\u0152', "OE"},  {U'\u0153', "oe"},  {U'\u2018', "'"},
                                       {U'\u2019', "'"},   {U'\u201C', "\""},  {U'\u201D', "\""},
                                       {U'\u20AC', "EUR"}, {U'\u2026', "..."}, {U'\u2013', "-"},
                                       {U'\u2014', "-"},   {U'\u202F', " "}};
  std::string out;
  for (auto* c = reinterpret_cast<const unsigned char*>(text); *c != 0;) {
    // One UTF-8 sequence: its lead byte says how many continuation bytes follow.
    const unsigned char lead = *c++;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t letter = more > 0 ? lead & (0x3F >> more) : lead;
    int read = 0;
    for (; read < more && (*c & 0xC0) == 0x80; ++read) letter = letter << 6 | (*c++ & 0x3F);
    if (read < more || (lead & 0xC0) == 0x80) letter = U'?';        // a broken sequence
    if (letter >= U'\u2000' && letter <= U'\u200A') letter = U' ';  // the typographer's spaces
    const auto* spelling = std::find_if(std::begin(spellings), std::end(spellings),
                                        [letter](const Spelling& s) { return s.letter == letter; });
    if (letter <= 0xFF) {
      out += static_cast<char>(letter);
    } else {
      out += spelling != std::end(spellings) ? spelling->latin1 : "?";
    }
  }
  return out;
}
