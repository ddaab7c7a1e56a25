#pragma once
// Input files: OpenStreetMap data (.osm, .osm.bz2, .osm.pbf) and GeoJSON.

#include <string>

#include "tools/import/features.h"

namespace koltar::import {

// Reads an OpenStreetMap file: tagged nodes become points, ways lines, closed ways and
// multipolygon relations areas (a closed way is handed on both as a line and, when it
// forms a valid ring, as an area; the builder decides by its tags). A damaged or
// truncated file keeps what was read before the fault and counts it as unreadable.
// False, with `error`, when nothing could be read at all.
[[nodiscard]] bool ReadOsmFile(const std::string& path, FeatureSink& sink, InputCounts& counts,
                               std::string& error);

// Reads a GeoJSON file (a FeatureCollection, a single Feature or a bare geometry):
// Point and MultiPoint become points, LineString and MultiLineString lines, Polygon and
// MultiPolygon areas; properties become tags (numbers and booleans as their JSON text).
// False, with `error`, when the file cannot be read or parsed.
[[nodiscard]] bool ReadGeoJsonFile(const std::string& path, FeatureSink& sink, InputCounts& counts,
                                   std::string& error);

// Chooses the reader by the file name's ending.
[[nodiscard]] bool ReadInputFile(const std::string& path, FeatureSink& sink, InputCounts& counts,
                                 std::string& error);

}  // namespace koltar::import
