#pragma once
// Small maps with a road network and a planned route, for the tests of the route list,
// its exports and the printed route plan.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "map/mmap.h"
#include "platform/color.h"

namespace koltar::test {

// The area that covers the village map, and the colours of its drawing.
inline constexpr ColorRef kLandColor = Rgb(255, 255, 200);
inline constexpr ColorRef kRouteColor = Rgb(255, 0, 0);

// Three villages, one map unit a metre: Alma (0,0) - Bükk (1000,0) - Őr (1000,1000), on
// road 0 (0,0) (500,10) (1000,0) and road 1, stored from Őr to Bükk; an area of
// kLandColor under them; the route drawn in kRouteColor. With `projection` the map file
// records PROJECTION=tmerc,19.46,47.15 (ORIGIN 500000,5223923).
std::unique_ptr<MMap> WriteVillages(const std::filesystem::path& dir, bool projection = true);

// `count` villages "Falu 1" ... in a row 100 map units apart, each joined to the next by a
// road of its own.
std::unique_ptr<MMap> WriteChain(const std::filesystem::path& dir, int count);

// Plans the route through the settlements named (exact names) with the map's own
// criterion; false when a name is unknown or no route was found.
[[nodiscard]] bool PlanThrough(MMap& map, std::initializer_list<std::string> names);

}  // namespace koltar::test
