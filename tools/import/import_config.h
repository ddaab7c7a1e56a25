#pragma once
// What the importer makes of which tags: the categories and layers of the map it writes,
// read from a small text file (UTF-8) or taken from the built-in default.
//
// Lines, fields separated by '|', blanks around them ignored, '#' starts a comment:
//   category | <role> | <category name>       roles: areas lines overview roads network
//                                             overviewtowns towns texts
//   streets  | <layer name>                   named streets as a layer of the towns
//                                             (empty: no streets)
//   road     | <layer> | <km/h> | <Ft/km> | <enabled 0/1> | <style> | <filters>
//   place    | <layer> | <style> | <filters>
//   area     | <layer> | <style> | <filters>
//   line     | <layer> | <style> | <filters>
// Filters: alternatives separated by blanks, each one or more key=value conditions joined
// by '+'; value '*' matches any value. The first rule of a kind whose filter matches wins.

#include <string>
#include <string_view>
#include <vector>

#include "tools/import/features.h"

namespace koltar::import {

class TagFilter {
 public:
  // Parses the alternatives; false when one of them is not key=value.
  [[nodiscard]] bool Parse(std::string_view text);
  bool Matches(const Tags& tags) const;

 private:
  struct Condition {
    std::string key;
    std::string value;  // "*" for any
  };
  std::vector<std::vector<Condition>> alternatives_;
};

struct RoadRule {
  std::string layer;     // UTF-8
  double speed = 50;     // km/h
  double unitCost = 30;  // Ft/km
  bool enabled = true;
  std::string style;
  TagFilter filter;
};

struct LayerRule {
  std::string layer;  // UTF-8
  std::string style;
  TagFilter filter;
};

struct ImportConfig {
  std::string areasCategory, linesCategory, overviewCategory, roadsCategory, networkCategory,
      overviewTownsCategory, townsCategory, textsCategory;
  std::string streetLayer;
  std::vector<RoadRule> roads;
  std::vector<LayerRule> places, areas, lines;
  // Settlement labels thinned by rank and space at the small-scale bands, as an atlas
  // does (koltar-import --declutter; not a line of the settings).
  bool declutterLabels = false;
  // Rivers of 50 km and more drawn again, wide enough to be seen, at small scales
  // (koltar-import --wide-rivers).
  bool wideRivers = false;
};

// The built-in settings, as text in the file format.
std::string_view DefaultConfigText();

// Parses settings text; false with `error` naming the first bad line.
[[nodiscard]] bool ParseConfig(std::string_view text, ImportConfig& out, std::string& error);

}  // namespace koltar::import
