#include "tools/import/build_state.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace koltar::import {

void ImportInput::Extend(const GeoPoint& p) {
  minLon = std::min(minLon, p.lon7);
  maxLon = std::max(maxLon, p.lon7);
  minLat = std::min(minLat, p.lat7);
  maxLat = std::max(maxLat, p.lat7);
}

void ImportInput::Extend(const std::vector<GeoPoint>& points) {
  for (const GeoPoint& p : points) Extend(p);
}

Converter::Converter(const MapProjection& projection, BuildSummary& summary)
    : tm_(projection.centralMeridian, projection.originLatitude), unit_(projection.unit), summary_(summary) {}

PlanePoint Converter::Project(const GeoPoint& p) const {
  const PlanePosition q = ToPlane(tm_, p);
  return PlanePoint{q.x, q.y};
}

std::vector<PlanePoint> Converter::Project(const std::vector<GeoPoint>& points) const {
  std::vector<PlanePoint> out;
  out.reserve(points.size());
  for (const GeoPoint& p : points) out.push_back(Project(p));
  return out;
}

MapPoint Converter::ToMap(const PlanePoint& p) const {
  return {static_cast<std::int32_t>(std::lround(p.x / unit_)),
          static_cast<std::int32_t>(std::lround(p.y / unit_))};
}

std::vector<MapPoint> Converter::ToMap(const std::vector<PlanePoint>& points) const {
  std::vector<MapPoint> out;
  for (const PlanePoint& p : points) {
    const MapPoint m = ToMap(p);
    if (out.empty() || !(out.back() == m)) out.push_back(m);
  }
  return out;
}

std::string Converter::Name(std::string_view utf8, std::size_t limit) {
  int changed = 0;
  std::string out = Utf8ToCp1250Transliterated(utf8, &changed);
  if (changed > 0) ++summary_.namesTransliterated;
  if (out.size() > limit) {
    out.resize(limit);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    ++summary_.namesCut;
  }
  return out;
}

BuildState::BuildState(const ImportConfig& config_, const ImportInput& input_,
                       const MapProjection& projection_, BuildSummary& summary_,
                       const std::filesystem::path& directory, const std::string& mapFile)
    : config(config_),
      input(input_),
      projection(projection_),
      summary(summary_),
      conv(projection_, summary_),
      map(directory, mapFile),
      mapStem(std::filesystem::path(mapFile).stem().string()),
      withStreets(!config_.streetLayer.empty()) {}

}  // namespace koltar::import
