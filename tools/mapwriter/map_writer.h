#pragma once
// Writes maps in the program's own format: the .map description, the symbology file,
// symbol bitmaps and every category's binary files (records, coordinates, names, house
// numbers, road graph). The tests build their maps with it and the importer writes real
// maps with it. All text is code page 1250.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/geometry.h"
#include "platform/bmp.h"

namespace koltar {

// Zero-ended names addressed by byte offsets; equal names are stored once.
class NameTableWriter {
 public:
  // The offset of the name, adding it when new.
  std::int32_t Add(std::string_view name);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::map<std::string, std::int32_t, std::less<>> offsets_;
};

// What every category writer has: its name, layer names, optional INFOFILE.
struct CategoryBase {
  std::string name;
  std::vector<std::string> layers;
  std::string infoFile;  // written as INFOFILE when not empty
  NameTableWriter names;
  // Bytes written after the records of DATAFILE and after the names, as damaged files
  // have them (a partial record, a name without its zero byte).
  std::string dataTail;
  std::string nameTail;
  // Offset of a name, or -1 for an empty one (no name).
  std::int32_t NameOffset(std::string_view text) { return text.empty() ? -1 : names.Add(text); }
};

// House-number range of one point record.
struct HouseRange {
  std::uint8_t flags = 0;  // 1: the point starts a street with house numbers; 2: holds a range
  std::int16_t first = 0;
  char firstLetter = ' ';
  std::int16_t last = 0;
  char lastLetter = ' ';
};

class PointCategoryWriter : public CategoryBase {
 public:
  struct Record {
    std::int16_t layer;
    MapPoint at;
    std::int32_t nameOffset;
  };
  // Adds a point (layer counted from 1); returns its record index.
  std::int32_t Add(std::int16_t layer, MapPoint at, std::string_view name);
  std::int32_t AddRaw(const Record& record);
  // Gives the category an ENTITYFILE and sets the record's range (others stay zero).
  void SetHouseRange(std::int32_t index, const HouseRange& range);

  std::vector<Record> records;
  std::map<std::int32_t, HouseRange> houseRanges;
  bool withEntities = false;
  // How many house-number records ENTITYFILE gets; -1 for one per point record.
  std::int32_t entityCount = -1;
};

// Lines and areas share one layout: a record names a run of points in COORDFILE.
class PolyCategoryWriter : public CategoryBase {
 public:
  struct Record {
    std::int16_t layer;
    std::int16_t pointCount;
    std::int32_t firstPoint;
    std::int32_t nameOffset;
    MapRect bounds;
  };
  // Adds a polyline or polygon (its points appended to COORDFILE, its bounding rectangle
  // computed); returns its record index.
  std::int32_t Add(std::int16_t layer, const std::vector<MapPoint>& points, std::string_view name);
  std::int32_t AddRaw(const Record& record);

  std::vector<Record> records;
  std::vector<MapPoint> coords;
};

class TextCategoryWriter : public CategoryBase {
 public:
  struct Record {
    std::int16_t layer;
    MapPoint anchor;
    float angle;
    std::int32_t nameOffset;
  };
  std::int32_t Add(std::int16_t layer, MapPoint anchor, float angle, std::string_view name);
  std::int32_t AddRaw(const Record& record);

  std::vector<Record> records;
};

class RoadNetworkWriter {
 public:
  struct Edge {
    std::int32_t from;
    std::int32_t to;
    std::int32_t road;    // road object index, -1 for none
    std::int32_t length;  // metres
  };
  struct Cost {
    std::string name;
    int enabled = 1;
    double distanceFactor = 1.0;
    double speed = 0.0;     // km/h
    double unitCost = 0.0;  // Ft/km
  };
  std::string name;
  std::vector<std::string> layers;  // LAYER01 is the route's symbology layer
  std::vector<std::int32_t> nodes;  // settlement record per node, -1 for a junction
  std::vector<Edge> edges;          // written in this order
  std::vector<Cost> costs;          // NCOST and COSTnn
  int defaultCostType = 0;
  std::string defaultStartNode;  // DEFAULTSTARTNODE when not empty
  std::string batchSourceFile;
  std::string batchTargetFile;
};

// The symbology file: per category an optional DISPLAYSCALE and its layers, per layer
// the keys in the order given (values as they are written in the file).
class SymbologyWriter {
 public:
  struct Layer {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
    Layer& Set(std::string key, std::string value);
  };
  struct Category {
    std::string name;
    std::string displayScale;  // written when not empty
    std::vector<Layer> layers;
    Layer& AddLayer(std::string layerName);
  };
  Category& AddCategory(std::string categoryName);
  std::string Text() const;  // the whole file

  std::vector<Category> categories;
};

class MapWriter {
 public:
  // The map will be written into `directory` as `mapFile` with its other files beside it.
  explicit MapWriter(std::filesystem::path directory, std::string mapFile = "map.map");

  PointCategoryWriter& AddPoints(std::string name, std::vector<std::string> layers);
  PolyCategoryWriter& AddLines(std::string name, std::vector<std::string> layers);
  PolyCategoryWriter& AddAreas(std::string name, std::vector<std::string> layers);
  TextCategoryWriter& AddTexts(std::string name, std::vector<std::string> layers);
  RoadNetworkWriter& AddRoadNetwork(std::string name, std::vector<std::string> layers);
  // A CATEGORYnn value written as it stands, for maps with faulty lines.
  void AddCategoryLine(std::string value);
  // A BMP file beside the map.
  void AddBitmap(std::string fileName, const BmpPicture& picture);

  // Writes every file; false when one of them could not be written.
  [[nodiscard]] bool Write() const;
  // The model file name of the .map file.
  std::string MapFileName() const;
  const std::filesystem::path& directory() const { return directory_; }

  // [MAP] keys; empty texts are not written.
  std::string name;
  std::int32_t unit = 10;
  MapPoint origin;
  std::string projection;  // PROJECTION (geometry/projection.h)
  std::string scaleRange;
  std::string findScale;
  std::string cartoSymb = "symbology.ini";  // written as CARTOSYMB when not empty
  std::string linkedInfo;
  // [CONNECTIONS] keys; empty ones are not written.
  std::string townCategory;
  std::string roadCategory;
  SymbologyWriter symbology;
  // Extra lines for a category's own section (key, value), by category name.
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> extraKeys;

 private:
  enum class Kind { Point, Line, Area, Text, OptPath, Raw };
  struct Entry {
    Kind kind;
    std::size_t index;  // into the list of its kind
    std::string raw;    // for Kind::Raw
  };

  std::string MapText() const;
  std::string SectionOf(const Entry& entry, int number) const;

  std::filesystem::path directory_;
  std::string mapFile_;
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<PointCategoryWriter>> points_;
  std::vector<std::unique_ptr<PolyCategoryWriter>> lines_;
  std::vector<std::unique_ptr<PolyCategoryWriter>> areas_;
  std::vector<std::unique_ptr<TextCategoryWriter>> texts_;
  std::vector<std::unique_ptr<RoadNetworkWriter>> networks_;
  std::vector<std::pair<std::string, std::string>> bitmaps_;
};

}  // namespace koltar
