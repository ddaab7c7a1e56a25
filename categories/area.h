#pragma once
// The area category: built-up areas, forests, lakes, administrative units. Its files
// have the layout of the line category: records with a bounding rectangle naming runs
// of points of a shared coordinate file; each run is a polygon whose last point repeats
// the first. Each area is filled with its layer's fill colour, solid or hatched, and
// outlined with its line colour, style and stroke-0 width.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "categories/category_common.h"
#include "categories/map_category.h"
#include "categories/poly_files.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"

namespace koltar {

// A polygon held for point tests: a copy of its vertices, a closed ring whose last
// vertex repeats the first.
class LCRegion {
 public:
  // Copies `count` vertices; the region is empty when the copy cannot be made.
  LCRegion(const MapPoint* vertices, std::int32_t count);
  // Takes over vertices already copied.
  explicit LCRegion(std::vector<MapPoint> vertices) : points_(std::move(vertices)) {}
  // True when the point lies inside by the even-odd rule of the vertical-ray count:
  // points on the top and side edges are inside, those on the bottom edge outside.
  // False for an empty region.
  bool Contains(MapPoint p) const;

 private:
  std::vector<MapPoint> points_;
};

class MArea final : public MapCategory {
 public:
  // Reads the category's section of the map file and loads DATAFILE, COORDFILE and,
  // when given, NAMEFILE. Never fails: problems are shown and leave the category empty
  // or partly empty.
  MArea(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  MArea(const MArea&) = delete;
  MArea& operator=(const MArea&) = delete;

  CategoryKind kind() const override { return CategoryKind::Area; }
  const std::string& name() const override { return name_; }
  // The union of the records' bounding rectangles.
  MapRect GetExtent() const override { return files_.Extent(); }
  // Fills and outlines every visible area within the update rectangle and sets the
  // drawn flags.
  void Draw(const RenderContext& context) override;

  // The topmost drawn area whose polygon holds the map point.
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
  // Whether the last drawing showed the object (false for indexes outside the records).
  bool IsDrawn(std::int32_t index) const;

 private:
  std::string name_;
  std::string mapFile_;
  PolyFiles files_;
  std::vector<LayerCommon> layers_;
};

}  // namespace koltar
