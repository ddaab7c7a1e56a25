#include <exception>
#include <filesystem>

#include <osmium/area/assembler.hpp>
#include <osmium/area/multipolygon_manager.hpp>
#include <osmium/handler.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/relations/relations_manager.hpp>
#include <osmium/visitor.hpp>

#include "tools/import/readers.h"

namespace koltar::import {
namespace {

using LocationIndex = osmium::index::map::FlexMem<osmium::unsigned_object_id_type, osmium::Location>;
using LocationHandler = osmium::handler::NodeLocationsForWays<LocationIndex>;

Tags TagsOf(const osmium::TagList& list) {
  Tags tags;
  for (const osmium::Tag& t : list) tags.Add(t.key(), t.value());
  return tags;
}

bool ToGeo(const osmium::Location& l, GeoPoint& out) {
  if (!l.valid()) return false;
  out.lon7 = l.x();
  out.lat7 = l.y();
  return true;
}

class FeatureHandler : public osmium::handler::Handler {
 public:
  FeatureHandler(FeatureSink& sink, InputCounts& counts) : sink_(sink), counts_(counts) {}

  void node(const osmium::Node& node) {
    if (node.tags().empty()) return;
    Feature f;
    f.shape = Shape::Point;
    GeoPoint p;
    if (!ToGeo(node.location(), p)) {
      ++counts_.brokenGeometry;
      return;
    }
    f.tags = TagsOf(node.tags());
    f.lines.push_back({p});
    Hand(std::move(f));
  }

  void way(const osmium::Way& way) {
    if (way.tags().empty()) return;
    Feature f;
    f.shape = Shape::Line;
    std::vector<GeoPoint> points;
    for (const osmium::NodeRef& ref : way.nodes()) {
      GeoPoint p;
      if (!ToGeo(ref.location(), p)) {
        ++counts_.brokenGeometry;  // a node the file does not hold
        return;
      }
      if (points.empty() || !(points.back() == p)) points.push_back(p);
    }
    if (points.size() < 2) {
      ++counts_.brokenGeometry;
      return;
    }
    f.tags = TagsOf(way.tags());
    f.lines.push_back(std::move(points));
    Hand(std::move(f));
  }

  void area(const osmium::Area& area) {
    Feature f;
    f.shape = Shape::Area;
    for (const osmium::OuterRing& outer : area.outer_rings()) {
      AddRing(f, outer, true);
      for (const osmium::InnerRing& inner : area.inner_rings(outer)) AddRing(f, inner, false);
    }
    if (f.rings.empty()) {
      ++counts_.brokenGeometry;
      return;
    }
    f.tags = TagsOf(area.tags());
    Hand(std::move(f));
  }

 private:
  void AddRing(Feature& f, const osmium::NodeRefList& ring, bool outer) {
    Ring r;
    r.outer = outer;
    for (const osmium::NodeRef& ref : ring) {
      GeoPoint p;
      if (ToGeo(ref.location(), p) && (r.points.empty() || !(r.points.back() == p))) r.points.push_back(p);
    }
    if (r.points.size() >= 4 && r.points.front() == r.points.back()) f.rings.push_back(std::move(r));
  }

  void Hand(Feature&& f) {
    ++counts_.features;
    sink_.Add(std::move(f));
  }

  FeatureSink& sink_;
  InputCounts& counts_;
};

}  // namespace

bool ReadOsmFile(const std::string& path, FeatureSink& sink, InputCounts& counts, std::string& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = path + ": " + ec.message();
    return false;
  }
  osmium::area::Assembler::config_type assemblerConfig;
  osmium::area::MultipolygonManager<osmium::area::Assembler> multipolygons{assemblerConfig};
  // First pass: the multipolygon relations and their member ways.
  bool relationsRead = true;
  try {
    osmium::io::File file{path};
    osmium::relations::read_relations(file, multipolygons);
  } catch (const std::exception& e) {
    relationsRead = false;  // the second pass reports the fault
  }
  // Second pass: everything, with node locations for the ways and the areas.
  const std::int64_t before = counts.features;
  try {
    LocationIndex index;
    LocationHandler locations{index};
    locations.ignore_errors();
    FeatureHandler features{sink, counts};
    osmium::io::Reader reader{osmium::io::File{path}, osmium::osm_entity_bits::object};
    while (osmium::memory::Buffer buffer = reader.read()) {
      if (relationsRead)
        osmium::apply(buffer, locations, features,
                      multipolygons.handler(
                          [&features](osmium::memory::Buffer&& areas) { osmium::apply(areas, features); }));
      else
        osmium::apply(buffer, locations, features);
      if (size > 0) sink.Progress(static_cast<double>(reader.offset()) / static_cast<double>(size));
    }
    reader.close();
  } catch (const std::exception& e) {
    ++counts.unreadable;
    error = path + ": " + e.what();
    return counts.features > before;
  }
  if (!relationsRead) ++counts.unreadable;
  return true;
}

}  // namespace koltar::import
