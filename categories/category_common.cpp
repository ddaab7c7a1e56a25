#include "categories/category_common.h"

#include <algorithm>
#include <cmath>

#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "symbology/cartosymb.h"

namespace koltar {
namespace {

constexpr int kFileBuffer = 260;
constexpr int kNameBuffer = 32;

}  // namespace

CategorySection::CategorySection(std::string_view categoryName, std::string_view mapDirectory,
                                 std::string_view mapFileName)
    : categoryName_(categoryName),
      mapDirectory_(mapDirectory),
      mapFile_(ResolveFileName(mapDirectory, mapFileName)) {}

bool CategorySection::CheckMapFile() const {
  if (FileExists(mapFile_)) return true;
  ShowMessage(StringPrintf(kFileNotOpenedFormat, mapFile_.c_str()), MessageKind::Exclamation);
  return false;
}

std::string CategorySection::Value(std::string_view key) const {
  return ReadProfileString(categoryName_, key, "", kFileBuffer, mapFile_);
}

std::string CategorySection::FileName(std::string_view key) const {
  return ResolveFileName(mapDirectory_, Value(key));
}

MemoryBlock CategorySection::Load(std::string_view key, std::string* resolved) const {
  const std::string file = FileName(key);
  if (resolved) *resolved = file;
  return LoadFileToMemory(file);
}

std::string CategorySection::InfoFile() const {
  const std::string written = Value("INFOFILE");
  return written.empty() ? std::string() : ResolveFileName(mapDirectory_, written);
}

std::int32_t CategorySection::LayerCount() const {
  return std::clamp(ReadProfileInt(categoryName_, "NLAYER", 0, mapFile_), 0, kMaxLayers);
}

std::string CategorySection::LayerName(std::int32_t n) const {
  return ReadProfileString(categoryName_, StringPrintf("%s%02ld", "LAYER", static_cast<long>(n)), "",
                           kNameBuffer, mapFile_);
}

void LayerCommon::Prepare(const MCartoSymb& symbology, std::string_view category) {
  visible = symbology.IsLayerVisible(category, name);
  symbology.GetLayerDisplayScale(category, name, smallestScale, largestScale);
}

bool InCategoryScale(const MCartoSymb& symbology, std::string_view category, std::int32_t scale) {
  std::int32_t smallest = 0, largest = 0;
  symbology.GetCategoryDisplayScale(category, smallest, largest);
  return smallest <= scale && scale <= largest;
}

bool ReadyToDraw(const RenderContext& context, std::string_view category, bool filesPresent, bool hasLayers) {
  return filesPresent && InCategoryScale(context.symbology, category, context.scale) && hasLayers;
}

MapRect ViewRectangle(const LCTransform& transform, const DeviceRect& update, const MapRect& mapExtent) {
  const MapPoint a = DeviceToMap(transform, DevicePoint{update.left, update.bottom});
  const MapPoint b = DeviceToMap(transform, DevicePoint{update.right, update.top});
  return MapRect::Of(a.x, b.y, b.x, a.y).Intersected(mapExtent);
}

void RecordCheck::Report(std::string_view dataFile) const {
  if (rejected_ == 0) return;
  ShowMessage(StringPrintf("Hibás adat '%.*s' file-ban: %ld objektum nem jeleníthető meg.\n"
                           "Az első hibás a(z) %ld. rekord: %s.",
                           static_cast<int>(dataFile.size()), dataFile.data(), static_cast<long>(rejected_),
                           static_cast<long>(firstRejected_) + 1, firstReason_.c_str()),
              MessageKind::Exclamation);
}

void CheckCommonFields(RecordArray& records, std::int32_t nameOffsetField, std::int32_t layerCount,
                       const NameTable& names, RecordCheck& check) {
  for (std::int32_t i = 0; i < records.count(); ++i) {
    records.SetDrawn(i, false);
    const std::uint8_t* r = records.at(i);
    const std::int16_t layer = RecordLayer(r);
    if (layer < 1 || layer > layerCount) {
      check.Reject(i, [&] {
        return StringPrintf("a rétegszáma (%d) hibás, a kategóriának %ld rétege van", layer,
                            static_cast<long>(layerCount));
      });
      continue;
    }
    const std::int32_t offset = ReadI32(r + nameOffsetField);
    if (names.present() && offset >= 0 && !names.Holds(offset)) {
      check.Reject(i, [&] {
        if (offset >= names.size())
          return StringPrintf("a név helye (%ld) kívül esik a névtáblán (%ld bájt)",
                              static_cast<long>(offset), static_cast<long>(names.size()));
        return StringPrintf("a név helyén (%ld) kezdődő név nincs lezárva a névtábla végéig",
                            static_cast<long>(offset));
      });
    }
  }
}

std::int32_t CheckPointRuns(const RecordArray& records, const RecordArray& coords, RecordCheck& check) {
  std::int32_t longest = 0;
  for (std::int32_t i = 0; i < records.count(); ++i) {
    if (!check.usable(i)) continue;
    const std::uint8_t* r = records.at(i);
    const std::int32_t count = PolyRecord::PointCount(r);
    const std::int32_t first = PolyRecord::FirstPoint(r);
    if (count < 0) {
      check.Reject(i, [&] { return StringPrintf("a pontjainak száma negatív (%d)", count); });
      continue;
    }
    if (first < 0 || std::int64_t{first} + count > coords.count()) {
      check.Reject(i, [&] {
        return StringPrintf(
            "a pontjai kívül esnek a koordináta file-on (első pont: %ld, pontszám: %d, "
            "a file %ld pontos)",
            static_cast<long>(first), count, static_cast<long>(coords.count()));
      });
      continue;
    }
    longest = std::max(longest, count);
  }
  return longest;
}

}  // namespace koltar
