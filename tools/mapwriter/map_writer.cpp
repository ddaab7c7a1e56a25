#include "tools/mapwriter/map_writer.h"

#include <algorithm>

#include "platform/binary.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"

namespace koltar {
namespace {

constexpr const char* kEol = "\r\n";  // description files as the format's home platform writes them

void Line(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(value).append(kEol);
}

void Section(std::string& out, std::string_view name) {
  if (!out.empty()) out += kEol;
  out.append("[").append(name).append("]").append(kEol);
}

void Layers(std::string& out, const std::vector<std::string>& layers) {
  Line(out, "NLAYER", std::to_string(layers.size()));
  for (std::size_t i = 0; i < layers.size(); ++i)
    Line(out, StringPrintf("%s%02d", "LAYER", static_cast<int>(i + 1)), layers[i]);
}

std::string Bytes(std::size_t size) { return std::string(size, '\0'); }

// The records below are laid out with literal offsets on purpose, not through the
// program's record definitions (geometry/records.h): the tests build their maps with
// this writer, so an offset changed by mistake on one side shows as a failing test
// instead of being carried into both the writer and the reader.

void PutRect(char* p, const MapRect& r) {
  WriteI32(p, r.left);
  WriteI32(p + 4, r.top);
  WriteI32(p + 8, r.right);
  WriteI32(p + 12, r.bottom);
}

std::string PointRecords(const PointCategoryWriter& c) {
  std::string out = Bytes(c.records.size() * 16);
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    char* p = out.data() + i * 16;
    WriteI16(p, c.records[i].layer);
    WriteI32(p + 2, c.records[i].at.x);
    WriteI32(p + 6, c.records[i].at.y);
    WriteI32(p + 10, c.records[i].nameOffset);
  }
  return out;
}

std::string EntityRecords(const PointCategoryWriter& c) {
  const std::size_t count = c.entityCount < 0 ? c.records.size() : static_cast<std::size_t>(c.entityCount);
  std::string out = Bytes(count * 8);
  for (const auto& [index, r] : c.houseRanges) {
    if (index < 0 || static_cast<std::size_t>(index) >= count) continue;
    char* p = out.data() + static_cast<std::size_t>(index) * 8;
    p[0] = static_cast<char>(r.flags);
    WriteI16(p + 2, r.first);
    p[4] = r.firstLetter;
    WriteI16(p + 5, r.last);
    p[7] = r.lastLetter;
  }
  return out;
}

std::string PolyRecords(const PolyCategoryWriter& c) {
  std::string out = Bytes(c.records.size() * 32);
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    char* p = out.data() + i * 32;
    const auto& r = c.records[i];
    WriteI16(p, r.layer);
    WriteI16(p + 2, r.pointCount);
    WriteI32(p + 4, r.firstPoint);
    WriteI32(p + 8, r.nameOffset);
    PutRect(p + 12, r.bounds);
  }
  return out;
}

std::string Coords(const std::vector<MapPoint>& points) {
  std::string out = Bytes(points.size() * 8);
  for (std::size_t i = 0; i < points.size(); ++i) {
    WriteI32(out.data() + i * 8, points[i].x);
    WriteI32(out.data() + i * 8 + 4, points[i].y);
  }
  return out;
}

std::string TextRecords(const TextCategoryWriter& c) {
  std::string out = Bytes(c.records.size() * 64);
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    char* p = out.data() + i * 64;
    const auto& r = c.records[i];
    WriteI16(p, r.layer);
    WriteI32(p + 2, r.anchor.x);
    WriteI32(p + 6, r.anchor.y);
    WriteF32(p + 10, r.angle);
    WriteI32(p + 14, r.nameOffset);
    PutRect(p + 18, MapRect::Of(r.anchor.x, r.anchor.y, r.anchor.x, r.anchor.y));
  }
  return out;
}

std::string Nodes(const RoadNetworkWriter& n) {
  std::string out = Bytes(n.nodes.size() * 4);
  for (std::size_t i = 0; i < n.nodes.size(); ++i) WriteI32(out.data() + i * 4, n.nodes[i]);
  return out;
}

std::string Edges(const RoadNetworkWriter& n) {
  std::string out = Bytes(n.edges.size() * 16);
  for (std::size_t i = 0; i < n.edges.size(); ++i) {
    char* p = out.data() + i * 16;
    WriteI32(p, n.edges[i].from);
    WriteI32(p + 4, n.edges[i].to);
    WriteI32(p + 8, n.edges[i].road);
    WriteI32(p + 12, n.edges[i].length);
  }
  return out;
}

