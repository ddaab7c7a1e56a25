#include "tools/import/import_config.h"

#include "platform/scan.h"

namespace koltar::import {
namespace {

// UTF-8 (a u8 literal, so that the core's code page 1250 literals do not apply).
constexpr char8_t kDefault[] =
    u8R"(# koltar-import settings (UTF-8). See tools/import/import_config.h for the format.
category | areas         | Területek
category | lines         | Vizek és határok
category | overview      | Főbb utak
category | roads         | Utak
category | network       | Útvonal
category | overviewtowns | Nagyobb települések
category | towns         | Helységek
category | texts         | Megírások
streets  | Utca

# road type | km/h | Ft/km | enabled | style | filters
road | Autópálya       | 110 | 45 | 1 | motorway    | highway=motorway highway=motorway_link
road | Autóút          | 90  | 40 | 1 | trunk       | highway=trunk highway=trunk_link
road | Főút            | 70  | 35 | 1 | primary     | highway=primary highway=primary_link
road | Összekötő út    | 60  | 35 | 1 | secondary   | highway=secondary highway=secondary_link
road | Bekötő út       | 50  | 35 | 1 | tertiary    | highway=tertiary highway=tertiary_link
road | Egyéb út        | 40  | 35 | 1 | minor       | highway=unclassified highway=road
road | Lakóút          | 30  | 35 | 1 | residential | highway=residential highway=living_street
road | Kiszolgáló út   | 20  | 35 | 1 | service     | highway=service
road | Földút          | 15  | 40 | 0 | track       | highway=track
road | Gyalogút        | 5   | 0  | 0 | path        | highway=pedestrian highway=footway highway=path highway=cycleway highway=steps highway=bridleway highway=platform
road | Épülő út        | 5   | 0  | 0 | track       | highway=construction highway=proposed

# settlements by size
place | Nagyváros | city    | place=city
place | Város     | town    | place=town
place | Község    | village | place=village
place | Tanya     | hamlet  | place=hamlet place=isolated_dwelling
place | Városrész | suburb  | place=suburb place=quarter place=neighbourhood

# areas, in drawing order
area | Ország     | country  | boundary=administrative+admin_level=2
area | Beépített  | builtup  | landuse=residential landuse=commercial landuse=retail landuse=industrial
area | Erdő       | forest   | landuse=forest natural=wood
area | Park       | park     | leisure=park landuse=grass landuse=meadow landuse=recreation_ground leisure=garden
area | Tér        | square   | highway=*+area=yes place=square
area | Víz        | water    | natural=water waterway=riverbank landuse=reservoir landuse=basin

# lines that are not roads
line | Országhatár | border   | boundary=administrative+admin_level=2
line | Folyó       | river    | waterway=river waterway=canal
line | Patak       | stream   | waterway=stream
line | Vasút       | railway  | railway=rail railway=light_rail railway=narrow_gauge
)";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (;;) {
    const std::size_t bar = line.find('|');
    out.push_back(Trim(line.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    line.remove_prefix(bar + 1);
  }
  return out;
}

bool ParseNumber(std::string_view text, double& out) {
  // The whole text is the number: nothing may follow it, not even blanks.
  if (text.empty() || text.back() == ' ' || (text.back() >= '\t' && text.back() <= '\r')) return false;
  std::string rest;
  return ScanValues(text, "%lf%s", out, rest) == 1;
}

}  // namespace

bool TagFilter::Parse(std::string_view text) {
  alternatives_.clear();
  while (!text.empty()) {
    text = Trim(text);
    const std::size_t blank = text.find_first_of(" \t");
    std::string_view word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank);
    if (word.empty()) continue;
    std::vector<Condition> conditions;
    for (;;) {
      const std::size_t plus = word.find('+');
      const std::string_view part = word.substr(0, plus);
      const std::size_t eq = part.find('=');
      if (eq == std::string_view::npos || eq == 0 || eq + 1 == part.size()) return false;
      conditions.push_back({std::string(part.substr(0, eq)), std::string(part.substr(eq + 1))});
      if (plus == std::string_view::npos) break;
      word.remove_prefix(plus + 1);
    }
    alternatives_.push_back(std::move(conditions));
  }
  return !alternatives_.empty();
}

bool TagFilter::Matches(const Tags& tags) const {
  for (const auto& conditions : alternatives_) {
    bool all = true;
    for (const Condition& c : conditions) {
      const std::string* value = tags.Find(c.key);
      if (value == nullptr || (c.value != "*" && *value != c.value)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

std::string_view DefaultConfigText() {
  return std::string_view(reinterpret_cast<const char*>(kDefault), sizeof(kDefault) - 1);
}

bool ParseConfig(std::string_view text, ImportConfig& out, std::string& error) {
  out = ImportConfig{};
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    line = Trim(line);
    if (line.empty()) continue;
    const std::vector<std::string_view> f = Fields(line);
    const std::string_view kind = f[0];
    bool ok = false;
    if (kind == "category" && f.size() == 3) {
      std::string* target = nullptr;
      if (f[1] == "areas") target = &out.areasCategory;
      if (f[1] == "lines") target = &out.linesCategory;
      if (f[1] == "overview") target = &out.overviewCategory;
      if (f[1] == "roads") target = &out.roadsCategory;
      if (f[1] == "network") target = &out.networkCategory;
      if (f[1] == "overviewtowns") target = &out.overviewTownsCategory;
      if (f[1] == "towns") target = &out.townsCategory;
      if (f[1] == "texts") target = &out.textsCategory;
      if (target != nullptr && !f[2].empty()) {
        *target = std::string(f[2]);
        ok = true;
      }
    } else if (kind == "streets" && f.size() == 2) {
      out.streetLayer = std::string(f[1]);
      ok = true;
    } else if (kind == "road" && f.size() == 7) {
      RoadRule r;
      double enabled = 0;
      r.layer = std::string(f[1]);
      r.style = std::string(f[5]);
      ok = !r.layer.empty() && ParseNumber(f[2], r.speed) && ParseNumber(f[3], r.unitCost) &&
           ParseNumber(f[4], enabled) && r.filter.Parse(f[6]);
      r.enabled = enabled != 0;
      if (ok) out.roads.push_back(std::move(r));
    } else if ((kind == "place" || kind == "area" || kind == "line") && f.size() == 4) {
      LayerRule r{std::string(f[1]), std::string(f[2]), {}};
      ok = !r.layer.empty() && r.filter.Parse(f[3]);
      if (ok) (kind == "place" ? out.places : kind == "area" ? out.areas : out.lines).push_back(std::move(r));
    }
    if (!ok) {
      error = "line " + std::to_string(number) + ": " + std::string(line);
      return false;
    }
  }
  for (const std::string* name :
       {&out.areasCategory, &out.linesCategory, &out.overviewCategory, &out.roadsCategory,
        &out.networkCategory, &out.overviewTownsCategory, &out.townsCategory, &out.textsCategory})
    if (name->empty()) {
      error =
          "a category line is missing (areas, lines, overview, roads, network, overviewtowns, "
          "towns and texts are needed)";
      return false;
    }
  if (out.roads.empty()) {
    error = "no road line";
    return false;
  }
  return true;
}

}  // namespace koltar::import
