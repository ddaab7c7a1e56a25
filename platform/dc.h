#pragma once
// The device context: what the map categories draw with, on a window, an image or a
// printer. Coordinates and sizes are device units (pixels, y down). State (pen, brush,
// font, modes) is held by value: setting a pen replaces the current one, and Save and
// Restore keep and bring back the whole state.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/device_types.h"

namespace koltar {

// Pen styles as the symbology numbers them; a negative style means "no line" to the
// callers, which then draw nothing.
enum class PenStyle : int { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

struct Pen {
  ColorRef color = kBlack;
  PenStyle style = PenStyle::Solid;
  int width = 0;  // device units; 0 = the thinnest line the device draws
  bool operator==(const Pen&) const = default;
};

// Hatch patterns, drawn in the brush colour on a transparent background.
enum class HatchStyle : int {
  Horizontal = 0,
  Vertical = 1,
  ForwardDiagonal = 2,   // top-left to bottom-right
  BackwardDiagonal = 3,  // bottom-left to top-right
  Cross = 4,
  DiagonalCross = 5,
};

struct Brush {
  enum class Kind { Solid, Hatched, Hollow };
  Kind kind = Kind::Solid;
  ColorRef color = kWhite;
  HatchStyle hatch = HatchStyle::Horizontal;  // for Kind::Hatched
  bool operator==(const Brush&) const = default;
};

// Copy paints the pen's colour; Xor combines it with what is there, so that drawing the
// same figure twice restores every pixel (a white pen inverts).
enum class DrawMode { Copy, Xor };
enum class FillMode { Alternate, Winding };
enum class BackgroundMode { Opaque, Transparent };
// Bitmap transfers: plain copy, AND with what is there, OR with what is there.
enum class RasterOp { Copy, And, Or };
enum class TextAlign { TopLeft, BaselineLeft };

// A font as the categories describe it: height in device units (the character cell's
// height), width 0 for the face's natural width, escapement in tenths of a degree
// counter-clockwise, weight 400 normal / 700 bold. Face names are code page 1250 and
// at most 31 characters.
struct LogicalFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charSet = 1;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 1;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;
  bool operator==(const LogicalFont&) const = default;
};

struct TextMetrics {
  std::int32_t height = 0;
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t averageCharWidth = 0;
};

struct TextSize {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  bool operator==(const TextSize&) const = default;
};

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;

  // Capabilities.
  virtual int LogicalDpiX() const = 0;
  virtual int LogicalDpiY() const = 0;
  virtual bool CanStretchBlt() const = 0;
  virtual bool CanStretchDib() const = 0;

  // State.
  virtual void Save() = 0;
  virtual void Restore() = 0;
  virtual void SetPen(const Pen& pen) = 0;
  virtual Pen GetPen() const = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual Brush GetBrush() const = 0;
  virtual void SetDrawMode(DrawMode mode) = 0;
  virtual DrawMode GetDrawMode() const = 0;
  virtual void SetFillMode(FillMode mode) = 0;
  virtual FillMode GetFillMode() const = 0;
  virtual void SetBackgroundMode(BackgroundMode mode) = 0;
  virtual BackgroundMode GetBackgroundMode() const = 0;
  virtual void SetClipRect(const DeviceRect& rect) = 0;
  virtual void ClearClip() = 0;

  // Figures, outlined with the pen and (closed ones) filled with the brush.
  virtual void Polyline(const DevicePoint* points, int count) = 0;
  virtual void Polygon(const DevicePoint* points, int count) = 0;
  virtual void Rectangle(const DeviceRect& rect) = 0;
  virtual void Ellipse(const DeviceRect& rect) = 0;

  // Bitmaps: `source` part of the bitmap stretched onto `target`; rows and columns that
  // shrinking removes are dropped, not blended.
  virtual void StretchBlt(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                          RasterOp op) = 0;
  // The device-independent path for devices that cannot stretch device bitmaps
  // (always a plain copy).
  virtual void StretchDib(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source) = 0;
  // The pixels of a device area, for saving and restoring what lies under a pop-up;
  // null when the device cannot be read.
  virtual std::unique_ptr<Bitmap> CopyArea(const DeviceRect& area) = 0;

  // Text (code page 1250).
  virtual void SetFont(const LogicalFont& font) = 0;
  virtual LogicalFont GetFont() const = 0;
  virtual TextMetrics GetTextMetrics() = 0;  // of the current font
  virtual TextSize GetTextExtent(std::string_view text) = 0;
  virtual void SetTextColor(ColorRef color) = 0;
  virtual ColorRef GetTextColor() const = 0;
  virtual void SetTextAlign(TextAlign align) = 0;
  virtual TextAlign GetTextAlign() const = 0;
  // Draws the text with the current font (turned by its escapement about the anchor),
  // colour and alignment; the background mode decides whether the cell is filled.
  virtual void TextOut(DevicePoint anchor, std::string_view text) = 0;
};

}  // namespace koltar
