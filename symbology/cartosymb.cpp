#include "symbology/cartosymb.h"

#include <cstdio>
#include <limits>
#include <new>

#include "platform/files.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"
#include "platform/services.h"

namespace koltar {
namespace {

// Buffer capacities of the reads: names, scale ranges, every other value.
constexpr int kNameCapacity = 32;
constexpr int kScaleCapacity = 80;
constexpr int kValueCapacity = 120;

constexpr const char* kCategoriesSection = "CATEGORIES";

std::string NumberedKey(const char* stem, int n) { return StringPrintf("%s%02d", stem, n); }

// "min,max" into the two bounds; a bound not read stays -1. Returns how many were read.
int ParseScaleRange(const std::string& text, std::int32_t& min, std::int32_t& max) {
  min = -1;
  max = -1;
  const int n = ScanValues(text, "%ld,%ld", min, max);
  return n < 0 ? 0 : n;
}

// "r,g,b" into a colour. Components not read keep those of `fallback`; components
// outside 0-255 keep their low 8 bits.
ColorRef ParseColor(const std::string& text, ColorRef fallback) {
  int r = RedOf(fallback);
  int g = GreenOf(fallback);
  int b = BlueOf(fallback);
  ScanValues(text, "%d,%d,%d", r, g, b);
  return Rgb(r, g, b);
}

std::string FormatColor(ColorRef c) { return StringPrintf("%d,%d,%d", RedOf(c), GreenOf(c), BlueOf(c)); }

std::string FormatScaleRange(std::int32_t min, std::int32_t max) {
  return StringPrintf("%ld,%ld", static_cast<long>(min), static_cast<long>(max));
}

void ReportMissingData(std::string_view section, const char* key, const std::string& file) {
  const std::string s(section);
  ShowMessage(StringPrintf("Nincs elég adat [%s] szekció '%s=' bejegyzésénél '%s' file-ban.", s.c_str(), key,
                           file.c_str()),
              MessageKind::Stop);
}

// Reads the keys of one layer section.
class LayerReader {
 public:
  LayerReader(const std::string& fileName, std::string section)
      : file_(fileName), section_(std::move(section)) {}

  void Read(CartoLayer& layer) const {
    layer.visible = ReadProfileInt(section_, "VISIBLE", 1, file_);
    ReadScaleRange(layer);
    ReadLine(layer);
    ReadFill(layer);
    ReadFont(layer);
    ReadBitmap(layer);
    const std::string transparent = Value("TRANSPARENTCOLOR");
    if (!transparent.empty()) layer.symbolFlags |= kTransparentColorGiven;
    layer.transparentColor = ParseColor(transparent, kBlack);
  }

 private:
  // The key's value; "" when absent or empty (both mean "not given").
  std::string Value(const char* key, int capacity = kValueCapacity) const {
    return ReadProfileString(section_, key, "", capacity, file_);
  }

  void ReadScaleRange(CartoLayer& layer) const {
    const std::string value = Value("DISPLAYSCALE", kScaleCapacity);
    if (ParseScaleRange(value.empty() ? "-1,-1" : value, layer.scaleMin, layer.scaleMax) < 2)
      ShowMessage(StringPrintf("'%s' rétegnél a DISPLAYSCALE opció kevés értéket tartalmaz "
                               "'%s' file-ban.",
                               section_.c_str(), file_.c_str()),
                  MessageKind::Exclamation);
  }

  void ReadLine(CartoLayer& layer) const {
    const std::string color = Value("LINECOLOR");
    if (!color.empty()) layer.lineFlags |= kLineColorGiven;
    layer.lineColor = ParseColor(color, kBlack);

    const std::string style = Value("LINESTYLE");
    int lineStyle = 0;
    if (!style.empty()) {
      layer.lineFlags |= kLineStyleGiven;
      ScanValues(style, "%d", lineStyle);
    }
    layer.lineStyle = lineStyle;

    const std::string width = Value("LINEWIDTH");
    double lineWidth = 0.0;
    if (!width.empty()) {
      layer.lineFlags |= kLineWidthGiven;
      ScanValues(width, "%lf", lineWidth);
    }
    layer.lineWidth = lineWidth;

    const std::string factors = Value("WIDTHFACTOR");
    layer.widthFactor = {100.0, 0.0, 0.0};
    if (!factors.empty()) {
      layer.lineFlags |= kWidthFactorGiven;
      std::array<double, 3> f{};
      if (ScanValues(factors, "%lf,%lf,%lf", f[0], f[1], f[2]) == 3)
        layer.widthFactor = f;
      else
        ReportMissingData(section_, "WIDTHFACTOR", file_);
    }
  }

