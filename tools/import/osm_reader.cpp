#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <osmium/area/assembler.hpp>
#include <osmium/area/multipolygon_manager.hpp>
#include <osmium/handler.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/io/compression.hpp>
#include <osmium/io/detail/read_write.hpp>
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

// libosmium's coordinate parser multiplies by ten once per unit of a positive
// exponent with no bound, which overflows a 64-bit integer (undefined behaviour) for a
// coordinate such as "19.0E402". OpenStreetMap files write plain decimals, so a file
// with such a coordinate is refused before it is parsed. The parser keeps at most ten
// integer digits and eight decimals, so a value stays below 10^18 while the integer
// digits and the exponent together are at most ten.
bool CoordinateOverflows(std::string_view value) {
  std::size_t i = 0;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) ++i;
  std::size_t integerDigits = 0;
  while (i < value.size() && value[i] >= '0' && value[i] <= '9') ++i, ++integerDigits;
  const std::size_t e = value.find_first_of("eE", i);
  if (e == std::string_view::npos) return false;
  std::size_t j = e + 1;
  if (j < value.size() && value[j] == '-') return false;  // divides: cannot overflow
  if (j < value.size() && value[j] == '+') ++j;
  long exponent = 0;
  for (; j < value.size() && value[j] >= '0' && value[j] <= '9'; ++j)
    exponent = std::min(exponent * 10 + (value[j] - '0'), 1000L);
  return static_cast<long>(integerDigits) + exponent > 10;
}

// Where a coordinate's value starts at `at` in `text`, or kNoValue, or kUnfinished when
// the text ends before that is known: after the name of an XML attribute ending in
// "lat" or "lon", blanks, '=', blanks and a quote (`close` is set to it); in OPL, after
// a blank and x or y.
constexpr std::size_t kNoValue = std::string::npos;
constexpr std::size_t kUnfinished = kNoValue - 1;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::size_t ValueStart(const std::string& text, std::size_t at, bool xml, char& close) {
  if (!xml) {
    if ((text[at] != 'x' && text[at] != 'y') || at == 0 || text[at - 1] != ' ') return kNoValue;
    close = ' ';
    return at + 1;
  }
  if (text.compare(at, 3, "lat") != 0 && text.compare(at, 3, "lon") != 0)
    return at + 3 > text.size() ? kUnfinished : kNoValue;
  std::size_t k = at + 3;
  while (k < text.size() && Blank(text[k])) ++k;
  if (k < text.size() && text[k] != '=') return kNoValue;
  ++k;
  while (k < text.size() && Blank(text[k])) ++k;
  if (k >= text.size()) return kUnfinished;
  if (text[k] != '"' && text[k] != '\'') return kNoValue;
  close = text[k];
  return k + 1;
}

// The first coordinate of an XML or OPL file that would overflow the parser, read
// through the file's decompression in pieces; empty when there is none. A value with a
// character reference counts as overflowing, since the parser sees it decoded.
std::string FindOverflowingCoordinate(const osmium::io::File& file) {
  const bool xml = file.format() == osmium::io::file_format::xml;
  if (!xml && file.format() != osmium::io::file_format::opl) return {};
  const int fd = osmium::io::detail::open_for_reading(file.filename());
  const std::unique_ptr<osmium::io::Decompressor> input =
      osmium::io::CompressionFactory::instance().create_decompressor(file.compression(), fd);
  constexpr std::size_t kLongestValue = 64;    // longer values are cut (and still checked)
  constexpr std::size_t kLongestStart = 4096;  // blanks around '=' beyond this: no value
  std::string text;
  for (std::string piece = input->read(); !piece.empty(); piece = input->read()) {
    text += piece;
    std::size_t keep = text.size();  // the unfinished end goes on with the next piece
    for (std::size_t at = 0; at < text.size(); ++at) {
      char close = ' ';
      const std::size_t from = ValueStart(text, at, xml, close);
      if (from == kNoValue) continue;
      std::size_t stop =
          from == kUnfinished ? kNoValue : text.find_first_of(xml ? std::string(1, close) : " \n", from);
      if (stop == kNoValue && text.size() - at <= kLongestStart + kLongestValue) {
        keep = at;
        break;
      }
      if (from == kUnfinished) continue;
      if (stop == kNoValue) stop = text.size();
      const std::string_view value =
          std::string_view(text).substr(from, std::min(stop - from, kLongestValue));
      if (CoordinateOverflows(value) || (xml && value.find('&') != std::string_view::npos))
        return std::string(value);
    }
    text.erase(0, keep);
  }
  input->close();
  return {};
}

}  // namespace

bool ReadOsmFile(const std::string& path, FeatureSink& sink, InputCounts& counts, std::string& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = path + ": " + ec.message();
    return false;
  }
  try {
    const std::string bad = FindOverflowingCoordinate(osmium::io::File{path});
    if (!bad.empty()) {
      ++counts.unreadable;
      error = path + ": coordinate out of range: '" + bad + "'";
      return false;
    }
  } catch (const std::exception& e) {
    ++counts.unreadable;
    error = path + ": " + e.what();
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
