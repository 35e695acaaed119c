// The named sites. A latitude to the thousandth of a degree (about 100 m) is far finer
// than the plane's turn can show: sin(latitude) changes by 2e-5 at most over it.
#include "app/sites.h"

#include <cstring>

namespace {

// Written from the commonly published positions, without a gazetteer at hand: each is to be
// checked against one (OpenStreetMap, GeoNames) before it is quoted to a thousandth.
constexpr const char* building = "the building's commonly published position; to check against a gazetteer";
constexpr const char* city = "the city's commonly published position (the pendulum is in the city); to check";

}  // namespace

const Site sites[] = {
    {"pantheon", "Panthéon, Paris", 48.846, building},
    {"arts-et-metiers", "Musée des Arts et Métiers, Paris", 48.867, building},
    {"padua", "Palazzo della Ragione, Padova", 45.408, building},
    {"valencia", "Museu de les Ciències, València", 39.455, building},
    {"united-nations", "United Nations Headquarters, New York", 40.749, building},
    {"california-academy", "California Academy of Sciences, San Francisco", 37.770, building},
    {"griffith", "Griffith Observatory, Los Angeles", 34.118, building},
    {"houston", "Houston Museum of Natural Science", 29.722, building},
    {"new-delhi", "Parliament House, New Delhi", 28.617, building},
    {"queretaro", "Centro Cultural Manuel Gómez Morín, Querétaro", 20.59, city},
    {"sydney", "School of Physics, UNSW, Sydney", -33.917, building},
    {"puerto-montt", "Colegio San Francisco Javier, Puerto Montt", -41.47, city},
    {"north-pole", "North Pole", 90.0, "by definition"},
    {"equator", "Equator", 0.0, "by definition"},
    {"south-pole", "South Pole (Amundsen-Scott station's pendulum, 2001)", -90.0, "by definition"},
};
const int site_count = sizeof sites / sizeof sites[0];

const Site* find_site(const char* key) {
  for (const Site& site : sites) {
    if (std::strcmp(site.key, key) == 0) return &site;
  }
  return nullptr;
}
