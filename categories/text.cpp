#include "categories/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <unordered_map>

#include "platform/binary.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "symbology/cartosymb.h"

namespace koltar {
namespace {

// DATAFILE is written in pieces of at most this many bytes.
constexpr std::int64_t kSavePieceSize = 16000;
// Turned text is measured a little wider: its glyphs stand apart more than unturned.
constexpr double kTurnedWidening = 1.05;
// Anchor x, anchor y and angle: what earlier positions hand over.
constexpr std::int32_t kPlaceBytes = 12;

MapPoint Anchor(const std::uint8_t* r) { return {ReadI32(r + TextRecord::kX), ReadI32(r + TextRecord::kY)}; }
float Angle(const std::uint8_t* r) { return ReadF32(r + TextRecord::kAngle); }
std::int32_t NameOffset(const std::uint8_t* r) { return ReadI32(r + TextRecord::kNameOffset); }

MapRect LabelRect(const std::uint8_t* r) {
  const std::uint8_t* p = r + TextRecord::kLabelRect;
  return MapRect::Of(ReadI32(p), ReadI32(p + 4), ReadI32(p + 8), ReadI32(p + 12));
}

void SetLabelRect(std::uint8_t* r, const MapRect& rect) {
  std::uint8_t* p = r + TextRecord::kLabelRect;
  WriteI32(p, rect.left);
  WriteI32(p + 4, rect.top);
  WriteI32(p + 8, rect.right);
  WriteI32(p + 12, rect.bottom);
}

// The font description every layer starts from: bold, the platform's default
// character set and draft quality.
LogicalFont FontTemplate() {
  LogicalFont font;
  font.height = 6;
  font.weight = 700;
  font.charSet = 1;
  font.quality = 1;
  return font;
}

// Makes the backup file hold the file at `target` as it is now. Not reported when it
// fails: the save goes on, and the target keeps its old content until the new one is
// complete.
void KeepBackup(const std::filesystem::path& target, std::string_view backupName) {
  std::ifstream in(target, std::ios::binary);
  if (!in) return;  // no previous file
  const std::string old{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return;
  (void)WriteFileAtomically(LocalFileName(backupName), old);
}

void ShowSaveError(const char* format, std::string_view file) {
  ShowMessage(StringPrintf(format, std::string(file).c_str()), MessageKind::Exclamation);
}

}  // namespace

MText::MText(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName)
    : name_(categoryName) {
  const CategorySection section(categoryName, mapDirectory, mapFileName);
  if (!section.CheckMapFile()) return;

  records_ = RecordArray(section.Load("DATAFILE", &dataFile_), TextRecord::kSize, TextRecord::kDrawn);
  names_ = NameTable(section.Load("NAMEFILE", &nameFile_));
  check_ = RecordCheck(records_.count());
  if (!ReadLayerTable(section, layers_)) {
    for (std::int32_t i = 0; i < records_.count(); ++i) records_.SetDrawn(i, false);
    return;
  }
  CheckCommonFields(records_, TextRecord::kNameOffset, layerCount(), names_, check_);
  check_.Report(dataFile_);
}

MText::~MText() {
  if (!changed_) return;
  const MessageAnswer answer =
      ShowMessage(StringPrintf("A '%s' kategória tartalma megváltozott.\n\nKívánja menteni?", name_.c_str()),
                  MessageKind::Question);
  // A failed save has shown why; the previous data stay in place.
  if (answer == MessageAnswer::Yes) (void)SaveLabelPositions();
}

bool MText::Named(std::int32_t index) const {
  return names_.present() && NameOffset(records_.at(index)) >= 0;
}

MapRect MText::GetExtent() const {
  MapRect extent = MapRect::Empty();
  for (std::int32_t i = 0; i < records_.count(); ++i) {
    if (!check_.usable(i)) continue;
    const MapPoint p = Anchor(records_.at(i));
    extent = extent.United(MapRect::Of(p.x, p.y, p.x, p.y));
  }
  return extent;
}

void MText::PrepareFont(DeviceContext& dc, const LCTransform& transform, Layer& layer,
                        const MCartoSymb& symbology, std::int32_t unit) const {
  layer.font.reset();
  const FontSpec spec = symbology.GetFont(name_, layer.name);
  LogicalFont font = FontTemplate();
  font.faceName = spec.face;
  layer.color = spec.color;
  font.height = spec.height > 0 ? MapLengthToDevice(transform, GroundToMapLength(spec.height, unit)) : 0;
  font.weight = spec.bold != 0 ? 700 : 400;
  font.italic = spec.italic != 0;
  font.underline = spec.underline != 0;
  font.width = 0;
  font.escapement = 0;
  // Below one pixel the layer has no font and its labels are not drawn.
  if (font.height < 1) return;

  // The width is a share of the face's own average character width at this height;
  // 0 lets the platform choose the natural width.
  const LogicalFont previous = dc.GetFont();
  dc.SetFont(font);
  const TextMetrics metrics = dc.GetTextMetrics();
  dc.SetFont(previous);
  font.width = ClampToInt32(spec.width * 0.01 * metrics.averageCharWidth);
  layer.font = font;
}

void MText::Draw(const RenderContext& context) {
  if (!ReadyToDraw(context, name_, records_.present() && names_.present(), !layers_.empty())) return;
  DeviceContext& dc = context.dc;
  const LCTransform& transform = context.transform;
  for (Layer& layer : layers_) {
    layer.Prepare(context.symbology, name_);
    PrepareFont(dc, transform, layer, context.symbology, context.unit);
  }
  const MapRect view = context.View();
  const TextAlign previousAlign = dc.GetTextAlign();
  const BackgroundMode previousBackground = dc.GetBackgroundMode();
  const ColorRef previousColor = dc.GetTextColor();
  dc.SetTextAlign(TextAlign::BaselineLeft);
  dc.SetBackgroundMode(BackgroundMode::Transparent);

  for (std::int32_t i = 0; i < records_.count(); ++i) {
    if (context.EscapePressed()) break;
    if (!check_.usable(i)) continue;
    const Layer& layer = layers_[static_cast<std::size_t>(RecordLayer(records_.at(i)) - 1)];
    // An unnamed record has no text to draw or measure.
    if (!Named(i) || !layer.Shows(context.scale) || !layer.font) {
      records_.SetDrawn(i, false);
      continue;
    }
    DrawLabel(dc, transform, i, layer, view);
    // Also when the label lay outside the view: its rectangle keeps its last value.
    records_.SetDrawn(i, true);
  }

  for (Layer& layer : layers_) layer.font.reset();
  dc.SetTextColor(previousColor);
  dc.SetTextAlign(previousAlign);
  dc.SetBackgroundMode(previousBackground);
}

void MText::DrawLabel(DeviceContext& dc, const LCTransform& transform, std::int32_t index, const Layer& layer,
                      const MapRect& view) {
  std::uint8_t* r = records_.at(index);
  const std::string_view text = names_.NameAt(NameOffset(r));
  const MapPoint anchor = Anchor(r);
  const LogicalFont previous = dc.GetFont();
  dc.SetFont(*layer.font);
  const TextMetrics metrics = dc.GetTextMetrics();
  TextSize size = dc.GetTextExtent(text);

  // The text stands on its baseline; its box reaches from the descent line up. The
  // square around the anchor holds the text at any angle.
  const std::int32_t bottom =
      ClampToInt32(std::int64_t{anchor.y} - DeviceLengthToMap(transform, metrics.descent));
  const std::int64_t reach =
      std::max(DeviceLengthToMap(transform, size.cx), DeviceLengthToMap(transform, size.cy));
  const MapRect square = MapRect::Of(ClampToInt32(anchor.x - reach), ClampToInt32(bottom + reach),
                                     ClampToInt32(anchor.x + reach), ClampToInt32(bottom - reach));
  if (square.Intersects(view)) {
    const float angle = Angle(r);
    if (angle != 0.0f) {
      LogicalFont turned = *layer.font;
      turned.escapement = ClampToInt32(static_cast<double>(angle) * 10.0);
      dc.SetFont(turned);
      size = dc.GetTextExtent(text);
      size.cx = ClampToInt32(size.cx * kTurnedWidening);
    }
    SetLabelRect(
        r, MapRect::Of(anchor.x, ClampToInt32(std::int64_t{bottom} + DeviceLengthToMap(transform, size.cy)),
                       ClampToInt32(std::int64_t{anchor.x} + DeviceLengthToMap(transform, size.cx)), bottom));
    dc.SetTextColor(layer.color);
    dc.TextOut(MapToDevice(transform, anchor), text);
  }
  dc.SetFont(previous);
}

bool MText::Hits(std::int32_t index, MapPoint p) const {
  const std::uint8_t* r = records_.at(index);
  const MapRect rect = LabelRect(r);
  const float angle = Angle(r);
  if (angle == 0.0f) return rect.Contains(p);

  // First a square around the anchor that holds the label at any angle, then the point
  // turned back about the anchor against the unturned rectangle.
  const MapPoint a = Anchor(r);
  const std::int64_t height = std::max<std::int64_t>(0, std::int64_t{rect.top} - rect.bottom);
  const std::int64_t width = std::max<std::int64_t>(0, std::int64_t{rect.right} - rect.left);
  const std::int64_t c = std::max(height, width);
  const MapRect square =
      MapRect::Of(ClampToInt32(a.x - c), ClampToInt32(a.y + c), ClampToInt32(a.x + c), ClampToInt32(a.y - c));
  if (!square.Contains(p)) return false;
  const double t = -static_cast<double>(angle) * std::numbers::pi / 180.0;
  const double dx = static_cast<double>(p.x) - a.x;
  const double dy = static_cast<double>(p.y) - a.y;
  const MapPoint back{ClampToInt32(std::floor(dx * std::cos(t) - dy * std::sin(t) + a.x + 0.5)),
                      ClampToInt32(std::floor(dx * std::sin(t) + dy * std::cos(t) + a.y + 0.5))};
  return rect.Contains(back);
}

std::optional<std::int32_t> MText::HitTestLabel(MapPoint p) const {
  for (std::int32_t i = records_.count() - 1; i >= 0; --i) {
    if (!Valid(i) || !Named(i) || !records_.IsDrawn(i)) continue;
    if (Hits(i, p)) return i;
  }
  return std::nullopt;
}

std::string MText::GetObjectName(std::int32_t index) const {
  if (!Valid(index) || !Named(index)) return {};
  return std::string(names_.NameAt(NameOffset(records_.at(index))));
}

MapPoint MText::GetLabelPosition(std::int32_t index) const {
  if (!Valid(index)) return {};
  return Anchor(records_.at(index));
}

MapRect MText::GetLabelRect(std::int32_t index) const {
  if (!Valid(index)) return MapRect::Empty();
  return LabelRect(records_.at(index));
}

double MText::GetLabelAngle(std::int32_t index) const {
  if (!Valid(index)) return 0.0;
  return Angle(records_.at(index));
}

bool MText::IsDrawn(std::int32_t index) const {
  return index >= 0 && index < records_.count() && records_.IsDrawn(index);
}

void MText::MoveLabel(std::int32_t index, MapPoint to) {
  if (!Valid(index)) return;
  std::uint8_t* r = records_.at(index);
  const MapPoint from = Anchor(r);
  MapRect rect = LabelRect(r);
  rect.Offset(ClampToInt32(std::int64_t{to.x} - from.x), ClampToInt32(std::int64_t{to.y} - from.y));
  SetLabelRect(r, rect);
  WriteI32(r + TextRecord::kX, to.x);
  WriteI32(r + TextRecord::kY, to.y);
  changed_ = true;
}

void MText::LoadLabelPositions(std::string_view dataFileName, std::string_view nameFileName) {
  MemoryBlock earlierData = LoadFileToMemory(dataFileName);
  if (!earlierData.valid()) return;
  MemoryBlock earlierNameBlock = LoadFileToMemory(nameFileName);
  if (!earlierNameBlock.valid()) return;
  const RecordArray earlier(std::move(earlierData), TextRecord::kSize);
  const NameTable earlierNames(std::move(earlierNameBlock));

  long notFound = 0;
  {
    ScopedWaitCursor wait;
    // The first earlier label of every name, by the name's upper-case form; the same
    // as comparing each name with the earlier ones in file order, letter case ignored.
    std::unordered_map<std::string, std::int32_t> first;
    for (std::int32_t j = 0; j < earlier.count(); ++j) {
      const std::int32_t offset = NameOffset(earlier.at(j));
      if (earlierNames.Holds(offset)) first.try_emplace(Cp1250ToUpper(earlierNames.NameAt(offset)), j);
    }
    for (std::int32_t i = 0; i < records_.count(); ++i) {
      if (!Valid(i) || !Named(i)) continue;
      std::uint8_t* r = records_.at(i);
      const auto found = first.find(Cp1250ToUpper(names_.NameAt(NameOffset(r))));
      if (found == first.end()) {
        ++notFound;
        continue;
      }
      std::memcpy(r + TextRecord::kX, earlier.at(found->second) + TextRecord::kX, kPlaceBytes);
    }
    // Without its own records the category has nothing that a save could write.
    if (records_.present()) changed_ = true;
  }
  if (notFound > 0)
    ShowMessage(StringPrintf("%ld megíráshoz nem lehetett beállítani pozíciót [%s] kategóriában.", notFound,
                             name_.c_str()),
                MessageKind::Information);
}

std::string MText::BackupFile() const {
  const PathParts parts = SplitPath(dataFile_);
  return parts.drive + parts.dir + parts.name + ".BAK";
}

bool MText::SaveLabelPositions() {
  ReplacementFile file;
  return SaveLabelPositions(file);
}

bool MText::SaveLabelPositions(ReplacementFile& file) {
  // A DATAFILE that could not be loaded is not written over with nothing.
  if (!records_.present()) return false;
  const std::filesystem::path target = LocalFileName(dataFile_);
  // The new records go into a temporary file beside DATAFILE first; DATAFILE is
  // replaced only when they are all on disk, so a failed save leaves it as it was.
  if (!file.Create(target)) {
    ShowSaveError("'%s' file nem nyitható meg.\n", dataFile_);
    return false;
  }
  {
    ScopedWaitCursor wait;
    const std::int64_t total = std::int64_t{records_.count()} * TextRecord::kSize;
    const std::uint8_t* bytes = records_.block().data();
    for (std::int64_t done = 0; done < total;) {
      const std::int64_t piece = std::min(kSavePieceSize, total - done);
      if (file.Write(bytes + done, piece) != piece) {
        file.Discard();
        ShowSaveError("Irás hiba '%s' file-ban.\n", dataFile_);
        return false;
      }
      done += piece;
    }
    KeepBackup(target, BackupFile());
    if (!file.Commit()) {
      ShowSaveError("Irás hiba '%s' file-ban.\n", dataFile_);
      return false;
    }
  }
  changed_ = false;
  ShowMessage(StringPrintf("'%s' kategória adatai kimentve.", name_.c_str()), MessageKind::Information);
  return true;
}

}  // namespace koltar
