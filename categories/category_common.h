#pragma once
// What the point, line, area and text categories share besides their interface
// (categories/map_category.h); each holds these pieces and calls them: the category's
// section of the map file and the files it names, the fields every layer table entry
// begins with, the test before a drawing and its view rectangle, and the check of
// damaged records at load.
//
// A category is configured by the section of the .map file named after it (DATAFILE,
// NAMEFILE, COORDFILE, ENTITYFILE, INFOFILE, NLAYER, LAYER01...). Its objects are named
// by their record index in DATAFILE.

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "categories/map_category.h"
#include "categories/record_array.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/dc.h"
#include "platform/files.h"
#include "platform/message_texts.h"
#include "symbology/styles.h"

namespace koltar {

class MCartoSymb;

// The most layers a category can address: record layer numbers are int16.
inline constexpr std::int32_t kMaxLayers = 32767;

// The section of one category in the map file.
class CategorySection {
 public:
  // `mapFileName` is resolved against `mapDirectory`; that file's section
  // `categoryName` holds the keys.
  CategorySection(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);

  const std::string& categoryName() const { return categoryName_; }
  const std::string& mapFile() const { return mapFile_; }

  // False, after "'%s' file nem nyitható meg." (exclamation icon), when the map file
  // does not exist: the category then stays empty.
  [[nodiscard]] bool CheckMapFile() const;

  // The key's file name resolved against the map directory (an empty value resolves to
  // the directory itself, so that loading it reports a file that cannot be opened).
  std::string FileName(std::string_view key) const;
  // The key's value as written, "" when absent.
  std::string Value(std::string_view key) const;

  // Loads the file the key names, whole; an invalid block after the loader's message.
  // `resolved` receives the resolved name when given.
  [[nodiscard]] MemoryBlock Load(std::string_view key, std::string* resolved = nullptr) const;

  // INFOFILE resolved, or "" when not given.
  std::string InfoFile() const;

  // NLAYER, limited to 0 ... kMaxLayers.
  std::int32_t LayerCount() const;
  // The name of layer n (LAYERnn, 1 <= n), at most 31 characters.
  std::string LayerName(std::int32_t n) const;

 private:
  std::string categoryName_;
  std::string mapDirectory_;
  std::string mapFile_;
};

// The fields every layer table entry begins with.
struct LayerCommon {
  std::string name;                // LAYERnn; the layer's key in the symbology
  std::int32_t visible = 0;        // IsLayerVisible at the last drawing
  std::int32_t smallestScale = 0;  // GetLayerDisplayScale at the last drawing
  std::int32_t largestScale = 0;

  // Takes visibility and scale range from the symbology (at the start of a drawing).
  void Prepare(const MCartoSymb& symbology, std::string_view category);
  // Visible, and smallest <= scale <= largest (both bounds included).
  bool Shows(std::int32_t scale) const {
    return visible != 0 && smallestScale <= scale && scale <= largestScale;
  }
};

// Reads NLAYER and LAYERnn into a layer table of the kind's entries. False, with an
// empty table, after "Nincs elég memória." when the table cannot be allocated.
template <class Layer>
[[nodiscard]] bool ReadLayerTable(const CategorySection& section, std::vector<Layer>& layers) {
  const std::int32_t count = section.LayerCount();
  try {
    layers.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    layers.clear();
    ShowNoMemory();
    return false;
  }
  for (std::int32_t n = 1; n <= count; ++n)
    layers[static_cast<std::size_t>(n - 1)].name = section.LayerName(n);
  return true;
}

// True when the scale lies within the category's display-scale range.
bool InCategoryScale(const MCartoSymb& symbology, std::string_view category, std::int32_t scale);

// The test every kind makes before it draws, in one order: its files are there, the
// view's scale lies within the category's display-scale range, it has layers. When it
// fails the category draws nothing and its drawn flags keep their values.
bool ReadyToDraw(const RenderContext& context, std::string_view category, bool filesPresent, bool hasLayers);

// The part of the map a drawing covers: the update rectangle's corners (left, bottom)
// and (right, top) in map units, intersected with the map extent.
MapRect ViewRectangle(const LCTransform& transform, const DeviceRect& update, const MapRect& mapExtent);

// The records that damaged files make unusable. A data file is not guarded by its
// format: a layer number outside 1 ... NLAYER, a name offset outside the name table,
// a coordinate run outside COORDFILE would make drawing and naming read wrong memory.
// Such records are found once at load; drawing, hit tests and names skip them, and
// the file's message tells how many there are and why the first one was refused.
class RecordCheck {
 public:
  explicit RecordCheck(std::int32_t count = 0) : usable_(static_cast<std::size_t>(count), 1) {}

  bool usable(std::int32_t i) const { return usable_[static_cast<std::size_t>(i)] != 0; }
  std::int32_t rejected() const { return rejected_; }

  // Marks record i unusable and counts it for the message. `reason` (a callable giving
  // the text) is asked only for the first record refused.
  template <class Reason>
  void Reject(std::int32_t i, Reason&& reason) {
    if (!usable(i)) return;
    usable_[static_cast<std::size_t>(i)] = 0;
    if (rejected_++ == 0) {
      firstRejected_ = i;
      firstReason_ = reason();
    }
  }
  // Marks record i unusable for a fault that another file's message reports.
  void Exclude(std::int32_t i) { usable_[static_cast<std::size_t>(i)] = 0; }

  // Shows the message for the data file when records were refused:
  // "Hibás adat '%s' file-ban: %ld objektum nem jeleníthető meg.\nAz első hibás a(z)
  // %ld. rekord: %s." (exclamation icon, records counted from 1).
  void Report(std::string_view dataFile) const;

 private:
  std::vector<std::uint8_t> usable_;
  std::int32_t rejected_ = 0;
  std::int32_t firstRejected_ = -1;
  std::string firstReason_;
};

// The checks every kind makes at load: clears every drawn flag (the stored values mean
// nothing, and an object must not be hit before it was drawn) and refuses records
// whose layer number lies outside 1 ... layerCount or whose name offset the name table
// does not hold (negative offsets, no name, are fine; without a name table every name
// is "" and offsets are not looked at).
void CheckCommonFields(RecordArray& records, std::int32_t nameOffsetField, std::int32_t layerCount,
                       const NameTable& names, RecordCheck& check);

// Refuses line and area records whose point count is negative or whose points run
// outside COORDFILE; returns the largest point count of the records kept.
std::int32_t CheckPointRuns(const RecordArray& records, const RecordArray& coords, RecordCheck& check);

}  // namespace koltar