std::string FileStem(int number) { return StringPrintf("c%02d", number); }

}  // namespace

std::int32_t NameTableWriter::Add(std::string_view name) {
  if (auto it = offsets_.find(name); it != offsets_.end()) return it->second;
  const auto offset = static_cast<std::int32_t>(bytes_.size());
  bytes_.append(name);
  bytes_.push_back('\0');
  offsets_.emplace(std::string(name), offset);
  return offset;
}

std::int32_t PointCategoryWriter::Add(std::int16_t layer, MapPoint at, std::string_view text) {
  return AddRaw(Record{layer, at, NameOffset(text)});
}

std::int32_t PointCategoryWriter::AddRaw(const Record& record) {
  records.push_back(record);
  return static_cast<std::int32_t>(records.size() - 1);
}

void PointCategoryWriter::SetHouseRange(std::int32_t index, const HouseRange& range) {
  withEntities = true;
  houseRanges[index] = range;
}

std::int32_t PolyCategoryWriter::Add(std::int16_t layer, const std::vector<MapPoint>& points,
                                     std::string_view text) {
  MapRect bounds = MapRect::Empty();
  for (const MapPoint& p : points) bounds = bounds.United(MapRect::Of(p.x, p.y, p.x, p.y));
  const Record r{layer, static_cast<std::int16_t>(points.size()), static_cast<std::int32_t>(coords.size()),
                 NameOffset(text), bounds};
  coords.insert(coords.end(), points.begin(), points.end());
  return AddRaw(r);
}

std::int32_t PolyCategoryWriter::AddRaw(const Record& record) {
  records.push_back(record);
  return static_cast<std::int32_t>(records.size() - 1);
}

std::int32_t TextCategoryWriter::Add(std::int16_t layer, MapPoint anchor, float angle,
                                     std::string_view text) {
  return AddRaw(Record{layer, anchor, angle, NameOffset(text)});
}

std::int32_t TextCategoryWriter::AddRaw(const Record& record) {
  records.push_back(record);
  return static_cast<std::int32_t>(records.size() - 1);
}

SymbologyWriter::Layer& SymbologyWriter::Layer::Set(std::string key, std::string value) {
  for (auto& kv : keys)
    if (kv.first == key) {
      kv.second = std::move(value);
      return *this;
    }
  keys.emplace_back(std::move(key), std::move(value));
  return *this;
}

SymbologyWriter::Layer& SymbologyWriter::Category::AddLayer(std::string layerName) {
  layers.push_back(Layer{std::move(layerName), {}});
  return layers.back();
}

SymbologyWriter::Category& SymbologyWriter::AddCategory(std::string categoryName) {
  categories.push_back(Category{std::move(categoryName), {}, {}});
  return categories.back();
}

std::string SymbologyWriter::Text() const {
  std::string out;
  Section(out, "CATEGORIES");
  Line(out, "N", std::to_string(categories.size()));
  for (std::size_t i = 0; i < categories.size(); ++i)
    Line(out, StringPrintf("%s%02d", "CATEGORY", static_cast<int>(i + 1)), categories[i].name);
  for (const Category& c : categories) {
    Section(out, c.name);
    Line(out, "N", std::to_string(c.layers.size()));
    for (std::size_t i = 0; i < c.layers.size(); ++i)
      Line(out, StringPrintf("%s%02d", "LAYER", static_cast<int>(i + 1)), c.layers[i].name);
    if (!c.displayScale.empty()) Line(out, "DISPLAYSCALE", c.displayScale);
    for (const Layer& l : c.layers) {
      Section(out, c.name + ":" + l.name);
      for (const auto& [key, value] : l.keys) Line(out, key, value);
    }
  }
  return out;
}

MapWriter::MapWriter(std::filesystem::path directory, std::string mapFile)
    : directory_(std::move(directory)), mapFile_(std::move(mapFile)) {}

PointCategoryWriter& MapWriter::AddPoints(std::string categoryName, std::vector<std::string> layers) {
  points_.push_back(std::make_unique<PointCategoryWriter>());
  points_.back()->name = std::move(categoryName);
  points_.back()->layers = std::move(layers);
  entries_.push_back({Kind::Point, points_.size() - 1, {}});
  return *points_.back();
}

