#include "categories/point.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/dc.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "platform/text.h"
#include "symbology/cartosymb.h"

namespace koltar {
namespace {

// A house number with its letter as one key: number x 256 + the letter's code taken as
// a signed 8-bit value, so 12 < 12/a < 13 when a blank stands for "no letter".
std::int64_t HouseKey(std::int64_t number, char letter) {
  return number * 256 + static_cast<signed char>(letter);
}

bool IsOdd(std::int64_t n) { return (n & 1) != 0; }

// Reads a house number as "%d%c" would: the number, or -1 when none can be read, and the
// character right after it, a blank when there is none.
void ReadHouseNumber(std::string_view text, std::int64_t& number, char& letter) {
  number = -1;
  letter = ' ';
  const std::string s(text);
  char* end = nullptr;
  const long value = std::strtol(s.c_str(), &end, 10);
  if (end == s.c_str()) return;
  number = std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max());
  if (*end != '\0') letter = *end;
}

}  // namespace

std::string FormatHouseRange(const std::uint8_t* e) {
  const int first = EntityRecord::First(e);
  const int last = EntityRecord::Last(e);
  const char firstLetter = EntityRecord::FirstLetter(e);
  const char lastLetter = EntityRecord::LastLetter(e);
  std::string text = HouseKey(first, firstLetter) < HouseKey(last, lastLetter)
                         ? StringPrintf("%d%c - %d%c", first, firstLetter, last, lastLetter)
                         : StringPrintf("%d%c", first, firstLetter);
  // A zero letter ends the text, as it would end a C string.
  text.resize(std::strlen(text.c_str()));
  return text;
}

MPoint::MPoint(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName)
    : name_(categoryName) {
  const CategorySection section(categoryName, mapDirectory, mapFileName);
  mapFile_ = section.mapFile();
  if (!section.CheckMapFile()) return;

  records_ = RecordArray(section.Load("DATAFILE", &dataFile_), PointRecord::kSize, PointRecord::kDrawn);
  names_ = NameTable(section.Load("NAMEFILE", &nameFile_));
  if (!section.Value("ENTITYFILE").empty())
    entities_ = RecordArray(section.Load("ENTITYFILE", &entityFile_), EntityRecord::kSize);
  infoFile_ = section.InfoFile();
  if (!ReadLayerTable(section, layers_)) {
    check_ = RecordCheck(records_.count());
    for (std::int32_t i = 0; i < records_.count(); ++i) records_.SetDrawn(i, false);
    return;
  }
  CheckRecords();
}

void MPoint::CheckRecords() {
  check_ = RecordCheck(records_.count());
  CheckCommonFields(records_, PointRecord::kNameOffset, layerCount(), names_, check_);
  check_.Report(dataFile_);
  if (entities_.present() && entities_.count() < records_.count()) {
    // Points beyond the end of the house-number file cannot be told apart from a
    // damaged street; they are left out like other damaged records.
    for (std::int32_t i = entities_.count(); i < records_.count(); ++i) check_.Exclude(i);
    ShowMessage(StringPrintf("A '%s' file rövidebb, mint a '%s' file: %ld objektumnak nincs házszám "
                             "rekordja, ezek nem jeleníthetők meg.",
                             entityFile_.c_str(), dataFile_.c_str(),
                             static_cast<long>(records_.count() - entities_.count())),
                MessageKind::Exclamation);
  }
}

MapRect MPoint::GetExtent() const {
  MapRect extent = MapRect::Empty();
  for (std::int32_t i = 0; i < records_.count(); ++i) {
    if (!check_.usable(i)) continue;
    const MapPoint p = PointRecord::Position(records_.at(i));
    extent = extent.United(MapRect::Of(p.x, p.y, p.x, p.y));
  }
  return extent;
}

