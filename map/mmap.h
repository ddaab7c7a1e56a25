#pragma once
// MMap: one opened map. Built from a map description (.map) file, it owns the map's
// categories (points, lines, areas, texts and at most one road network), its symbology
// and its linked information, draws the categories in declaration order, and lives as
// long as a map window shows it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/messages.h"
#include "map/road_binding.h"
#include "route/road_data.h"

namespace koltar {

class DeviceContext;
class MArea;
class MCartoSymb;
class MLine;
class MLinkedInfo;
class MOptPath;
class MPoint;
class MText;

// Category type codes of the draw order.
enum class CategoryType : std::int32_t { None = 0, Point = 1, Line = 2, Area = 3, Text = 4, OptPath = 5 };

// The type code of a CATEGORYnn keyword, compared with letter case; None for others.
CategoryType CategoryTypeOf(std::string_view keyword);

class MMap {
 public:
  // Loads the map described by the file. Never fails: problems are shown as messages
  // and leave a partly or wholly empty map.
  explicit MMap(std::string_view fileName);
  // Writes FINDSCALE back into the map file and destroys the parts in order: symbology
  // (which writes itself back), linked information, road network, draw order, then the
  // point, line, area and text categories.
  ~MMap();
  MMap(const MMap&) = delete;
  MMap& operator=(const MMap&) = delete;

  // Draws every category in declaration order for one view, with the progress display
  // and an ESC test before each category.
  void Draw(DeviceContext& dc, const LCTransform& transform, const DeviceRect& update,
            std::int32_t scale);

  // The object under a map point: the categories are asked from the last declared one
  // backwards, and the first point, line or area category whose hit test finds an
  // object wins (texts and the road network are never hit). The outputs are the type,
  // the index within the list of that type and the record index; all -1 (type None)
  // when nothing was found.
  [[nodiscard]] bool HitTest(MapPoint p, CategoryType& type, std::int32_t& category,
                             std::int32_t& object) const;

  // The names of a category and of one of its objects (a point's name with its house
  // numbers). For other types, or indexes outside the lists, both are "". Either
  // output may be null.
  void GetObjectNames(CategoryType type, std::int32_t category, std::int32_t object,
                      std::string* categoryName, std::string* objectName) const;

  // The label under a map point for the label tool: the text categories are asked from
  // the last in draw order backwards, and the first label found wins. `category` is
  // the index in texts(); both outputs are -1 when no label was found.
  [[nodiscard]] bool HitTestLabel(MapPoint p, std::int32_t& category, std::int32_t& label) const;
  // Takes earlier label positions for every text category from the files of the same
  // names as its DATAFILE and NAMEFILE in `directory` (split like a path, so a text
  // without a closing backslash loses its last component).
  void LoadLabelPositions(std::string_view directory);
  // Saves the label positions of every changed text category; true when all of them
  // were saved.
  [[nodiscard]] bool SaveLabelPositions();

  struct DrawEntry {
    CategoryType type = CategoryType::None;
    std::int32_t index = 0;  // within the list of that type
  };

  const std::string& name() const { return name_; }
  const std::string& fileName() const { return fileName_; }
  std::int32_t unit() const { return unit_; }
  MapPoint origin() const { return origin_; }
  const MapRect& extent() const { return extent_; }
  std::int32_t smallestScale() const { return smallestScale_; }
  std::int32_t largestScale() const { return largestScale_; }
  std::int32_t findScale() const { return findScale_; }
  // Callers clamp the value into [smallest, largest] first.
  void SetFindScale(std::int32_t scale) { findScale_ = scale; }
  std::int32_t declaredCount() const { return declaredCount_; }
  const std::vector<DrawEntry>& drawOrder() const { return drawOrder_; }

  MCartoSymb& symbology() { return *symbology_; }
  MLinkedInfo& linkedInfo() { return *linkedInfo_; }
  MOptPath* roadNetwork() { return roadNetwork_.get(); }
  const MOptPath* roadNetwork() const { return roadNetwork_.get(); }
  const std::vector<std::unique_ptr<MPoint>>& points() const { return points_; }
  const std::vector<std::unique_ptr<MLine>>& lines() const { return lines_; }
  const std::vector<std::unique_ptr<MArea>>& areas() const { return areas_; }
  const std::vector<std::unique_ptr<MText>>& texts() const { return texts_; }
  // Text category `index` of texts(), for the label tool's moves; null outside the list.
  MText* text(std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < texts_.size() ? texts_[static_cast<std::size_t>(index)].get()
                                                                          : nullptr;
  }
  std::int32_t townCategory() const { return townCategory_; }
  std::int32_t roadCategory() const { return roadCategory_; }

  // The settlement category (TOWNCATEGORY) as the road network sees it; no settlements
  // when none is named. Valid while the map lives.
  PointSettlements Settlements() const;
  // The road category (ROADCATEGORY) as the road network reads it; empty when none is
  // named. Valid while the map lives.
  RoadData Roads() const;
  // The bounding rectangle of the route's road objects; the empty rectangle without
  // road network or route.
  MapRect GetRouteBounds() const;
  // Deletes the road network's route, if there is one.
  void DeleteRoute();
  // False, after saying which (exclamation icon, `owner` as the box's owner), when
  // CONNECTIONS names no settlement category or no road category: route planning
  // cannot start then.
  [[nodiscard]] bool CheckRouteCategories(WindowHandle owner = nullptr) const;

  // Map windows that show this map count themselves here.
  std::int32_t windowCount() const { return windowCount_; }
  void AddWindow() { ++windowCount_; }
  void RemoveWindow() { --windowCount_; }

 private:
  void Load();
  bool LoadCategories(std::string_view mapDirectory);
  void ReadConnections();
  void BindRoadNetwork();

  std::string name_;
  std::int32_t windowCount_ = 0;
  std::int32_t unit_ = 10;
  std::unique_ptr<MCartoSymb> symbology_;
  std::vector<DrawEntry> drawOrder_;
  std::int32_t declaredCount_ = 0;
  std::vector<std::unique_ptr<MPoint>> points_;
  std::vector<std::unique_ptr<MLine>> lines_;
  std::vector<std::unique_ptr<MArea>> areas_;
  std::vector<std::unique_ptr<MText>> texts_;
  std::unique_ptr<MOptPath> roadNetwork_;
  std::unique_ptr<MLinkedInfo> linkedInfo_;
  MapPoint origin_;
  std::int32_t townCategory_ = -1;
  std::int32_t roadCategory_ = -1;
  std::string fileName_;
  std::int32_t smallestScale_ = 100;
  std::int32_t largestScale_ = 50000000;
  std::int32_t findScale_ = 100;
  MapRect extent_ = MapRect::Empty();
};

}  // namespace koltar