PolyCategoryWriter& MapWriter::AddLines(std::string categoryName, std::vector<std::string> layers) {
  lines_.push_back(std::make_unique<PolyCategoryWriter>());
  lines_.back()->name = std::move(categoryName);
  lines_.back()->layers = std::move(layers);
  entries_.push_back({Kind::Line, lines_.size() - 1, {}});
  return *lines_.back();
}

PolyCategoryWriter& MapWriter::AddAreas(std::string categoryName, std::vector<std::string> layers) {
  areas_.push_back(std::make_unique<PolyCategoryWriter>());
  areas_.back()->name = std::move(categoryName);
  areas_.back()->layers = std::move(layers);
  entries_.push_back({Kind::Area, areas_.size() - 1, {}});
  return *areas_.back();
}

TextCategoryWriter& MapWriter::AddTexts(std::string categoryName, std::vector<std::string> layers) {
  texts_.push_back(std::make_unique<TextCategoryWriter>());
  texts_.back()->name = std::move(categoryName);
  texts_.back()->layers = std::move(layers);
  entries_.push_back({Kind::Text, texts_.size() - 1, {}});
  return *texts_.back();
}

RoadNetworkWriter& MapWriter::AddRoadNetwork(std::string categoryName, std::vector<std::string> layers) {
  networks_.push_back(std::make_unique<RoadNetworkWriter>());
  networks_.back()->name = std::move(categoryName);
  networks_.back()->layers = std::move(layers);
  entries_.push_back({Kind::OptPath, networks_.size() - 1, {}});
  return *networks_.back();
}

void MapWriter::AddCategoryLine(std::string value) { entries_.push_back({Kind::Raw, 0, std::move(value)}); }

void MapWriter::AddBitmap(std::string fileName, const BmpPicture& picture) {
  bitmaps_.emplace_back(std::move(fileName), EncodeBmp(picture));
}

std::string MapWriter::MapFileName() const { return ModelFileName(directory_ / mapFile_); }

std::string MapWriter::SectionOf(const Entry& e, int number) const {
  std::string out;
  const std::string stem = FileStem(number);
  const CategoryBase* base = nullptr;
  switch (e.kind) {
    case Kind::Point: {
      const PointCategoryWriter& c = *points_[e.index];
      base = &c;
      Section(out, c.name);
      Line(out, "DATAFILE", stem + ".dat");
      Line(out, "NAMEFILE", stem + ".nam");
      if (c.withEntities) Line(out, "ENTITYFILE", stem + ".ent");
      break;
    }
    case Kind::Line:
    case Kind::Area: {
      const PolyCategoryWriter& c = e.kind == Kind::Line ? *lines_[e.index] : *areas_[e.index];
      base = &c;
      Section(out, c.name);
      Line(out, "DATAFILE", stem + ".dat");
      Line(out, "COORDFILE", stem + ".crd");
      if (!c.names.bytes().empty() || !c.nameTail.empty()) Line(out, "NAMEFILE", stem + ".nam");
      break;
    }
    case Kind::Text: {
      const TextCategoryWriter& c = *texts_[e.index];
      base = &c;
      Section(out, c.name);
      Line(out, "DATAFILE", stem + ".dat");
      Line(out, "NAMEFILE", stem + ".nam");
      break;
    }
    case Kind::OptPath: {
      const RoadNetworkWriter& n = *networks_[e.index];
      Section(out, n.name);
      Line(out, "NODEFILE", stem + ".nod");
      Line(out, "EDGEFILE", stem + ".edg");
      Layers(out, n.layers);
      Line(out, "NCOST", std::to_string(n.costs.size()));
      for (std::size_t i = 0; i < n.costs.size(); ++i) {
        const auto& c = n.costs[i];
        Line(out, StringPrintf("%s%02d", "COST", static_cast<int>(i + 1)),
             StringPrintf("%s,%d,%.2f,%.2f,%.2f", c.name.c_str(), c.enabled, c.distanceFactor, c.speed,
                          c.unitCost));
      }
      Line(out, "DEFAULTCOSTTYPE", std::to_string(n.defaultCostType));
      if (!n.defaultStartNode.empty()) Line(out, "DEFAULTSTARTNODE", n.defaultStartNode);
      if (!n.batchSourceFile.empty()) Line(out, "BATCHSOURCEFILE", n.batchSourceFile);
      if (!n.batchTargetFile.empty()) Line(out, "BATCHTARGETFILE", n.batchTargetFile);
      if (auto it = extraKeys.find(n.name); it != extraKeys.end())
        for (const auto& [key, value] : it->second) Line(out, key, value);
      return out;
    }
    case Kind::Raw: return out;
  }
  if (!base->infoFile.empty()) Line(out, "INFOFILE", base->infoFile);
  Layers(out, base->layers);
  if (auto it = extraKeys.find(base->name); it != extraKeys.end())
    for (const auto& [key, value] : it->second) Line(out, key, value);
  return out;
}