  void ReadFill(CartoLayer& layer) const {
    const std::string color = Value("FILLCOLOR");
    if (!color.empty()) layer.fillFlags |= kFillColorGiven;
    layer.fillColor = ParseColor(color, kWhite);

    const std::string hatch = Value("HATCHSTYLE");
    int hatchStyle = -1;
    if (!hatch.empty()) {
      layer.fillFlags |= kHatchStyleGiven;
      ScanValues(hatch, "%d", hatchStyle);
    }
    layer.hatchStyle = hatchStyle;
  }

  void ReadFont(CartoLayer& layer) const {
    const std::string value = Value("FONT");
    layer.fontGiven = value.empty() ? 0 : 1;
    layer.fontFace.clear();
    layer.fontColor = kBlack;
    layer.bold = layer.italic = layer.underline = 0;
    layer.fontHeight = 0.0;
    layer.fontWidth = 0;
    layer.fontReadIncomplete.reset();
    if (value.empty()) return;

    // The face is read whole (it cannot exceed the value) and then cut to the field.
    static_assert(kValueCapacity == 120, "the face conversion below reads 119 characters");
    std::string face;
    int r = 0, g = 0, b = 0, bold = 0, italic = 0, underline = 0, width = 0;
    double height = 0.0;
    const int n = ScanValues(value, "%119[^,]%*c%d,%d,%d,%d,%d,%d,%lf,%d", face, r, g, b, bold, italic,
                             underline, height, width);
    layer.fontFace = face.substr(0, kSymbNameLength);
    layer.bold = bold;
    layer.italic = italic;
    layer.underline = underline;
    layer.fontHeight = height;
    layer.fontWidth = width;
    if (n == 9) {
      layer.fontColor = Rgb(r, g, b);
    } else {
      layer.fontReadIncomplete = layer.font();
      ReportMissingData(section_, "FONT", file_);
    }
  }

  void ReadBitmap(CartoLayer& layer) const {
    const std::string value = Value("BITMAP");
    layer.bitmapFile.clear();
    layer.bitmapHeight = 0.0;
    layer.bitmap.reset();
    if (value.empty()) return;
    layer.symbolFlags |= kBitmapGiven;

    std::string name;  // a file name holds at most 259 characters
    double height = 0.0;
    if (ScanValues(value, "%259[^,]%*c%lf", name, height) != 2) {
      ReportMissingData(section_, "BITMAP", file_);
      return;
    }
    layer.bitmapFile = name;
    layer.bitmapHeight = height;

    const std::string path = ResolveFileName(GetPathDirectory(file_), layer.bitmapFile);
    const char* problem = nullptr;
    if (!FileExists(path)) {
      problem = "nem található";
    } else if (std::unique_ptr<Bitmap> picture = Images().LoadBitmapFile(path)) {
      layer.bitmap = std::move(picture);
    } else {
      problem = "nem olvasható bittérkép";  // exists but is no picture we can decode
    }
    if (problem)
      ShowMessage(StringPrintf("'%s' file %s [%s] szekció 'BITMAP=' bejegyzésénél '%s' file-ban.",
                               path.c_str(), problem, section_.c_str(), file_.c_str()),
                  MessageKind::Stop);
  }