void MPoint::PrepareSymbol(Layer& layer, const MCartoSymb& symbology, std::int32_t unit) const {
  layer.symbol.reset();
  layer.mask.reset();
  layer.inverseMask.reset();
  layer.symbolWidth = -1;
  layer.symbolHeight = GroundToMapLength(symbology.GetBitmapHeight(name_, layer.name), unit);
  const Bitmap* bitmap = symbology.GetBitmap(name_, layer.name);
  if (!bitmap || bitmap->width() <= 0 || bitmap->height() <= 0) return;
  // The symbol keeps the bitmap's aspect ratio (computed as w x h / height, which is
  // exact, so that a whole width is not lost to rounding).
  layer.symbolWidth =
      ClampToInt32(static_cast<double>(bitmap->width()) * layer.symbolHeight / bitmap->height());
  if (layer.symbolWidth < 1) return;
  layer.symbol = bitmap->Clone();
  if (!layer.symbol || !symbology.HasTransparentColor(name_, layer.name)) return;

  // The masks let the background show through the transparent pixels: the inverse mask
  // is ANDed onto the device (clearing the opaque part), then the symbol, whose
  // transparent pixels are made black, is ORed over it.
  const ColorRef transparent = symbology.GetTransparentColor(name_, layer.name);
  const int w = layer.symbol->width();
  const int h = layer.symbol->height();
  std::unique_ptr<Bitmap> mask = Images().CreateBitmap(w, h);  // all black
  if (!mask) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (layer.symbol->GetPixel(x, y) != transparent) mask->SetPixel(x, y, kWhite);
  std::unique_ptr<Bitmap> inverse = mask->Clone();
  if (!inverse) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      inverse->SetPixel(x, y, ~mask->GetPixel(x, y) & kWhite);
      if (mask->GetPixel(x, y) == kBlack) layer.symbol->SetPixel(x, y, kBlack);
    }
  layer.mask = std::move(mask);
  layer.inverseMask = std::move(inverse);
}

MapRect MPoint::SymbolRect(const std::uint8_t* record, const Layer& layer) const {
  const MapPoint p = PointRecord::Position(record);
  const std::int32_t w = layer.symbolWidth;
  const std::int32_t h = layer.symbolHeight;
  const std::int32_t left = ClampToInt32(std::int64_t{p.x} - w / 2);
  const std::int32_t top = ClampToInt32(std::int64_t{p.y} + h / 2);
  return MapRect::Of(left, top, ClampToInt32(std::int64_t{left} + w), ClampToInt32(std::int64_t{top} - h));
}

void MPoint::Draw(const RenderContext& context) {
  if (!ReadyToDraw(context, name_, records_.present(), !layers_.empty())) return;
  DeviceContext& dc = context.dc;
  const LCTransform& transform = context.transform;
  const std::int32_t scale = context.scale;
  for (Layer& layer : layers_) {
    layer.Prepare(context.symbology, name_);
    PrepareSymbol(layer, context.symbology, context.unit);
  }
  const MapRect view = context.View();
  const bool canStretchBlt = dc.CanStretchBlt();
  const bool canStretchDib = dc.CanStretchDib();

  for (std::int32_t i = 0; i < records_.count(); ++i) {
    if (context.EscapePressed()) break;
    if (!check_.usable(i)) continue;
    const std::uint8_t* r = records_.at(i);
    const Layer& layer = layers_[static_cast<std::size_t>(RecordLayer(r) - 1)];
    if (!layer.Shows(scale) || !layer.symbol) {
      records_.SetDrawn(i, false);
      continue;
    }
    const MapRect rect = SymbolRect(r, layer);
    if (!rect.Intersects(view)) continue;

    const DevicePoint corner = MapToDevice(transform, MapPoint{rect.left, rect.top});
    const DeviceRect target{
        corner.x, corner.y,
        ClampToInt32(std::int64_t{corner.x} + MapLengthToDevice(transform, layer.symbolWidth)),
        ClampToInt32(std::int64_t{corner.y} + MapLengthToDevice(transform, layer.symbolHeight))};
    const DeviceRect source{0, 0, layer.symbol->width(), layer.symbol->height()};
    if (canStretchBlt) {
      if (layer.inverseMask) {
        dc.StretchBlt(target, *layer.inverseMask, source, RasterOp::And);
        dc.StretchBlt(target, *layer.symbol, source, RasterOp::Or);
      } else {
        dc.StretchBlt(target, *layer.symbol, source, RasterOp::Copy);
      }
    } else if (canStretchDib) {
      dc.StretchDib(target, *layer.symbol, source);  // no transparency on such devices
    } else {
      ShowMessage(
          "Az aktuális output eszköz (képernyő/nyomtató) nem támogatja a bittérképek "
          "megjelenítéséhez szükséges funkciókat.",
          MessageKind::Exclamation);
      records_.SetDrawn(i, false);
      break;
    }
    records_.SetDrawn(i, true);
  }

  for (Layer& layer : layers_) {
    layer.symbol.reset();
    layer.mask.reset();
    layer.inverseMask.reset();
  }
}

std::optional<std::int32_t> MPoint::HitTest(MapPoint p) const {
  if (layers_.empty()) return std::nullopt;
  for (std::int32_t i = records_.count() - 1; i >= 0; --i) {
    if (!check_.usable(i) || !records_.IsDrawn(i)) continue;
    const std::uint8_t* r = records_.at(i);
    if (SymbolRect(r, layers_[static_cast<std::size_t>(RecordLayer(r) - 1)]).Contains(p)) return i;
  }
  return std::nullopt;
}

