#pragma once
// The stages of a map build, in the order MapBuilder::Write runs them. Each takes what
// the earlier ones left in the build state and adds its own part; the categories are
// added to the map writer in drawing order, which is the order of the map file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/import/build_state.h"

namespace koltar::import {

// The projection centred on the data's box at a tidy hundredth of a degree, one metre per
// unit unless the data is wider than 32 bits of metres. The input must not be empty.
MapProjection ChooseProjection(const ImportInput& input);

// The settlements projected and sorted by name (the most populous first among equal
// names); a repeated name gets the nearest settlement of another name and no smaller
// class, "Kisfalu (Nagyvaros)", the first of the name keeping it as it is.
void PlaceSettlements(BuildState& state);

// The road graph of the roads with its reachable core over the enabled road types; each
// settlement bound to a road node of its own.
void BuildRoadGraph(BuildState& state);

// Streets, when the settings have a street layer: named roads grouped by name and by the
// nearest settlement, house numbers (from addresses and interpolation lines) gathered per
// block and side into ranges, names made unique, every segment bound to a road node.
void BuildStreets(BuildState& state);

// The layers of the labels category, which the following stages put their labels on.
void PlanLabelLayers(BuildState& state);

// The areas category: outer rings with their holes joined in, a label inside each large
// named area (one for close pieces of one name).
void AddAreaCategory(BuildState& state);

// The lines category (borders, waters, railways), with a label on each named river.
void AddLineCategory(BuildState& state);

// The overview roads: the road classes that small scales show, one layer per class and
// band, simplified for the band.
void AddOverviewRoads(BuildState& state);

// The roads category: one line per graph edge, the minor classes first so that the
// major roads are painted over them where they cross.
void AddRoadCategory(BuildState& state);

// The road network category with its cost types; its nodes and edges come with
// LinkNetwork, once the towns are numbered.
void AddNetworkCategory(BuildState& state);

// The overview towns: the settlement classes shown at small scales.
void AddOverviewTowns(BuildState& state);

// The towns category: the settlements, then each street as a run of records of one
// name with their house-number ranges; bindings of records to road nodes and labels of
// settlements and streets.
void AddTowns(BuildState& state);

// The network's node table (the bound nodes first, in record order, then the junctions)
// and its edges, both directions of two-way roads, sorted by their first node.
void LinkNetwork(BuildState& state);

// The labels category, last so that the labels stand over everything.
void AddLabelCategory(BuildState& state);

// The symbology of every category and the settlement symbols' bitmaps.
void AddSymbology(BuildState& state);

// The map's own keys (NAME from `mapName`, UTF-8), the category list of the summary,
// then every file. False, with `error`, when a file cannot be written.
[[nodiscard]] bool WriteMapFiles(BuildState& state, const std::string& mapName, std::string& error);

// ---- Parts of the stages, open to the tests.

// An item to name: its name and the settlement it lies in (-1 for none).
struct NamedItem {
  std::string base;
  int settlement;
};
// Names for the items, unique without regard to letter case: a name that occurs more
// than once gets its settlement's name, "Fo utca (Szentendre)" (unless that is the name
// itself), and what is still repeated a number, "Fo utca 2"; cut to `limit` characters
// with the suffix kept. With `keepFirst` the first item of a name keeps it as it is.
std::vector<std::string> UniqueNames(const std::vector<NamedItem>& items,
                                     const std::vector<Settlement>& settlements, std::size_t limit,
                                     bool keepFirst);

// A house number as the house-number search compares it: the number and an optional
// letter right after it ("12", "12a", "12/A", "12 b"; the letter in lower case, ' ' for
// none). False when there is no number, it is 0 or it does not fit 16 bits.
[[nodiscard]] bool ParseHouseNumber(std::string_view text, int& number, char& letter);

}  // namespace koltar::import
