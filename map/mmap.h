#pragma once
// MMap: one opened map. Built from a map description (.map) file, it owns the map's
// categories (points, lines, areas, texts and at most one road network), its symbology
// and its linked information, draws the categories in declaration order, and lives as
// long as a map window shows it.
//
// The categories are kept in one list in declaration (draw) order behind the
// MapCategory interface; the road network has its place there through RouteCategory,
// which draws the route. Drawing, hit tests, names and extents go through that list;
// the typed lists points(), lines() and texts() serve what only those kinds offer.

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "categories/map_category.h"
#include "geometry/geometry.h"
#include "geometry/projection.h"
#include "geometry/transform.h"
#include "map/road_binding.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "route/road_data.h"

namespace koltar {

class DeviceContext;
class MCartoSymb;
class MLine;
class MLinkedInfo;
class MOptPath;
class MPoint;
class MText;
class RouteCategory;

// The object the name tool finds: its category (one of the map's drawOrder()) and its
// record index there.
struct ObjectHit {
  const MapCategory* category = nullptr;
  std::int32_t object = -1;
  bool operator==(const ObjectHit&) const = default;
};

// The names the name tool shows for a hit.
struct ObjectNames {
  std::string category;
  std::string object;  // a point's with its house-number range
};

// The category's name and the object's; both "" for a hit without category.
ObjectNames GetObjectNames(const ObjectHit& hit);

// The label the label tool finds: the index of its category in the map's texts() and
// its record index there.
struct LabelHit {
  std::int32_t category = -1;
  std::int32_t label = -1;
  bool operator==(const LabelHit&) const = default;
};

class MMap {
 public:
  // Loads the map described by the file. Never fails: problems are shown as messages
  // and leave a partly or wholly empty map.
  explicit MMap(std::string_view fileName);
  // Writes FINDSCALE back into the map file and destroys the parts in order: symbology
  // (which writes itself back), linked information, road network, then the categories
  // in draw order (text categories ask whether to save moved labels).
  ~MMap();
  MMap(const MMap&) = delete;
  MMap& operator=(const MMap&) = delete;

  // Draws every category in declaration order for one view, with the progress display
  // and an ESC test before each CATEGORYnn line (lines that made no category count
  // too). `progress` shows the gauge and is polled for ESC, by the categories too,
  // once per object.
  void Draw(DeviceContext& dc, const LCTransform& transform, const DeviceRect& update, std::int32_t scale,
            ProgressService& progress = Progress());

  // The object under a map point: the categories are asked from the last declared one
  // backwards, and the first whose hit test finds an object wins (texts and the road
  // network are never hit).
  std::optional<ObjectHit> HitTest(MapPoint p) const;

  // The label under a map point for the label tool: the text categories are asked from
  // the last in draw order backwards, and the first label found wins.
  std::optional<LabelHit> HitTestLabel(MapPoint p) const;
  // Takes earlier label positions for every text category from the files of the same
  // names as its DATAFILE and NAMEFILE in `directory` (split like a path, so a text
  // without a closing backslash loses its last component).
  void LoadLabelPositions(std::string_view directory);
  // Saves the label positions of every changed text category; true when all of them
  // were saved.
  [[nodiscard]] bool SaveLabelPositions();

  const std::string& name() const { return name_; }
  const std::string& fileName() const { return fileName_; }
  std::int32_t unit() const { return unit_; }
  MapPoint origin() const { return origin_; }
  // The projection of the map's plane that the map file records ([MAP] PROJECTION, see
  // geometry/projection.h); none when it records none, or one that cannot be read.
  const std::optional<TransverseMercator>& projection() const { return projection_; }
  // The geographic position (WGS 84) of a map point; none without a projection.
  std::optional<GeoPosition> ToGeographic(MapPoint p) const;
  const MapRect& extent() const { return extent_; }
  std::int32_t smallestScale() const { return smallestScale_; }
  std::int32_t largestScale() const { return largestScale_; }
  std::int32_t findScale() const { return findScale_; }
  // Callers clamp the value into [smallest, largest] first.
  void SetFindScale(std::int32_t scale) { findScale_ = scale; }
  std::int32_t declaredCount() const { return declaredCount_; }
  // The categories in draw order, the road network's drawing at its place. Lines that
  // named no valid type, and lines after an early end of loading, made none.
  const std::vector<std::unique_ptr<MapCategory>>& drawOrder() const { return categories_; }

  MCartoSymb& symbology() { return *symbology_; }
  MLinkedInfo& linkedInfo() { return *linkedInfo_; }
  MOptPath* roadNetwork() { return roadNetwork_.get(); }
  const MOptPath* roadNetwork() const { return roadNetwork_.get(); }
  // The point, line and text categories of drawOrder(), each list in draw order.
  const std::vector<MPoint*>& points() const { return points_; }
  const std::vector<MLine*>& lines() const { return lines_; }
  const std::vector<MText*>& texts() const { return texts_; }
  // Text category `index` of texts(), for the label tool's moves; null outside the list.
  MText* text(std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < texts_.size()
               ? texts_[static_cast<std::size_t>(index)]
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
  bool AddCategory(std::int32_t line, CategoryKind kind, const std::string& category,
                   std::string_view mapDirectory);
  void ReadConnections();
  void BindRoadNetwork();

  std::string name_;
  std::int32_t windowCount_ = 0;
  std::int32_t unit_ = 10;
  std::unique_ptr<MCartoSymb> symbology_;
  std::int32_t declaredCount_ = 0;
  // The CATEGORYnn lines a drawing steps through: declaredCount_ once there was memory
  // for the draw order, else 0.
  std::int32_t drawLines_ = 0;
  // The CATEGORYnn lines loading went through before it ended early (all of them when
  // it did not): a drawing ends there once every category is drawn.
  std::int32_t loadedLines_ = std::numeric_limits<std::int32_t>::max();
  std::vector<std::unique_ptr<MapCategory>> categories_;
  std::vector<std::int32_t> lineOf_;  // the CATEGORYnn line (from 0) of each category
  std::vector<MPoint*> points_;
  std::vector<MLine*> lines_;
  std::vector<MText*> texts_;
  std::unique_ptr<MOptPath> roadNetwork_;
  RouteCategory* route_ = nullptr;  // the road network's entry in categories_
  std::unique_ptr<MLinkedInfo> linkedInfo_;
  MapPoint origin_;
  std::optional<TransverseMercator> projection_;
  std::int32_t townCategory_ = -1;
  std::int32_t roadCategory_ = -1;
  std::string fileName_;
  std::int32_t smallestScale_ = 100;
  std::int32_t largestScale_ = 50000000;
  std::int32_t findScale_ = 100;
  MapRect extent_ = MapRect::Empty();
};

}  // namespace koltar
