#pragma once
// The style pickers of the symbology editor: what they offer (the palette of 84
// colours, the 7 hatch values, the 5 line styles) and how their items are drawn. The
// items carry no text: each is a value that is drawn with the same pens and brushes the
// map draws with (symbology/styles.h), so the pickers show what the map will show.
//
// The drawing goes through DeviceContext; the toolkit's owner-drawn list items hand it
// their rectangle (device pixels) and state.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/dc.h"
#include "symbology/cartosymb.h"

namespace koltar {

// The palette of the colour pickers, in item order. Entries 11 and 72 are the same
// magenta.
std::span<const ColorRef> SymbologyPalette();
// The hatch values of the hatch picker, in item order: -1 (solid fill) first.
std::span<const std::int32_t> HatchStyleList();
// Line styles 0 ... 4 (solid, dashed, dotted, dash-dot, dash-dot-dot); the item
// position is the style.
inline constexpr int kLineStyleCount = 5;

// The item of the palette that shows the colour: the last one equal to it; -1 when the
// palette does not hold it.
int PaletteIndexOf(ColorRef color);
// The item of the hatch list that shows the value; -1 when none does.
int HatchIndexOf(std::int32_t hatch);

// The state of an owner-drawn item as the toolkit reports it.
struct ItemState {
  bool disabled = false;
  bool focused = false;  // the item has the keyboard focus (the list's current item)
};

// Height of every picker item, pixels.
inline constexpr int kPickerItemHeight = 16;

// A colour item: unless disabled, the rectangle inset by one pixel, outlined black and
// filled with the colour.
void DrawColorItem(DeviceContext& dc, const DeviceRect& item, ItemState state, ColorRef color);
// A line style item: unless disabled, a thin horizontal line from left + 2 to right - 2
// at the middle, in the style; white when focused, else black.
void DrawLineStyleItem(DeviceContext& dc, const DeviceRect& item, ItemState state, std::int32_t style);
// A hatch item: unless disabled, "Nincs" at the top-left corner for -1 (solid fill),
// otherwise the rectangle inset by one pixel, outlined with the current pen and filled
// with the hatch; white when focused, else black.
void DrawHatchItem(DeviceContext& dc, const DeviceRect& item, ItemState state, std::int32_t hatch);
// The dotted focus rectangle around an item, drawn in XOR: drawing it again removes it.
void DrawFocusRect(DeviceContext& dc, const DeviceRect& item);

// The layer list's data word of an item: layer index x 65536 + category index.
std::uint32_t LayerItemData(int categoryIndex, int layerIndex);
// The layer a data word addresses in the records; null outside them.
const CartoLayer* LayerOfItem(const std::vector<CartoCategory>& categories, std::uint32_t data);

// Text and background of a highlighted layer item: white on navy.
inline constexpr ColorRef kHighlightText = kWhite;
inline constexpr ColorRef kHighlightBackground = Rgb(0, 0, 128);

// A layer list item: the switch picture (`switchOn` when the layer is visible, else
// `switchOff`; either may be null) unscaled at (left + 2, top + 1), then the layer's
// name with its background filled, white on navy when highlighted, else black on white,
// at x = left + text height + 4, y = top, in the device context's current font.
void DrawLayerItem(DeviceContext& dc, const DeviceRect& item, bool highlighted, const CartoLayer& layer,
                   const Bitmap* switchOn, const Bitmap* switchOff);

}  // namespace koltar
