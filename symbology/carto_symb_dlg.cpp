#include "symbology/carto_symb_dlg.h"

#include <algorithm>
#include <new>

#include "platform/format.h"
#include "platform/help.h"
#include "platform/message_texts.h"
#include "platform/scan.h"
#include "platform/services.h"
#include "platform/text.h"
#include "symbology/style_pickers.h"

namespace koltar {
namespace {

// The editor's topic in the program's help.
constexpr int kHelpContext = 4;
// The longest text the number edits take.
constexpr int kEditLength = 15;
// The most characters of a scale field that are read.
constexpr std::size_t kScaleTextLength = 80;

// A text as a real number; 0 when it does not begin with one.
double RealOf(std::string_view text) {
  double value = 0.0;
  return ScanValues(text, "%lf", value) == 1 ? value : 0.0;
}

// A text as a whole number; 0 when it does not begin with one.
std::int32_t WholeOf(std::string_view text) {
  std::int32_t value = 0;
  return ScanValues(text, "%d", value) == 1 ? value : 0;
}

std::int32_t ScaleOf(std::string_view text) {
  std::int32_t value = 0;
  return ScanValues(text.substr(0, kScaleTextLength), "%ld", value) == 1 ? value : 0;
}

// A face the FONT value can hold: not empty, no comma (which ends the face there) and
// not longer than the field.
bool StorableFace(const std::string& face) {
  return !face.empty() && face.size() <= kSymbNameLength && face.find(',') == std::string::npos;
}

// The installed faces and those the records name, sorted without regard to letter
// case (then by bytes, so that the order is total), each once.
std::vector<std::string> FaceList(std::vector<std::string> installed,
                                  const std::vector<CartoCategory>& records) {
  std::vector<std::string> faces;
  for (std::string& face : installed)
    if (StorableFace(face)) faces.push_back(std::move(face));
  for (const CartoCategory& category : records)
    for (const CartoLayer& layer : category.layers)
      if (layer.fontGiven && !layer.fontFace.empty()) faces.push_back(layer.fontFace);
  std::sort(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
    const int c = CompareNoCase(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
  return faces;
}

// Two hexadecimal digits; -1 when they are none.
int HexByte(std::string_view two) {
  int value = 0;
  for (char c : two) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

CartoSymbDlg::CartoSymbDlg(MCartoSymb& symbology, std::vector<std::uint32_t> usedProperties,
                           std::vector<std::string> faces)
    : symbology_(symbology), used_(std::move(usedProperties)) {
  // The working copy: when memory runs out for the layers of a category, that category
  // and the ones after it have none.
  try {
    original_ = symbology.categories();
    working_.reserve(original_.size());
    for (const CartoCategory& c : original_)
      working_.push_back(CartoCategory{c.name, {}, c.scaleMin, c.scaleMax});
  } catch (const std::bad_alloc&) {
    original_.clear();
    working_.clear();
    ShowNoMemory();
  }
  for (std::size_t i = 0; i < working_.size(); ++i) {
    try {
      working_[i].layers = original_[i].layers;
    } catch (const std::bad_alloc&) {
      working_[i].layers.clear();
      ShowNoMemory();
      break;
    }
  }
  faces_ = FaceList(std::move(faces), working_);
  if (!working_.empty()) SelectCategory(0);
}

CartoSymbDlg::~CartoSymbDlg() {
  if (!finished_ && previewShown_) symbology_.ReplaceCategories(original_);
}

bool CartoSymbDlg::CanEdit(const MCartoSymb& symbology, WindowHandle owner) {
  if (!symbology.categories().empty()) return true;
  ShowMessage("A térképhez nincs érvényes kartográfiai adatbázis.", MessageKind::Stop, owner);
  return false;
}

// ---- what the controls show ----------------------------------------------------------

int CartoSymbDlg::layerCount() const {
  if (category_ < 0) return 0;
  return static_cast<int>(working_[static_cast<std::size_t>(category_)].layers.size());
}

std::uint32_t CartoSymbDlg::LayerItem(int row) const { return LayerItemData(category_, row); }

CartoLayer* CartoSymbDlg::Layer() {
  if (category_ < 0 || layer_ < 0) return nullptr;
  return &working_[static_cast<std::size_t>(category_)].layers[static_cast<std::size_t>(layer_)];
}

const CartoLayer* CartoSymbDlg::Layer() const { return const_cast<CartoSymbDlg*>(this)->Layer(); }

std::uint32_t CartoSymbDlg::UsedHere() const {
  return category_ >= 0 && static_cast<std::size_t>(category_) < used_.size()
             ? used_[static_cast<std::size_t>(category_)]
             : kUsesEverything;
}

std::string CartoSymbDlg::CategoryRangeText() const {
  if (category_ < 0) return {};
  std::int32_t min = 0;
  std::int32_t max = 0;
  symbology_.GetCategoryDisplayScale(working_[static_cast<std::size_t>(category_)].name, min, max);
  return StringPrintf("1 : %s  -  1 : %s", FormatGroupedNumber(min).c_str(),
                      FormatGroupedNumber(max).c_str());
}

bool CartoSymbDlg::IsEnabled(SymbControl control) const {
  const CartoLayer* layer = Layer();
  const std::uint32_t used = UsedHere();
  switch (control) {
    case SymbControl::Categories:
    case SymbControl::Layers:
    case SymbControl::AllVisible:
    case SymbControl::AllInvisible:
    case SymbControl::CategoryRange: return true;
    case SymbControl::ScaleMin:
    case SymbControl::ScaleMax:
    case SymbControl::RangeToAll: return layer != nullptr;
    case SymbControl::LineColor:
      return layer && (layer->lineFlags & kLineColorGiven) && (used & kUsesLineColor);
    case SymbControl::FillColor:
      return layer && (layer->fillFlags & kFillColorGiven) && (used & kUsesFillColor);
    case SymbControl::HatchStyle:
      return layer && (layer->fillFlags & kHatchStyleGiven) && (used & kUsesHatchStyle);
    case SymbControl::LineStyle:
      return layer && (layer->lineFlags & kLineStyleGiven) && (used & kUsesLineStyle);
    case SymbControl::LineWidth:
      return layer && (layer->lineFlags & kLineWidthGiven) && (used & kUsesLineWidth);
    case SymbControl::FontFace:
    case SymbControl::FontColor:
    case SymbControl::Bold:
    case SymbControl::Italic:
    case SymbControl::Underline:
    case SymbControl::FontHeight:
    case SymbControl::FontWidth: return layer && layer->fontGiven && (used & kUsesFont);
    case SymbControl::BitmapFile:
    case SymbControl::BitmapHeight:
      return layer && (layer->symbolFlags & kBitmapGiven) && (used & kUsesBitmap);
  }
  return false;
}

int CartoSymbDlg::Selection(SymbControl picker) const {
  const auto it = selection_.find(picker);
  return it == selection_.end() ? -1 : it->second;
}

std::string CartoSymbDlg::Text(SymbControl control) const {
  if (control == SymbControl::CategoryRange) return CategoryRangeText();
  if (control == SymbControl::BitmapFile) {
    const CartoLayer* layer = Layer();
    return layer ? layer->bitmapFile : std::string();
  }
  const auto it = texts_.find(control);
  return it == texts_.end() ? std::string() : it->second;
}

bool CartoSymbDlg::IsChecked(SymbControl box) const {
  const CartoLayer* layer = Layer();
  if (!layer) return false;
  switch (box) {
    case SymbControl::Bold: return layer->bold != 0;
    case SymbControl::Italic: return layer->italic != 0;
    case SymbControl::Underline: return layer->underline != 0;
    default: return false;
  }
}

int CartoSymbDlg::MaxLength(SymbControl edit) {
  switch (edit) {
    case SymbControl::LineWidth:
    case SymbControl::FontHeight:
    case SymbControl::FontWidth:
    case SymbControl::BitmapHeight: return kEditLength;
    default: return 0;
  }
}

std::optional<ColorRef> CartoSymbDlg::LayerColor(SymbControl picker) const {
  const CartoLayer* layer = Layer();
  if (!layer) return std::nullopt;
  switch (picker) {
    case SymbControl::LineColor: return layer->lineColor;
    case SymbControl::FillColor: return layer->fillColor;
    case SymbControl::FontColor: return layer->fontColor;
    default: return std::nullopt;
  }
}

std::string CartoSymbDlg::ColorText(SymbControl picker) const {
  const std::optional<ColorRef> c = LayerColor(picker);
  if (!c) return {};
  return StringPrintf("#%02X%02X%02X", RedOf(*c), GreenOf(*c), BlueOf(*c));
}

// ---- what the user does --------------------------------------------------------------

void CartoSymbDlg::SelectCategory(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= working_.size()) return;
  category_ = index;
  RefillLayers(0);
  ShowLayer();
}

void CartoSymbDlg::SelectLayer(int row) {
  if (row < 0 || row >= layerCount()) return;
  layer_ = row;
  ShowLayer();
}

void CartoSymbDlg::RefillLayers(int row) { layer_ = row >= 0 && row < layerCount() ? row : -1; }

void CartoSymbDlg::ShowLayer() {
  CartoLayer* layer = Layer();
  if (!layer) {
    // Nothing is selected: the edits are empty and nothing is stored.
    texts_.clear();
    return;
  }
  if (const int i = PaletteIndexOf(layer->lineColor); i >= 0) selection_[SymbControl::LineColor] = i;
  if (const int i = PaletteIndexOf(layer->fillColor); i >= 0) selection_[SymbControl::FillColor] = i;
  if (const int i = PaletteIndexOf(layer->fontColor); i >= 0) selection_[SymbControl::FontColor] = i;
  if (const int i = HatchIndexOf(layer->hatchStyle); i >= 0) selection_[SymbControl::HatchStyle] = i;
  selection_[SymbControl::LineStyle] =
      layer->lineStyle >= 0 && layer->lineStyle < kLineStyleCount ? layer->lineStyle : -1;
  const auto face = std::find(faces_.begin(), faces_.end(), layer->fontFace);
  if (face != faces_.end()) selection_[SymbControl::FontFace] = static_cast<int>(face - faces_.begin());

  texts_[SymbControl::ScaleMin] = StringPrintf("%ld", static_cast<long>(layer->scaleMin));
  texts_[SymbControl::ScaleMax] = StringPrintf("%ld", static_cast<long>(layer->scaleMax));
  texts_[SymbControl::LineWidth] =
      (layer->lineFlags & kLineWidthGiven) ? StringPrintf("%.1lf", layer->lineWidth) : std::string();
  texts_[SymbControl::FontHeight] =
      layer->fontGiven ? StringPrintf("%.1lf", layer->fontHeight) : std::string();
  texts_[SymbControl::FontWidth] =
      layer->fontGiven ? StringPrintf("%d", static_cast<int>(layer->fontWidth)) : std::string();
  texts_[SymbControl::BitmapHeight] =
      (layer->symbolFlags & kBitmapGiven) ? StringPrintf("%.1lf", layer->bitmapHeight) : std::string();

  // Showing the texts stores them back, which rounds the lengths to one decimal as the
  // file keeps them. That is no edit: a FONT value that did not parse stays untouched.
  const bool fontUntouched = layer->fontReadIncomplete && *layer->fontReadIncomplete == layer->font();
  for (SymbControl edit : {SymbControl::ScaleMin, SymbControl::ScaleMax, SymbControl::LineWidth,
                           SymbControl::FontHeight, SymbControl::FontWidth, SymbControl::BitmapHeight})
    StoreText(edit);
  if (fontUntouched) layer->fontReadIncomplete = layer->font();
}

void CartoSymbDlg::StoreText(SymbControl edit) {
  CartoLayer* layer = Layer();
  if (!layer) return;
  const std::string& text = texts_[edit];
  switch (edit) {
    case SymbControl::LineWidth: layer->lineWidth = RealOf(text); break;
    case SymbControl::FontHeight: layer->fontHeight = RealOf(text); break;
    case SymbControl::FontWidth: layer->fontWidth = WholeOf(text); break;
    case SymbControl::BitmapHeight: layer->bitmapHeight = RealOf(text); break;
    case SymbControl::ScaleMin: layer->scaleMin = ScaleOf(text); break;
    case SymbControl::ScaleMax: layer->scaleMax = ScaleOf(text); break;
    default: break;
  }
}

void CartoSymbDlg::StoreColor(SymbControl picker, ColorRef color) {
  CartoLayer* layer = Layer();
  if (!layer) return;
  switch (picker) {
    case SymbControl::LineColor: layer->lineColor = color; break;
    case SymbControl::FillColor: layer->fillColor = color; break;
    case SymbControl::FontColor: layer->fontColor = color; break;
    default: return;
  }
  ++changes_;
}

void CartoSymbDlg::ToggleVisibility(int row) {
  if (row < 0 || row >= layerCount()) return;
  CartoLayer& layer = working_[static_cast<std::size_t>(category_)].layers[static_cast<std::size_t>(row)];
  layer.visible = layer.visible != 0 ? 0 : 1;
  RefillLayers(layer_);
  ++changes_;
}

void CartoSymbDlg::SetAllVisible(bool visible) {
  if (category_ < 0) return;
  for (CartoLayer& layer : working_[static_cast<std::size_t>(category_)].layers)
    layer.visible = visible ? 1 : 0;
  RefillLayers(layer_);
  ++changes_;
}

void CartoSymbDlg::Pick(SymbControl picker, int item) {
  CartoLayer* layer = Layer();
  if (!layer || !IsEnabled(picker) || item < 0) return;
  const auto at = static_cast<std::size_t>(item);
  switch (picker) {
    case SymbControl::LineColor:
    case SymbControl::FillColor:
    case SymbControl::FontColor:
      if (at >= SymbologyPalette().size()) return;
      selection_[picker] = item;
      StoreColor(picker, SymbologyPalette()[at]);
      return;
    case SymbControl::HatchStyle:
      if (at >= HatchStyleList().size()) return;
      layer->hatchStyle = HatchStyleList()[at];
      break;
    case SymbControl::LineStyle:
      if (item >= kLineStyleCount) return;
      layer->lineStyle = item;
      break;
    case SymbControl::FontFace:
      if (at >= faces_.size()) return;
      layer->fontFace = faces_[at];
      break;
    default: return;
  }
  selection_[picker] = item;
  ++changes_;
}

void CartoSymbDlg::SetChecked(SymbControl box, bool ticked) {
  CartoLayer* layer = Layer();
  if (!layer || !IsEnabled(box)) return;
  const std::int32_t value = ticked ? 1 : 0;
  switch (box) {
    case SymbControl::Bold: layer->bold = value; break;
    case SymbControl::Italic: layer->italic = value; break;
    case SymbControl::Underline: layer->underline = value; break;
    default: return;
  }
  ++changes_;
}

void CartoSymbDlg::SetText(SymbControl edit, std::string_view text) {
  if (!Layer() || !IsEnabled(edit)) return;
  switch (edit) {
    case SymbControl::LineWidth:
    case SymbControl::FontHeight:
    case SymbControl::FontWidth:
    case SymbControl::BitmapHeight:
    case SymbControl::ScaleMin:
    case SymbControl::ScaleMax: break;
    default: return;
  }
  const int limit = MaxLength(edit);
  texts_[edit] = std::string(limit > 0 ? text.substr(0, static_cast<std::size_t>(limit)) : text);
  StoreText(edit);
  ++changes_;
}

bool CartoSymbDlg::SetColorText(SymbControl picker, std::string_view text) {
  if (picker != SymbControl::LineColor && picker != SymbControl::FillColor &&
      picker != SymbControl::FontColor)
    return false;
  if (!Layer() || !IsEnabled(picker)) return false;
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return false;
  const int r = HexByte(text.substr(0, 2));
  const int g = HexByte(text.substr(2, 2));
  const int b = HexByte(text.substr(4, 2));
  if (r < 0 || g < 0 || b < 0) return false;
  const ColorRef color = Rgb(r, g, b);
  if (const int i = PaletteIndexOf(color); i >= 0) selection_[picker] = i;
  StoreColor(picker, color);
  return true;
}

void CartoSymbDlg::RangeToAllLayers() {
  const CartoLayer* layer = Layer();
  if (!layer) return;
  const std::int32_t min = layer->scaleMin;
  const std::int32_t max = layer->scaleMax;
  for (CartoLayer& other : working_[static_cast<std::size_t>(category_)].layers) {
    other.scaleMin = min;
    other.scaleMax = max;
  }
  ++changes_;
}

bool CartoSymbDlg::CheckRange(SymbControl field, WindowHandle owner) const {
  if (!Layer() || (field != SymbControl::ScaleMin && field != SymbControl::ScaleMax)) return true;
  const std::string text = Text(field);
  if (text == "-1") return true;
  std::int32_t min = 0;
  std::int32_t max = 0;
  symbology_.GetCategoryDisplayScale(working_[static_cast<std::size_t>(category_)].name, min, max);
  const std::int32_t value = ScaleOf(text);
  if (value >= min && value <= max) return true;
  ShowMessage(
      StringPrintf("Value is not in the range %ld to %ld.", static_cast<long>(min), static_cast<long>(max)),
      MessageKind::Exclamation, owner, kApplicationName);
  return false;
}

void CartoSymbDlg::ShowHelp() { Help().ShowContext(Program().helpFile, kHelpContext); }

std::vector<CartoCategory> CartoSymbDlg::Merged() const {
  std::vector<CartoCategory> merged = original_;
  for (std::size_t i = 0; i < working_.size() && i < merged.size(); ++i)
    if (!working_[i].layers.empty()) merged[i].layers = working_[i].layers;
  return merged;
}

void CartoSymbDlg::Preview() {
  if (finished_) return;
  symbology_.ReplaceCategories(Merged());
  previewShown_ = true;
}

void CartoSymbDlg::Accept() {
  if (finished_) return;
  symbology_.ReplaceCategories(Merged());
  finished_ = true;
}

bool CartoSymbDlg::Cancel() {
  if (finished_) return false;
  finished_ = true;
  if (!previewShown_) return false;
  symbology_.ReplaceCategories(original_);
  return true;
}

}  // namespace koltar
