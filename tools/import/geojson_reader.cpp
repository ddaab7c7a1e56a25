#include <simdjson.h>

#include <algorithm>
#include <string_view>

#include "tools/import/readers.h"

namespace koltar::import {
namespace {

using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

std::string_view Ending(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  const std::size_t dot = path.find('.');
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

class GeoJsonReader {
 public:
  GeoJsonReader(FeatureSink& sink, InputCounts& counts) : sink_(sink), counts_(counts) {}

  void Object(element value, const Tags* tags) {
    object obj;
    if (value.get_object().get(obj)) {
      ++counts_.brokenGeometry;
      return;
    }
    std::string_view type;
    if (obj["type"].get_string().get(type)) {
      ++counts_.brokenGeometry;
      return;
    }
    if (type == "FeatureCollection") {
      array features;
      if (obj["features"].get_array().get(features)) {
        ++counts_.brokenGeometry;
        return;
      }
      const std::size_t total = std::max<std::size_t>(1, features.size());
      std::size_t done = 0;
      for (element f : features) {
        Object(f, nullptr);
        if (++done % 1024 == 0) sink_.Progress(static_cast<double>(done) / static_cast<double>(total));
      }
    } else if (type == "Feature") {
      Tags own;
      object properties;
      if (!obj["properties"].get_object().get(properties)) own = TagsOf(properties);
      element geometry;
      if (obj["geometry"].get(geometry) || geometry.is_null()) {
        ++counts_.brokenGeometry;
        return;
      }
      Object(geometry, &own);
    } else if (type == "GeometryCollection") {
      array geometries;
      if (obj["geometries"].get_array().get(geometries)) {
        ++counts_.brokenGeometry;
        return;
      }
      for (element g : geometries) Object(g, tags);
    } else {
      element coordinates;
      if (obj["coordinates"].get(coordinates)) {
        ++counts_.brokenGeometry;
        return;
      }
      Geometry(type, coordinates, tags ? *tags : Tags{});
    }
  }

 private:
  static Tags TagsOf(object properties) {
    Tags tags;
    for (auto [key, value] : properties) {
      std::string text;
      switch (value.type()) {
        case element_type::STRING: text = std::string(std::string_view(value)); break;
        case element_type::NULL_VALUE: continue;
        case element_type::ARRAY:
        case element_type::OBJECT: continue;
        default: text = simdjson::minify(value); break;
      }
      tags.Add(std::string(key), std::move(text));
    }
    return tags;
  }

  static bool Position(element value, GeoPoint& out) {
    array a;
    double lon = 0, lat = 0;
    if (value.get_array().get(a) || a.size() < 2 || a.at(0).get_double().get(lon) ||
        a.at(1).get_double().get(lat))
      return false;
    return MakeGeoPoint(lon, lat, out);
  }

  // A run of positions; false when one of them is not a position.
  static bool Positions(element value, std::vector<GeoPoint>& out) {
    array a;
    if (value.get_array().get(a)) return false;
    for (element p : a) {
      GeoPoint g;
      if (!Position(p, g)) return false;
      if (out.empty() || !(out.back() == g)) out.push_back(g);
    }
    return true;
  }

  bool AddLine(element value, Feature& f) {
    std::vector<GeoPoint> line;
    if (!Positions(value, line) || line.size() < 2) {
      ++counts_.brokenGeometry;
      return false;
    }
    f.lines.push_back(std::move(line));
    return true;
  }

  void AddPolygon(element value, Feature& f) {
    array rings;
    if (value.get_array().get(rings)) {
      ++counts_.brokenGeometry;
      return;
    }
    bool outer = true;
    for (element r : rings) {
      Ring ring;
      ring.outer = outer;
      if (!Positions(r, ring.points) || ring.points.size() < 3) {
        ++counts_.brokenGeometry;
        if (outer) return;  // holes without their outer ring mean nothing
        continue;
      }
      if (!(ring.points.front() == ring.points.back())) ring.points.push_back(ring.points.front());
      if (ring.points.size() < 4) {
        ++counts_.brokenGeometry;
        if (outer) return;
        continue;
      }
      f.rings.push_back(std::move(ring));
      outer = false;
    }
  }

  void Geometry(std::string_view type, element coordinates, const Tags& tags) {
    Feature f;
    f.tags = tags;
    array parts;
    if (type == "Point") {
      GeoPoint p;
      if (!Position(coordinates, p)) {
        ++counts_.brokenGeometry;
        return;
      }
      f.shape = Shape::Point;
      f.lines.push_back({p});
    } else if (type == "MultiPoint") {
      if (coordinates.get_array().get(parts)) {
        ++counts_.brokenGeometry;
        return;
      }
      for (element p : parts) Geometry("Point", p, tags);
      return;
    } else if (type == "LineString") {
      f.shape = Shape::Line;
      if (!AddLine(coordinates, f)) return;
    } else if (type == "MultiLineString") {
      f.shape = Shape::Line;
      if (coordinates.get_array().get(parts)) {
        ++counts_.brokenGeometry;
        return;
      }
      for (element l : parts) AddLine(l, f);
    } else if (type == "Polygon") {
      f.shape = Shape::Area;
      AddPolygon(coordinates, f);
    } else if (type == "MultiPolygon") {
      f.shape = Shape::Area;
      if (coordinates.get_array().get(parts)) {
        ++counts_.brokenGeometry;
        return;
      }
      for (element p : parts) AddPolygon(p, f);
    } else {
      ++counts_.brokenGeometry;
      return;
    }
    if (f.lines.empty() && f.rings.empty()) return;
    ++counts_.features;
    sink_.Add(std::move(f));
  }

  FeatureSink& sink_;
  InputCounts& counts_;
};

}  // namespace

bool ReadGeoJsonFile(const std::string& path, FeatureSink& sink, InputCounts& counts, std::string& error) {
  simdjson::dom::parser parser;
  element document;
  if (const auto code = parser.load(path).get(document); code != simdjson::SUCCESS) {
    ++counts.unreadable;
    error = path + ": " + simdjson::error_message(code);
    return false;
  }
  GeoJsonReader reader{sink, counts};
  reader.Object(document, nullptr);
  sink.Progress(1.0);
  return true;
}

bool ReadInputFile(const std::string& path, FeatureSink& sink, InputCounts& counts, std::string& error) {
  const std::string_view ending = Ending(path);
  if (ending.ends_with(".json") || ending.ends_with(".geojson"))
    return ReadGeoJsonFile(path, sink, counts, error);
  return ReadOsmFile(path, sink, counts, error);
}

}  // namespace koltar::import
