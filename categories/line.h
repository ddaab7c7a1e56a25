#pragma once
// The line category: roads, railways, rivers, borders. Each object is a run of points
// of the shared coordinate file with a stored bounding rectangle. A layer draws its
// lines with up to three superimposed strokes (casing, fill, centre line), painted in
// three passes over the whole category, so that the casings of all roads lie under
// the fills of all roads and crossings look joined.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "categories/category_common.h"
#include "categories/map_category.h"
#include "categories/poly_files.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/dc.h"

namespace koltar {

class MCartoSymb;

class MLine final : public MapCategory {
 public:
  // Reads the category's section of the map file and loads DATAFILE, COORDFILE and,
  // when given, NAMEFILE. Never fails: problems are shown and leave the category empty
  // or partly empty.
  MLine(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  MLine(const MLine&) = delete;
  MLine& operator=(const MLine&) = delete;

  CategoryKind kind() const override { return CategoryKind::Line; }
  const std::string& name() const override { return name_; }
  // The union of the records' bounding rectangles.
  MapRect GetExtent() const override { return files_.Extent(); }
  // Draws strokes 0, 1 and 2 of every visible line within the update rectangle, one
  // pass per stroke, and sets the drawn flags.
  void Draw(const RenderContext& context) override;

  // The topmost drawn line passing within half its layer's stroke-0 width (as the last
  // drawing computed it) of the map point.
  std::optional<std::int32_t> HitTest(MapPoint p) const override;
  // The object's name; "" without name table or name, or for an index outside the records.
  std::string GetObjectName(std::int32_t index) const override { return files_.Name(index); }
  std::int32_t ObjectLayer(std::int32_t index) const override { return files_.Layer(index); }
  std::optional<std::string_view> StoredName(std::int32_t index) const override {
    return files_.StoredName(index);
  }
  // The record's stored bounding rectangle (the empty rectangle for an index outside
  // the records).
  MapRect GetBounds(std::int32_t index) const { return files_.Bounds(index); }

  std::int32_t recordCount() const override { return files_.records.count(); }
  std::int32_t layerCount() const override { return static_cast<std::int32_t>(layers_.size()); }
  std::string LayerName(std::int32_t layerIndex) const override {
    return layers_[static_cast<std::size_t>(layerIndex)].name;
  }
  // The resolved INFOFILE name, "" when not given.
  const std::string& infoFile() const override { return files_.infoFile; }
  // The loaded records (PolyRecord) and points (CoordRecord), as the road network
  // reads them.
  const RecordArray& records() const { return files_.records; }
  const RecordArray& coords() const { return files_.coords; }
  // False for records that damaged data made unusable (see RecordCheck).
  bool IsUsable(std::int32_t index) const { return files_.Valid(index); }
  // Whether the last drawing showed the object (false for indexes outside the records).
  bool IsDrawn(std::int32_t index) const;

 private:
  struct Layer : LayerCommon {
    std::array<std::int32_t, 3> strokeWidth{};  // map units; 0 when the stroke is not drawn
    std::array<std::optional<Pen>, 3> pen;      // for one drawing
  };

  bool OnLine(const std::uint8_t* record, MapPoint p, double halfWidth) const;

  std::string name_;
  std::string mapFile_;
  PolyFiles files_;
  std::vector<Layer> layers_;
};

}  // namespace koltar
