// The start-up options: the table of names with the values each takes, the checks, and what
// each choice does, through the menus' and keys' own functions.
#include "app/options.h"

#include "app/input.h"
#include "app/menus.h"
#include "app/sites.h"
#include "render/frame.h"
#include "render/texts.h"
#include "sim/sim_state.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Options options;

namespace {

// What the command line chose: -1 (NaN for a number) where it chose nothing, else the index
// of the chosen word among its option's words.
struct Choices {
  double latitude = NAN;  // degrees
  double rate = NAN;      // factor on default_omega
  int release = -1, view = -1, earth = -1, corotate = -1, camera = -1, help_lines = -1,
      projector = -1;
};
Choices chosen;

// A decimal number as a person writes it, with a point or a comma, and nothing around it.
bool read_number(const char* text, double* number) {
  std::string decimal = text;
  for (char& c : decimal) c = c == ',' ? '.' : c;
  char* end = nullptr;
  const double value = std::strtod(decimal.c_str(), &end);
  if (decimal.empty() || *end != '\0' || std::isspace(static_cast<unsigned char>(decimal[0])) ||
      !std::isfinite(value)) {
    return false;
  }
  *number = value;
  return true;
}

// Any latitude the keys can reach, beyond the poles too, so that a lesson's address reopens it.
bool read_latitude(const char* text) {
  double degrees = 0.0;
  if (!read_number(text, &degrees)) return false;
  chosen.latitude = degrees;
  return true;
}

bool read_place(const char* text) {
  const Site* site = find_site(text);
  if (site != nullptr) chosen.latitude = site->latitude;
  return site != nullptr;
}

// A factor whose rate is a normal double: neither 0, nor below the normal range, nor infinite.
bool read_rate(const char* text) {
  double factor = 0.0;
  if (!read_number(text, &factor) || factor <= 0.0 || !std::isnormal(default_omega * factor)) {
    return false;
  }
  chosen.rate = factor;
  return true;
}

bool read_csv(const char* text) {
  options.csv_path = text;
  return true;
}

struct Option {
  const char* name;
  const char* what;     // what it sets, for --help
  const char* accepts;  // the values it takes, for --help and the line that refuses one
  const char* words;    // its values, blank-separated; or nullptr, and read checks the value
  int* choice;          // where the index of its word goes
  bool (*read)(const char* text);
};

const char* const on_off = N_("on ou off");
const Option table[] = {
    {"latitude", N_("la latitude du pendule, en degres"), N_("un nombre, comme 48.846 au nord ou -33.917 au sud"),
     nullptr, nullptr, read_latitude},
    {"place", N_("la latitude d'un pendule de Foucault connu"), N_("un de ces lieux :"), nullptr,
     nullptr, read_place},
    {"release", N_("d'ou le pendule est lache"), N_("south, west ou southwest"),
     "south west southwest", &chosen.release, nullptr},
    {"view", N_("d'ou l'observateur regarde"), N_("pole, equator ou three-quarter"),
     "pole equator three-quarter", &chosen.view, nullptr},
    {"earth", N_("la Terre tourne, ou reste fixe sous le ciel"), N_("turning ou fixed"),
     "turning fixed", &chosen.earth, nullptr},
    {"corotate", N_("le sol tourne avec le plan d'oscillation"), on_off, "off on", &chosen.corotate,
     nullptr},
    {"rate", N_("la vitesse de rotation de la Terre, multipliee par ce facteur"),
     N_("un nombre plus grand que 0, comme 2 ou 0.5"), nullptr, nullptr, read_rate},
    {"camera", N_("la camera libre (touche r) ou le zoom (touche t)"), N_("free ou zoom"),
     "free zoom", &chosen.camera, nullptr},
    {"help-lines", N_("les lignes d'aide sur l'image"), on_off, "off on", &chosen.help_lines,
     nullptr},
    {"projector", N_("un texte plus grand et plus clair, pour le fond de la classe"), on_off,
     "off on", &chosen.projector, nullptr},
    {"csv", N_("le fichier ou ecrire les mesures"), N_("un nom de fichier"), nullptr, nullptr,
     read_csv},
};

// What an option takes, in the chosen language; the sites' keys after the place's text.
std::string accepted(const Option& option) {
  std::string text = tr(option.accepts);
  for (int i = 0; option.read == read_place && i < site_count; ++i) {
    text = text + " " + sites[i].key;
  }
  return text;
}

// Whether text is one of option's words (or passes its check), recording the choice.
bool take(const Option& option, const char* text) {
  if (option.words == nullptr) return option.read(text);
  const size_t length = std::strlen(text);
  int index = 0;
  for (const char* word = option.words; *word != '\0'; ++index) {
    const size_t span = std::strcspn(word, " ");
    if (span == length && std::strncmp(word, text, length) == 0) {
      *option.choice = index;
      return true;
    }
    word += span + (word[span] == ' ' ? 1 : 0);
  }
  return false;
}

const ReleasePoint releases[] = {release_from_south, release_from_west, release_from_southwest};

// Word i of the option named name.
std::string word(const char* name, int i) {
  const Option* option = table;
  while (std::strcmp(option->name, name) != 0) ++option;
  const char* w = option->words;
  for (; i > 0; --i) w += std::strcspn(w, " ") + 1;
  return std::string(w, std::strcspn(w, " "));
}

void apply(const Choices& c) {
  if (!std::isnan(c.latitude)) move_pendulum(radians(c.latitude));
  if (c.release >= 0) restart_pendulum(releases[c.release].x, releases[c.release].y);
  if (c.view >= 0) menu_view(c.view + 1);
  if (c.earth >= 0) menu_rotation(c.earth == 1 ? 1 : 2);  // Terre fixe, Ciel fixe
  if (c.corotate >= 0 && c.corotate != view.corotate) menu_rotation(3);
  if (!std::isnan(c.rate)) {
    scale_omega(c.rate);
    apply_latitude();  // the coefficient afresh: a factor other than a power of two rounds
  }
  if (c.camera == 1) {
    // The zoom freezes the orientation of the last free-camera frame; no frame is drawn yet.
    view.saved_rot_x = view.view_rot_x;
    view.saved_rot_y = view.view_rot_y;
  }
  if (c.camera >= 0) keyboard(c.camera == 1 ? 't' : 'r', 0, 0);
  if (c.help_lines >= 0) view.show_help = c.help_lines;
  if (c.projector >= 0) view.projector = c.projector;
}

}  // namespace