  const std::string& file_;
  std::string section_;
};

std::string LayerSection(std::string_view category, std::string_view layer) {
  std::string section(category);
  section += ':';
  section += layer;
  return section;
}

// The write-back's values, collected and then written in one replacement of the file.
using Entries = std::vector<ProfileEntry>;

void WriteKey(const std::string& section, const char* key, const std::string& value, Entries& file) {
  file.push_back(ProfileEntry{section, key, value});
}

void SaveLayer(const std::string& section, const CartoLayer& layer, Entries& file) {
  WriteKey(section, "VISIBLE", StringPrintf("%d", layer.visible), file);
  if (layer.scaleMin > 0)
    WriteKey(section, "DISPLAYSCALE", FormatScaleRange(layer.scaleMin, layer.scaleMax), file);
  if (layer.lineFlags & kLineColorGiven) WriteKey(section, "LINECOLOR", FormatColor(layer.lineColor), file);
  if (layer.fillFlags & kFillColorGiven) WriteKey(section, "FILLCOLOR", FormatColor(layer.fillColor), file);
  if (layer.fillFlags & kHatchStyleGiven)
    WriteKey(section, "HATCHSTYLE", StringPrintf("%d", layer.hatchStyle), file);
  if (layer.lineFlags & kLineStyleGiven)
    WriteKey(section, "LINESTYLE", StringPrintf("%d", layer.lineStyle), file);
  if (layer.lineFlags & kLineWidthGiven)
    WriteKey(section, "LINEWIDTH", StringPrintf("%.1lf", layer.lineWidth), file);
  if (layer.lineFlags & kWidthFactorGiven)
    WriteKey(
        section, "WIDTHFACTOR",
        StringPrintf("%.1lf,%.1lf,%.1lf", layer.widthFactor[0], layer.widthFactor[1], layer.widthFactor[2]),
        file);
  // A FONT value that did not parse fully and was not edited since is left as the user
  // wrote it: writing the partial fields back would lose what could not be read.
  const bool fontUntouched =
      layer.fontReadIncomplete.has_value() && *layer.fontReadIncomplete == layer.font();
  if (layer.fontGiven && !fontUntouched)
    WriteKey(section, "FONT",
             StringPrintf("%s,%d,%d,%d,%d,%d,%d,%.1lf,%d", layer.fontFace.c_str(), RedOf(layer.fontColor),
                          GreenOf(layer.fontColor), BlueOf(layer.fontColor), layer.bold, layer.italic,
                          layer.underline, layer.fontHeight, layer.fontWidth),
             file);
  // A BITMAP value that did not parse leaves no file name; the user's value stays.
  if ((layer.symbolFlags & kBitmapGiven) && !layer.bitmapFile.empty())
    WriteKey(section, "BITMAP", StringPrintf("%s,%.1lf", layer.bitmapFile.c_str(), layer.bitmapHeight), file);
  if (layer.symbolFlags & kTransparentColorGiven)
    WriteKey(section, "TRANSPARENTCOLOR", FormatColor(layer.transparentColor), file);
}

}  // namespace

FontSpec CartoLayer::font() const {
  return FontSpec{fontFace, fontColor, bold, italic, underline, fontHeight, fontWidth};
}

MCartoSymb::MCartoSymb(std::string_view fileName) : fileName_(fileName) { LoadSymbology(); }

MCartoSymb::~MCartoSymb() { SaveSymbology(); }

void MCartoSymb::LoadSymbology() {
  categories_.clear();
  if (!FileExists(fileName_)) {
    ShowMessage(StringPrintf("'%s' file nem található.", fileName_.c_str()), MessageKind::Stop);
    return;
  }
  // A negative count is as wrong as a missing one.
  const std::int32_t count = ReadProfileInt(kCategoriesSection, "N", 0, fileName_);
  // A count beyond what the file can hold is as wrong as a missing one.
  if (count <= 0 || !CountFitsProfile(count, fileName_)) {
    ShowMessage(
        StringPrintf("A kategóriák száma nincs megadva, vagy hibás '%s' file-ban.", fileName_.c_str()),
        MessageKind::Stop);
    return;
  }
  try {
    categories_.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    categories_.clear();
    ShowNoMemory();
    return;
  }

  for (int n = 1; n <= count; ++n) {
    CartoCategory& category = categories_[static_cast<std::size_t>(n - 1)];
    category.name =
        ReadProfileString(kCategoriesSection, NumberedKey("CATEGORY", n), "", kNameCapacity, fileName_);
    std::int32_t layerCount = ReadProfileInt(category.name, "N", 0, fileName_);
    if (!CountFitsProfile(layerCount, fileName_)) {
      ShowMessage(StringPrintf(kBadCountFormat, "N", static_cast<long>(layerCount), category.name.c_str(),
                               fileName_.c_str()),
                  MessageKind::Exclamation);
      layerCount = 0;
    }
    if (layerCount > 0) {
      try {
        category.layers.resize(static_cast<std::size_t>(layerCount));
      } catch (const std::bad_alloc&) {
        category.layers.clear();
        ShowNoMemory();
        return;
      }
    }

    const std::string scale = ReadProfileString(category.name, "DISPLAYSCALE", "", kScaleCapacity, fileName_);
    if (ParseScaleRange(scale.empty() ? "-1,-1" : scale, category.scaleMin, category.scaleMax) < 2)
      ShowMessage(StringPrintf("'%s' kategóriánál a DISPLAYSCALE opció kevés értéket tartalmaz "
                               "'%s' file-ban.",
                               category.name.c_str(), fileName_.c_str()),
                  MessageKind::Exclamation);

    for (int m = 1; m <= layerCount; ++m) {
      CartoLayer& layer = category.layers[static_cast<std::size_t>(m - 1)];
      layer.name = ReadProfileString(category.name, NumberedKey("LAYER", m), "", kNameCapacity, fileName_);
      LayerReader(fileName_, LayerSection(category.name, layer.name)).Read(layer);
    }
  }
}

void MCartoSymb::SaveSymbology() const {
  Entries entries;
  for (const CartoCategory& category : categories_) {
    if (category.scaleMin > 0)
      WriteKey(category.name, "DISPLAYSCALE", FormatScaleRange(category.scaleMin, category.scaleMax),
               entries);
    for (const CartoLayer& layer : category.layers)
      SaveLayer(LayerSection(category.name, layer.name), layer, entries);
  }
  // All values or none: a failed write leaves the file as it was, and says so.
  if (!entries.empty() && !WriteProfileStrings(entries, fileName_))
    ShowMessage(StringPrintf(kWriteErrorFormat, fileName_.c_str()), MessageKind::Exclamation);
}

bool MCartoSymb::FindEntry(std::string_view category, const std::string_view* layer, int& categoryIndex,
                           int& layerIndex) const {
  categoryIndex = -1;
  layerIndex = -1;
  // The last category of the name wins.
  for (std::size_t i = 0; i < categories_.size(); ++i)
    if (categories_[i].name == category) categoryIndex = static_cast<int>(i);
  if (categoryIndex < 0) return false;
  if (layer == nullptr) return true;
  const std::vector<CartoLayer>& layers = categories_[static_cast<std::size_t>(categoryIndex)].layers;
  for (std::size_t j = 0; j < layers.size(); ++j)
    if (layers[j].name == *layer) {
      layerIndex = static_cast<int>(j);
      return true;
    }
  return false;
}

const CartoLayer& MCartoSymb::LayerOrDefault(std::string_view category, std::string_view layer) const {
  static const CartoLayer kEmptyLayer;
  int c = -1;
  int l = -1;
  if (!FindEntry(category, &layer, c, l)) return kEmptyLayer;
  return categories_[static_cast<std::size_t>(c)].layers[static_cast<std::size_t>(l)];
}

namespace {

void ScaleRangeOrDefault(std::int32_t scaleMin, std::int32_t scaleMax, std::int32_t& min, std::int32_t& max) {
  min = scaleMin > 0 ? scaleMin : kDefaultScaleMin;
  max = scaleMax > 0 ? scaleMax : kDefaultScaleMax;
}

}  // namespace

void MCartoSymb::GetCategoryDisplayScale(std::string_view category, std::int32_t& min,
                                         std::int32_t& max) const {
  int c = -1;
  int l = -1;
  if (FindEntry(category, nullptr, c, l)) {
    const CartoCategory& found = categories_[static_cast<std::size_t>(c)];
    ScaleRangeOrDefault(found.scaleMin, found.scaleMax, min, max);
  } else {
    ScaleRangeOrDefault(-1, -1, min, max);
  }
}

void MCartoSymb::GetLayerDisplayScale(std::string_view category, std::string_view layer, std::int32_t& min,
                                      std::int32_t& max) const {
  const CartoLayer& found = LayerOrDefault(category, layer);
  ScaleRangeOrDefault(found.scaleMin, found.scaleMax, min, max);
}

std::int32_t MCartoSymb::IsLayerVisible(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).visible;
}

