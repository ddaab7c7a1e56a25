#include "symbology/style_pickers.h"

#include <array>

#include "symbology/styles.h"

namespace koltar {
namespace {

constexpr std::array<ColorRef, 84> kPalette = {
    Rgb(0, 0, 0),       Rgb(96, 96, 96),    Rgb(128, 128, 128), Rgb(160, 160, 160), Rgb(192, 192, 192),
    Rgb(226, 226, 226), Rgb(255, 0, 0),     Rgb(255, 255, 0),   Rgb(0, 255, 0),     Rgb(0, 255, 255),
    Rgb(0, 0, 255),     Rgb(255, 0, 255),   Rgb(255, 255, 255), Rgb(192, 128, 128), Rgb(175, 96, 96),
    Rgb(145, 72, 72),   Rgb(128, 64, 64),   Rgb(96, 32, 0),     Rgb(128, 0, 0),     Rgb(160, 0, 0),
    Rgb(190, 0, 0),     Rgb(228, 0, 0),     Rgb(255, 32, 32),   Rgb(255, 96, 96),   Rgb(255, 160, 160),
    Rgb(255, 192, 192), Rgb(227, 74, 0),    Rgb(255, 84, 0),    Rgb(255, 96, 20),   Rgb(255, 128, 64),
    Rgb(255, 160, 115), Rgb(250, 196, 160), Rgb(255, 213, 192), Rgb(255, 253, 227), Rgb(255, 249, 196),
    Rgb(255, 247, 160), Rgb(255, 241, 64),  Rgb(247, 228, 2),   Rgb(208, 192, 2),   Rgb(208, 208, 160),
    Rgb(224, 224, 192), Rgb(182, 232, 160), Rgb(128, 213, 87),  Rgb(80, 160, 40),   Rgb(64, 128, 32),
    Rgb(48, 96, 24),    Rgb(51, 128, 103),  Rgb(64, 160, 128),  Rgb(96, 192, 160),  Rgb(155, 215, 196),
    Rgb(188, 228, 216), Rgb(214, 239, 231), Rgb(196, 255, 255), Rgb(128, 255, 255), Rgb(0, 196, 196),
    Rgb(0, 160, 160),   Rgb(0, 128, 128),   Rgb(0, 0, 128),     Rgb(0, 80, 160),    Rgb(0, 98, 192),
    Rgb(0, 128, 255),   Rgb(64, 160, 255),  Rgb(128, 192, 232), Rgb(160, 207, 255), Rgb(192, 223, 255),
    Rgb(196, 196, 255), Rgb(160, 160, 255), Rgb(128, 128, 255), Rgb(64, 64, 255),   Rgb(255, 196, 255),
    Rgb(255, 128, 255), Rgb(255, 96, 255),  Rgb(255, 0, 255),   Rgb(192, 0, 192),   Rgb(160, 0, 160),
    Rgb(128, 32, 128),  Rgb(160, 64, 160),  Rgb(192, 101, 192), Rgb(203, 128, 203), Rgb(217, 160, 217),
    Rgb(230, 192, 230), Rgb(255, 160, 224), Rgb(255, 128, 192), Rgb(255, 0, 128),
};

constexpr std::array<std::int32_t, 7> kHatchStyles = {-1, 3, 4, 5, 2, 0, 1};

DeviceRect Inset(const DeviceRect& r, int by) {
  return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

ColorRef InkOf(ItemState state) { return state.focused ? kWhite : kBlack; }

}  // namespace

std::span<const ColorRef> SymbologyPalette() { return kPalette; }

std::span<const std::int32_t> HatchStyleList() { return kHatchStyles; }

int PaletteIndexOf(ColorRef color) {
  for (int i = static_cast<int>(kPalette.size()) - 1; i >= 0; --i)
    if (kPalette[static_cast<std::size_t>(i)] == color) return i;
  return -1;
}

int HatchIndexOf(std::int32_t hatch) {
  for (std::size_t i = 0; i < kHatchStyles.size(); ++i)
    if (kHatchStyles[i] == hatch) return static_cast<int>(i);
  return -1;
}

void DrawColorItem(DeviceContext& dc, const DeviceRect& item, ItemState state, ColorRef color) {
  if (state.disabled) return;
  dc.SetPen(Pen{kBlack, PenStyle::Solid, 1});
  dc.SetBrush(Brush{Brush::Kind::Solid, color, HatchStyle::Horizontal});
  dc.Rectangle(Inset(item, 1));
}

void DrawLineStyleItem(DeviceContext& dc, const DeviceRect& item, ItemState state, std::int32_t style) {
  if (state.disabled) return;
  const int y = (item.top + item.bottom) / 2;
  const DevicePoint line[] = {{item.left + 2, y}, {item.right - 2, y}};
  dc.SetPen(Pen{InkOf(state), PenStyleOf(style), 1});
  dc.Polyline(line, 2);
}

void DrawHatchItem(DeviceContext& dc, const DeviceRect& item, ItemState state, std::int32_t hatch) {
  if (state.disabled) return;
  if (hatch == -1) {
    dc.SetTextColor(InkOf(state));
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.SetTextAlign(TextAlign::TopLeft);
    dc.TextOut({item.left, item.top}, "Nincs");
    return;
  }
  dc.SetBrush(FillBrush(InkOf(state), hatch));
  dc.Rectangle(Inset(item, 1));
}

void DrawFocusRect(DeviceContext& dc, const DeviceRect& item) {
  dc.Save();
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetPen(Pen{kWhite, PenStyle::Dot, 1});
  dc.SetBrush(Brush{Brush::Kind::Hollow, kWhite, HatchStyle::Horizontal});
  dc.Rectangle(item);
  dc.Restore();
}

std::uint32_t LayerItemData(int categoryIndex, int layerIndex) {
  return static_cast<std::uint32_t>(layerIndex) * 65536u + static_cast<std::uint32_t>(categoryIndex);
}

const CartoLayer* LayerOfItem(const std::vector<CartoCategory>& categories, std::uint32_t data) {
  const std::size_t category = data % 65536u;
  const std::size_t layer = data / 65536u;
  if (category >= categories.size() || layer >= categories[category].layers.size()) return nullptr;
  return &categories[category].layers[layer];
}

void DrawLayerItem(DeviceContext& dc, const DeviceRect& item, bool highlighted, const CartoLayer& layer,
                   const Bitmap* switchOn, const Bitmap* switchOff) {
  if (const Bitmap* picture = layer.visible != 0 ? switchOn : switchOff) {
    const DeviceRect target{item.left + 2, item.top + 1, item.left + 2 + picture->width(),
                            item.top + 1 + picture->height()};
    dc.StretchBlt(target, *picture, DeviceRect{0, 0, picture->width(), picture->height()}, RasterOp::Copy);
  }
  const int textHeight = dc.GetTextMetrics().height;
  const DevicePoint at{item.left + textHeight + 4, item.top};
  const TextSize size = dc.GetTextExtent(layer.name);
  // The name's cell is filled in the background colour, then the name drawn over it.
  const ColorRef background = highlighted ? kHighlightBackground : kWhite;
  dc.SetPen(Pen{background, PenStyle::Null, 0});
  dc.SetBrush(Brush{Brush::Kind::Solid, background, HatchStyle::Horizontal});
  dc.Rectangle(DeviceRect{at.x, at.y, at.x + size.cx, at.y + size.cy});
  dc.SetTextColor(highlighted ? kHighlightText : kBlack);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextAlign(TextAlign::TopLeft);
  dc.TextOut(at, layer.name);
}

}  // namespace koltar