std::string_view MPoint::NameOf(std::int32_t index) const {
  if (!Valid(index)) return {};
  return names_.NameAt(ReadI32(records_.at(index) + PointRecord::kNameOffset));
}

std::string MPoint::GetObjectName(std::int32_t index, bool withHouseNumbers) const {
  if (!Valid(index) || !names_.present()) return {};
  const std::int32_t offset = ReadI32(records_.at(index) + PointRecord::kNameOffset);
  if (offset < 0) return {};
  std::string text(names_.NameAt(offset));
  if (withHouseNumbers) {
    const std::uint8_t* entity = EntityRecordAt(index);
    if (entity && (EntityRecord::Flags(entity) & EntityRecord::kHasRange) != 0)
      text.append(" ").append(FormatHouseRange(entity));
  }
  return text;
}

std::int32_t MPoint::ObjectLayer(std::int32_t index) const {
  return Valid(index) ? RecordLayer(records_.at(index)) : 0;
}

std::optional<std::string_view> MPoint::StoredName(std::int32_t index) const {
  if (!Valid(index) || !names_.present()) return std::nullopt;
  const std::int32_t offset = ReadI32(records_.at(index) + PointRecord::kNameOffset);
  if (offset < 0) return std::nullopt;
  return names_.NameAt(offset);
}

MapPoint MPoint::GetPosition(std::int32_t index) const {
  if (index < 0 || index >= records_.count()) return {};
  return PointRecord::Position(records_.at(index));
}

const std::uint8_t* MPoint::EntityRecordAt(std::int32_t index) const {
  if (!Valid(index) || index >= entities_.count()) return nullptr;
  return entities_.at(index);
}

bool MPoint::IsDrawn(std::int32_t index) const {
  return index >= 0 && index < records_.count() && records_.IsDrawn(index);
}

std::int32_t MPoint::FindHouseNumber(std::int32_t first, std::string_view houseNumber) const {
  std::int64_t n = -1;
  char letter = ' ';
  ReadHouseNumber(houseNumber, n, letter);
  const std::int64_t key = HouseKey(n, letter);

  const std::uint8_t* start = EntityRecordAt(first);
  if (!start || (EntityRecord::Flags(start) & EntityRecord::kStartsStreet) == 0) return first;

  // The street: the run of records from `first` on whose names equal its name, letter
  // case ignored; a record without a name ends it.
  const std::string_view street = NameOf(first);
  std::int32_t end = first;
  if (!street.empty())
    while (end < records_.count() && !NameOf(end).empty() && EqualsNoCase(NameOf(end), street)) ++end;

  std::int32_t found = -1;
  for (std::int32_t i = first; i < end; ++i) {
    const std::uint8_t* e = EntityRecordAt(i);
    if (!e || (EntityRecord::Flags(e) & EntityRecord::kHasRange) == 0) continue;
    const std::int64_t low = HouseKey(EntityRecord::First(e), EntityRecord::FirstLetter(e));
    const std::int64_t high = std::max(low, HouseKey(EntityRecord::Last(e), EntityRecord::LastLetter(e)));
    const bool firstOdd = IsOdd(EntityRecord::First(e));
    const bool lastOdd = IsOdd(EntityRecord::Last(e));
    // One side of the street (all even or all odd), or a range holding both sides.
    const bool sideFits = (firstOdd == IsOdd(n) && lastOdd == IsOdd(n)) || firstOdd != lastOdd;
    if (low <= key && key <= high && sideFits) found = i;  // the last match wins
  }
  if (found >= 0) return found;

  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (std::int32_t i = first; i < end; ++i) {
    const std::uint8_t* e = EntityRecordAt(i);
    if (!e || (EntityRecord::Flags(e) & EntityRecord::kHasRange) == 0) continue;
    if (IsOdd(EntityRecord::First(e)) != IsOdd(n)) continue;
    const std::int64_t distance =
        std::abs(key - HouseKey(EntityRecord::First(e), EntityRecord::FirstLetter(e)));
    if (distance < best) {  // the earliest of equal distances wins
      best = distance;
      found = i;
    }
  }
  return found >= 0 ? found : first;
}

std::int32_t MPoint::FindByName(std::string_view text) const {
  if (!names_.present()) return -1;
  if (!byNameMade_) {
    byName_.reserve(static_cast<std::size_t>(records_.count()));
    for (std::int32_t i = 0; i < records_.count(); ++i) {
      if (!check_.usable(i)) continue;
      const std::int32_t offset = ReadI32(records_.at(i) + PointRecord::kNameOffset);
      if (offset >= 0) byName_.try_emplace(names_.NameAt(offset), i);
    }
    byNameMade_ = true;
  }
  const auto found = byName_.find(text);
  return found != byName_.end() ? found->second : -1;
}

}  // namespace koltar