ColorRef MCartoSymb::GetLineColor(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).lineColor;
}

ColorRef MCartoSymb::GetFillColor(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).fillColor;
}

std::int32_t MCartoSymb::GetHatchStyle(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).hatchStyle;
}

std::int32_t MCartoSymb::GetLineStyle(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).lineStyle;
}

double MCartoSymb::GetStrokeWidth(std::string_view category, std::string_view layer, int k) const {
  if (k < 0 || k > 2) return 0.0;
  const CartoLayer& found = LayerOrDefault(category, layer);
  return 0.01 * found.widthFactor[static_cast<std::size_t>(k)] * found.lineWidth;
}

FontSpec MCartoSymb::GetFont(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).font();
}

const Bitmap* MCartoSymb::GetBitmap(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).bitmap.get();
}

double MCartoSymb::GetBitmapHeight(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).bitmapHeight;
}

bool MCartoSymb::HasTransparentColor(std::string_view category, std::string_view layer) const {
  return (LayerOrDefault(category, layer).symbolFlags & kTransparentColorGiven) != 0;
}

ColorRef MCartoSymb::GetTransparentColor(std::string_view category, std::string_view layer) const {
  return LayerOrDefault(category, layer).transparentColor;
}

void MCartoSymb::ReplaceCategories(std::vector<CartoCategory> edited) { categories_ = std::move(edited); }

}  // namespace koltar