void help_option(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") != 0) continue;
    std::printf("%s", tr("Options de depart, --nom valeur ou --nom=valeur :\n"));
    const char* const line = tr("  --%-10s %s : %s\n");
    for (const Option& option : table) {
      std::printf(line, option.name, tr(option.what), accepted(option).c_str());
    }
    std::printf(line, "lang", tr("la langue des textes"), languages);
    std::printf("  --%-10s %s\n", "help", tr("cette liste"));
    std::exit(0);
  }
}

void apply_options(int argc, char** argv) {
  chosen = Choices{};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--", 2) != 0) continue;
    std::string name = argv[i] + 2;
    const size_t equals = name.find('=');
    const char* value = nullptr;
    if (equals != std::string::npos) {
      value = argv[i] + 2 + equals + 1;
      name.resize(equals);
    } else if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
      value = argv[++i];
    }
    const Option* option = nullptr;
    std::string names;
    for (const Option& o : table) {
      option = name == o.name ? &o : option;
      names = names + (names.empty() ? "" : " ") + o.name;
    }
    if (option == nullptr) {
      std::printf(tr("option inconnue : --%s (options : %s lang help)\n"), name.c_str(),
                  names.c_str());
    } else if (value == nullptr || *value == '\0') {
      std::printf(tr("--%s sans valeur : il faut %s\n"), option->name, accepted(*option).c_str());
    } else if (!take(*option, value)) {
      std::printf(tr("--%s %s : valeur refusee, il faut %s\n"), option->name, value,
                  accepted(*option).c_str());
    }
  }
  apply(chosen);
}

std::string option_words() {
  std::string words;
  auto add = [&words](const char* name, const std::string& value) {
    words += (words.empty() ? "" : "&") + std::string(name) + "=" + value;
  };
  char number[32];
  std::snprintf(number, sizeof number, "%.9g", sim.latitude * 180.0 / pi);
  add("latitude", number);
  for (int i = 0; i < 3; ++i) {
    if (sim.release_x == releases[i].x && sim.release_y == releases[i].y) add("release", word("release", i));
  }
  // The zoom keeps the orientation of the free camera's last frame.
  const float rot_y = view.view_zoom == 1 ? view.saved_rot_y : view.view_rot_y;
  const float rot_x = view.view_zoom == 1 ? view.saved_rot_x : view.view_rot_x;
  for (int i = 0; i < 3; ++i) {
    if (viewpoints[i].rot_y == rot_y && viewpoints[i].rot_x == rot_x) add("view", word("view", i));
  }
  add("earth", word("earth", sim.earth_fixed));
  add("corotate", word("corotate", view.corotate));
  std::snprintf(number, sizeof number, "%.9g", sim.omega / default_omega);
  add("rate", number);
  add("camera", word("camera", view.view_zoom));
  add("help-lines", word("help-lines", view.show_help));
  add("projector", word("projector", view.projector));
  if (*language_code() != '\0') add("lang", language_code());
  return words;
}
