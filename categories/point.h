#pragma once
// The point category: settlements, places and street segments. Each object is a
// position with a layer, whose symbol bitmap is drawn centred on it at a height given
// in ground metres; an optional ENTITYFILE gives each point a house-number range, so
// that a street stored as a run of equally named points can be searched by house
// number.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "categories/category_common.h"
#include "categories/map_category.h"
#include "categories/record_array.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/bitmap.h"

namespace koltar {

class MCartoSymb;

// The text of one house-number range (an ENTITYFILE record): "%d%c - %d%c" when the
// first number with its letter is below the last, else "%d%c" of the first alone. A
// blank letter leaves its blank: 12 without letter is "12 ".
std::string FormatHouseRange(const std::uint8_t* entityRecord);

class MPoint final : public MapCategory {
 public:
  // Reads the category's section of the map file and loads DATAFILE, NAMEFILE and,
  // when given, ENTITYFILE. Never fails: problems are shown and leave the category
  // empty or partly empty.
  MPoint(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  MPoint(const MPoint&) = delete;
  MPoint& operator=(const MPoint&) = delete;

  CategoryKind kind() const override { return CategoryKind::Point; }
  const std::string& name() const override { return name_; }
  // The smallest rectangle holding every point (symbol sizes do not enter).
  MapRect GetExtent() const override;
  // Draws the symbols of the visible layers within the update rectangle and sets the
  // drawn flags.
  void Draw(const RenderContext& context) override;

  // The topmost drawn object whose symbol rectangle holds the point.
  std::optional<std::int32_t> HitTest(MapPoint p) const override;
  // The object's name with its house-number range, as GetObjectName(index, true).
  std::string GetObjectName(std::int32_t index) const override { return GetObjectName(index, true); }
  // The object's name, with " " and its house-number range appended when asked and the
  // record has one; "" without name table, name, or for an index outside the records.
  std::string GetObjectName(std::int32_t index, bool withHouseNumbers) const;
  std::int32_t ObjectLayer(std::int32_t index) const override;
  std::optional<std::string_view> StoredName(std::int32_t index) const override;
  // The record's position; (0, 0) for an index outside the records.
  MapPoint GetPosition(std::int32_t index) const;
  // The segment of the street starting at record `first` whose range holds the house
  // number written in `houseNumber` ("12", "12/a" reads as 12 and '/'), or the nearest
  // one on the same side; `first` when there is none or no house numbers.
  std::int32_t FindHouseNumber(std::int32_t first, std::string_view houseNumber) const;
  // The first record whose name equals `text` exactly (letter case counts), or -1.
  std::int32_t FindByName(std::string_view text) const;

  std::int32_t recordCount() const override { return records_.count(); }
  std::int32_t layerCount() const override { return static_cast<std::int32_t>(layers_.size()); }
  // The layer names, LAYER01 first.
  std::string LayerName(std::int32_t layerIndex) const override {
    return layers_[static_cast<std::size_t>(layerIndex)].name;
  }
  // The house-number record of object `index`, or null when it has none.
  const std::uint8_t* EntityRecordAt(std::int32_t index) const;
  bool hasHouseNumbers() const { return entities_.present(); }
  // The resolved INFOFILE name, "" when not given.
  const std::string& infoFile() const override { return infoFile_; }
  const std::string& dataFile() const { return dataFile_; }
  const std::string& nameFile() const { return nameFile_; }
  // Whether the last drawing showed the object (false for indexes outside the records).
  bool IsDrawn(std::int32_t index) const;

 private:
  struct Layer : LayerCommon {
    std::unique_ptr<Bitmap> symbol;       // copy of the symbology's bitmap, for one drawing
    std::unique_ptr<Bitmap> mask;         // black where the symbol is transparent, white elsewhere
    std::unique_ptr<Bitmap> inverseMask;  // white where transparent, black elsewhere
    std::int32_t symbolWidth = -1;        // map units; -1 without bitmap
    std::int32_t symbolHeight = 0;        // map units
  };

  bool Valid(std::int32_t index) const {
    return index >= 0 && index < records_.count() && check_.usable(index);
  }
  std::string_view NameOf(std::int32_t index) const;
  void PrepareSymbol(Layer& layer, const MCartoSymb& symbology, std::int32_t unit) const;
  MapRect SymbolRect(const std::uint8_t* record, const Layer& layer) const;
  void CheckRecords();

  std::string name_;
  std::string mapFile_;
  std::string dataFile_;
  std::string nameFile_;
  std::string entityFile_;
  std::string infoFile_;
  RecordArray records_;
  NameTable names_;
  RecordArray entities_;
  std::vector<Layer> layers_;
  RecordCheck check_;
  // Each name's first usable record, made at the first FindByName (batch planning
  // looks up two names a route); the views point into names_, which never changes.
  mutable std::unordered_map<std::string_view, std::int32_t> byName_;
  mutable bool byNameMade_ = false;
};

}  // namespace koltar