std::string MapWriter::MapText() const {
  static constexpr const char* kKeywords[] = {"POINT", "LINE", "AREA", "TEXT", "OPTPATH", ""};
  std::string out;
  Section(out, "MAP");
  Line(out, "NAME", name);
  Line(out, "UNIT", std::to_string(unit));
  Line(out, "ORIGIN", StringPrintf("%ld,%ld", static_cast<long>(origin.x), static_cast<long>(origin.y)));
  if (!projection.empty()) Line(out, "PROJECTION", projection);
  if (!scaleRange.empty()) Line(out, "SCALERANGE", scaleRange);
  if (!findScale.empty()) Line(out, "FINDSCALE", findScale);
  if (!cartoSymb.empty()) Line(out, "CARTOSYMB", cartoSymb);
  if (!linkedInfo.empty()) Line(out, "LINKEDINFO", linkedInfo);

  Section(out, "CATEGORIES");
  Line(out, "N", std::to_string(entries_.size()));
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    std::string value = e.raw;
    if (e.kind != Kind::Raw) {
      std::string categoryName;
      switch (e.kind) {
        case Kind::Point: categoryName = points_[e.index]->name; break;
        case Kind::Line: categoryName = lines_[e.index]->name; break;
        case Kind::Area: categoryName = areas_[e.index]->name; break;
        case Kind::Text: categoryName = texts_[e.index]->name; break;
        case Kind::OptPath: categoryName = networks_[e.index]->name; break;
        case Kind::Raw: break;
      }
      value = std::string(kKeywords[static_cast<int>(e.kind)]) + "," + categoryName;
    }
    Line(out, StringPrintf("%s%02d", "CATEGORY", static_cast<int>(i + 1)), value);
  }
  if (!townCategory.empty() || !roadCategory.empty()) {
    Section(out, "CONNECTIONS");
    if (!townCategory.empty()) Line(out, "TOWNCATEGORY", townCategory);
    if (!roadCategory.empty()) Line(out, "ROADCATEGORY", roadCategory);
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) out += SectionOf(entries_[i], static_cast<int>(i + 1));
  return out;
}

bool MapWriter::Write() const {
  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  bool ok = WriteFileAtomically(directory_ / mapFile_, MapText());
  auto put = [&](const std::string& file, const std::string& bytes) {
    ok = WriteFileAtomically(directory_ / file, bytes) && ok;
  };
  if (!cartoSymb.empty()) put(cartoSymb, symbology.Text());
  for (const auto& [file, bytes] : bitmaps_) put(file, bytes);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    const std::string stem = FileStem(static_cast<int>(i + 1));
    switch (e.kind) {
      case Kind::Point: {
        const auto& c = *points_[e.index];
        put(stem + ".dat", PointRecords(c) + c.dataTail);
        put(stem + ".nam", c.names.bytes() + c.nameTail);
        if (c.withEntities) put(stem + ".ent", EntityRecords(c));
        break;
      }
      case Kind::Line:
      case Kind::Area: {
        const auto& c = e.kind == Kind::Line ? *lines_[e.index] : *areas_[e.index];
        put(stem + ".dat", PolyRecords(c) + c.dataTail);
        put(stem + ".crd", Coords(c.coords));
        if (!c.names.bytes().empty() || !c.nameTail.empty()) put(stem + ".nam", c.names.bytes() + c.nameTail);
        break;
      }
      case Kind::Text: {
        const auto& c = *texts_[e.index];
        put(stem + ".dat", TextRecords(c) + c.dataTail);
        put(stem + ".nam", c.names.bytes() + c.nameTail);
        break;
      }
      case Kind::OptPath: {
        const auto& n = *networks_[e.index];
        put(stem + ".nod", Nodes(n));
        put(stem + ".edg", Edges(n));
        break;
      }
      case Kind::Raw: break;
    }
  }
  return ok;
}

}  // namespace koltar
