#pragma once
// What the map object asks of every kind of map content: the point, line, area and
// text categories, and the road network's drawing (map/route_category.h). The map
// object keeps them in draw order behind this one interface and makes one virtual
// call per category; the loops over a category's objects stay inside the category.
//
// RenderContext is the one value that carries what a drawing needs, handed to every
// category of one drawing unchanged.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/progress.h"

namespace koltar {

class DeviceContext;
class MCartoSymb;

// The kinds of content a CATEGORYnn line declares, by its type keyword.
enum class CategoryKind : std::int32_t { Point = 1, Line = 2, Area = 3, Text = 4, OptPath = 5 };

// The kind of a type keyword ("LINE", "POINT", "AREA", "TEXT", "OPTPATH"), compared
// with letter case; none for any other text.
std::optional<CategoryKind> CategoryKindOf(std::string_view keyword);
// The type keyword of a kind, as the map file writes it.
std::string_view KeywordOf(CategoryKind kind);

// Everything one drawing of one view needs. The references must outlive the drawing.
struct RenderContext {
  DeviceContext& dc;
  LCTransform transform;  // map units to device pixels
  DeviceRect update;      // the device rectangle to draw
  MapRect mapExtent;      // the map's extent; the view rectangle is cut to it
  std::int32_t scale;     // the scale denominator of the view
  const MCartoSymb& symbology;
  std::int32_t unit;          // metres per map unit
  ProgressService& progress;  // asked for ESC before every object

  // True once ESC was pressed; categories ask before every object they draw.
  bool EscapePressed() const { return progress.EscapePressed(); }
  // The part of the map the update rectangle shows, within the map's extent.
  MapRect View() const;
};

class MapCategory {
 public:
  virtual ~MapCategory() = default;

  virtual CategoryKind kind() const = 0;
  // The category's name: its section in the map file and its key in the symbology.
  virtual const std::string& name() const = 0;
  // The rectangle the category's objects cover (the map's extent is their union);
  // the empty rectangle when it has none.
  virtual MapRect GetExtent() const = 0;
  // Draws the category for one view and notes which objects it showed, so that hit
  // tests find only those. The four categories draw nothing, and change nothing, when
  // their files are missing, when the scale lies outside the category's display-scale
  // range, or without layers (tested in that order, see ReadyToDraw).
  virtual void Draw(const RenderContext& context) = 0;
  // The topmost object of the last drawing that the name tool finds at the map point,
  // by record index. Kinds the name tool never finds (labels, the route) find none.
  virtual std::optional<std::int32_t> HitTest(MapPoint p) const;
  // The object's name as the name tool shows it (a point's with its house-number
  // range); "" without a name, or for an index outside the records.
  virtual std::string GetObjectName(std::int32_t index) const = 0;
  // The resolved INFOFILE name, "" when not given.
  virtual const std::string& infoFile() const;
  // The layer number (1 ... layerCount()) of a record kept at load; 0 for records
  // refused at load, indexes outside the records, and kinds without objects to search.
  virtual std::int32_t ObjectLayer(std::int32_t index) const;
  // The object's own name as stored, read in place (a point's without its house
  // numbers; valid while the category lives). None without a name table, for a negative
  // name offset, and where ObjectLayer is 0.
  virtual std::optional<std::string_view> StoredName(std::int32_t index) const;

  // The number of records of DATAFILE (whole records, damaged ones included).
  virtual std::int32_t recordCount() const = 0;
  // NLAYER as loaded.
  virtual std::int32_t layerCount() const = 0;
  // The name of a layer, 0 <= layerIndex < layerCount() (LAYER01 is 0).
  virtual std::string LayerName(std::int32_t layerIndex) const = 0;
};

}  // namespace koltar
