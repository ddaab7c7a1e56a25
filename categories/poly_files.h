#pragma once
// The files of a line or area category, which share one layout: DATAFILE records
// (PolyRecord) naming runs of points in COORDFILE, an optional name table, and the
// scratch block of device points that drawing converts one object into.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "categories/category_common.h"
#include "categories/record_array.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"

namespace koltar {

class PolyFiles {
 public:
  // Loads DATAFILE and COORDFILE, NAMEFILE when its key is not empty, and resolves
  // INFOFILE (the loaders report failures; absent files stay absent).
  void Load(const CategorySection& section);
  // Checks the records against the layer count and the other files (reporting damaged
  // ones once) and sizes the scratch block for the longest line kept. False after
  // "Nincs elég memória." when the block cannot be had.
  [[nodiscard]] bool Check(std::int32_t layerCount);
  // Load, the category's layer table, then Check. `layers` is left empty when the
  // table is bad or the scratch block cannot be had: the category keeps its records
  // but draws nothing.
  template <typename Layer>
  void Open(const CategorySection& section, std::vector<Layer>& layers) {
    Load(section);
    if (!ReadLayerTable(section, layers)) layers.clear();
    if (!Check(static_cast<std::int32_t>(layers.size()))) layers.clear();
  }

  // True for a record index whose record was kept at load.
  bool Valid(std::int32_t index) const {
    return index >= 0 && index < records.count() && check.usable(index);
  }
  // The union of the bounding rectangles of the records kept.
  MapRect Extent() const;
  // The stored bounding rectangle; the empty rectangle for an index outside the records.
  MapRect Bounds(std::int32_t index) const;
  // The name; "" without name table, with a negative offset or for a record not kept.
  std::string Name(std::int32_t index) const;
  // The layer number of a record kept, 0 for others (MapCategory::ObjectLayer).
  std::int32_t Layer(std::int32_t index) const { return Valid(index) ? RecordLayer(records.at(index)) : 0; }
  // The name in place; none without name table, with a negative offset or for a record
  // not kept (MapCategory::StoredName).
  std::optional<std::string_view> StoredName(std::int32_t index) const;
  // Point j of the record (the record was kept, 0 <= j < its point count).
  MapPoint PointOf(const std::uint8_t* record, std::int32_t j) const {
    return CoordRecord::Read(coords.at(PolyRecord::FirstPoint(record) + j));
  }
  // Converts the record's points into the scratch block; returns their count.
  std::int32_t ToDevice(const LCTransform& transform, const std::uint8_t* record);
  // True when drawing has what it needs: DATAFILE, COORDFILE and the scratch block.
  bool Drawable() const { return records.present() && coords.present() && scratchReady; }

  RecordArray records;  // PolyRecord
  RecordArray coords;   // CoordRecord
  NameTable names;
  std::string dataFile;
  std::string coordFile;
  std::string nameFile;
  std::string infoFile;
  std::vector<DevicePoint> scratch;
  bool scratchReady = false;
  RecordCheck check;
};

}  // namespace koltar
