#pragma once
// The cartographic symbology of one open map: how every layer of every category is
// drawn, read from the symbology file when the map opens and written back when it
// closes.
//
// The symbology file is an INI-style file with a [CATEGORIES] section (N and CATEGORY01,
// CATEGORY02...), one section per category (N, LAYER01..., DISPLAYSCALE) and one section
// "category:layer" per layer (VISIBLE, DISPLAYSCALE, LINECOLOR, FILLCOLOR, HATCHSTYLE,
// LINESTYLE, LINEWIDTH, WIDTHFACTOR, FONT, BITMAP, TRANSPARENTCOLOR). Names are code page
// 1250 text compared exactly. Lengths (line width, font height, bitmap height) are ground
// metres; scales are scale denominators.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace koltar {

// Bits of CartoLayer::lineFlags: which line keys the file gave.
inline constexpr std::uint8_t kLineColorGiven = 0x01;
inline constexpr std::uint8_t kLineStyleGiven = 0x02;
inline constexpr std::uint8_t kLineWidthGiven = 0x04;
inline constexpr std::uint8_t kWidthFactorGiven = 0x08;
// Bits of CartoLayer::fillFlags.
inline constexpr std::uint8_t kFillColorGiven = 0x01;
inline constexpr std::uint8_t kHatchStyleGiven = 0x02;
// Bits of CartoLayer::symbolFlags.
inline constexpr std::uint8_t kBitmapGiven = 0x01;
inline constexpr std::uint8_t kTransparentColorGiven = 0x02;

// Scale range used where a category or layer gives none (bounds <= 0).
inline constexpr std::int32_t kDefaultScaleMin = 100;
inline constexpr std::int32_t kDefaultScaleMax = 50000000;

// The longest category, layer and typeface name kept (longer ones are cut).
inline constexpr std::size_t kSymbNameLength = 31;

// A layer's text font.
struct FontSpec {
  std::string face;  // typeface name, at most 31 characters
  ColorRef color = kBlack;
  std::int32_t bold = 0;  // 0 or non-zero
  std::int32_t italic = 0;
  std::int32_t underline = 0;
  double height = 0.0;     // character height, ground metres
  std::int32_t width = 0;  // per cent of the face's natural width; 0 = natural
  bool operator==(const FontSpec&) const = default;
};

// How one layer is drawn. A default-constructed layer is what an empty layer section
// gives: visible at every scale, black solid line of width 0, white solid fill, no font,
// no symbol. Copies share the symbol bitmap.
struct CartoLayer {
  std::string name;
  std::int32_t visible = 1;    // non-zero = drawn
  std::int32_t scaleMin = -1;  // display-scale range; -1 = not given
  std::int32_t scaleMax = -1;

  ColorRef lineColor = kBlack;
  std::int32_t lineStyle = 0;                          // pen style 0..4; negative = no outline
  double lineWidth = 0.0;                              // ground metres
  std::array<double, 3> widthFactor{100.0, 0.0, 0.0};  // per cent of lineWidth, strokes 0..2
  std::uint8_t lineFlags = 0;                          // kLineColorGiven...

  ColorRef fillColor = kWhite;
  std::int32_t hatchStyle = -1;  // -1 solid, 0..5 hatched
  std::uint8_t fillFlags = 0;    // kFillColorGiven, kHatchStyleGiven

  std::int32_t fontGiven = 0;  // 1 when FONT was given
  std::string fontFace;
  ColorRef fontColor = kBlack;
  std::int32_t bold = 0;
  std::int32_t italic = 0;
  std::int32_t underline = 0;
  double fontHeight = 0.0;     // ground metres
  std::int32_t fontWidth = 0;  // per cent; 0 = natural width
  // The font as read from a FONT value that did not parse fully. While the font fields
  // still equal it, the write-back leaves the user's FONT value as it stands.
  std::optional<FontSpec> fontReadIncomplete;

  std::string bitmapFile;                // symbol file name as written in the file
  double bitmapHeight = 0.0;             // ground metres
  std::shared_ptr<const Bitmap> bitmap;  // the symbol picture, or null
  ColorRef transparentColor = kBlack;
  std::uint8_t symbolFlags = 0;  // kBitmapGiven, kTransparentColorGiven

  // The font fields as one value.
  FontSpec font() const;
};

// One category of the symbology with its layers.
struct CartoCategory {
  std::string name;
  std::vector<CartoLayer> layers;  // in the order of LAYER01, LAYER02...
  std::int32_t scaleMin = -1;      // display-scale range; -1 = not given
  std::int32_t scaleMax = -1;
};

class MCartoSymb {
 public:
  // Reads the symbology file (a model file name); never fails: problems are shown in
  // message boxes and leave defaults.
  explicit MCartoSymb(std::string_view fileName);
  // Writes the layer properties back into the file and releases the records and bitmaps.
  ~MCartoSymb();
  MCartoSymb(const MCartoSymb&) = delete;
  MCartoSymb& operator=(const MCartoSymb&) = delete;

  // The index of the category (the last one of that name) and, when `layer` is given,
  // of its first layer of that name; -1 for what was not looked up or not found. False
  // when the category or the asked-for layer is not found.
  [[nodiscard]] bool FindEntry(std::string_view category, const std::string_view* layer, int& categoryIndex,
                               int& layerIndex) const;

  // The display-scale range (denominators, inclusive); bounds not given (<= 0) become
  // 100 and 50000000.
  void GetCategoryDisplayScale(std::string_view category, std::int32_t& min, std::int32_t& max) const;
  void GetLayerDisplayScale(std::string_view category, std::string_view layer, std::int32_t& min,
                            std::int32_t& max) const;

  // The layer's values; a category or layer not held gives those of an empty layer.
  std::int32_t IsLayerVisible(std::string_view category, std::string_view layer) const;
  ColorRef GetLineColor(std::string_view category, std::string_view layer) const;
  ColorRef GetFillColor(std::string_view category, std::string_view layer) const;
  std::int32_t GetHatchStyle(std::string_view category, std::string_view layer) const;
  std::int32_t GetLineStyle(std::string_view category, std::string_view layer) const;
  // Width of stroke k (0, 1 or 2) in ground metres: width factor k per cent of the line
  // width; 0.0 for any other k.
  double GetStrokeWidth(std::string_view category, std::string_view layer, int k) const;
  FontSpec GetFont(std::string_view category, std::string_view layer) const;
  // The symbol picture, owned by the symbology; null when the layer has none.
  const Bitmap* GetBitmap(std::string_view category, std::string_view layer) const;
  // Drawn height of the symbol, ground metres.
  double GetBitmapHeight(std::string_view category, std::string_view layer) const;
  bool HasTransparentColor(std::string_view category, std::string_view layer) const;
  ColorRef GetTransparentColor(std::string_view category, std::string_view layer) const;

  // The records, for the editor: it edits a copy and stores it back as a whole.
  const std::vector<CartoCategory>& categories() const { return categories_; }
  void ReplaceCategories(std::vector<CartoCategory> edited);
  // Full path of the symbology file; the write-back goes there.
  const std::string& fileName() const { return fileName_; }

 private:
  void LoadSymbology();
  void SaveSymbology() const;
  const CartoLayer& LayerOrDefault(std::string_view category, std::string_view layer) const;

  std::string fileName_;
  std::vector<CartoCategory> categories_;
};

}  // namespace koltar
