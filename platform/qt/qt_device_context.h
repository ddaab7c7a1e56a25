#pragma once
// The device context on Qt: drawing with a QPainter, over a QImage (the map window's
// back buffer, the command-line renderer, tests) or over a painter already active on a
// widget or printer. Drawing is never antialiased, so that every picture is exact and
// repeatable.
//
// Geometry, in device pixels:
// - A pen of width 0 or 1 draws one-pixel lines through the pixels of the given points;
//   a wider pen is centred on them. Dashed and dotted styles follow the classic pixel
//   patterns, scaled by the width of wider pens (whose dashes then have flat ends;
//   solid wide pens have round ends and joins).
// - Rectangle (l, t, r, b) fills the pixels l <= x < r, t <= y < b and draws its outline
//   along the outermost of them (the right and bottom edges are excluded); Ellipse fills
//   and outlines the ellipse inscribed in the same pixels.
// - Polygons are filled over the pixels whose centres lie inside them, by the current
//   fill mode, and outlined through their vertex pixels.
// - Hatch brushes are 8 x 8 pixel patterns aligned to the device origin, drawn in the
//   brush colour; their gaps always show what lies below.
// - In XOR mode a figure or text is painted as in copy mode, but each of its pixels is
//   XORed onto the device, so that painting it twice restores the device exactly.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRegion>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/dc.h"

namespace koltar {

// Lets the Windows face names that map files and the program use ("Arial CE",
// "Times New Roman", "MS Sans Serif", "System"...) resolve to installed fonts. Call once
// after the Qt application object exists; calling again does no harm.
void InstallFontSubstitutions();

// The Qt font for a logical font: its height (positive = character cell in device
// pixels, negative = character height, 0 = a default size) and width (0 = natural,
// otherwise the average character width in pixels) fitted through the font's metrics.
// Escapement is not part of it: TextOut turns the text itself. Needs the Qt application
// object, as all font work does.
QFont ToQFont(const LogicalFont& font);

class QtDeviceContext final : public DeviceContext {
 public:
  // Draws into an image of its own, width x height pixels, Format_RGB32, all white, at
  // the given resolution in dots per inch.
  QtDeviceContext(int width, int height, int dpi = 96);
  // Draws into the caller's image, which must outlive the context. XOR drawing and the
  // AND and OR transfers need Format_RGB32.
  explicit QtDeviceContext(QImage& image);
  // Draws with a painter that is active on its device and outlives the context (a
  // widget's paint event, a printer). A clip the painter has bounds every clip set
  // later; the painter's state is restored at destruction.
  explicit QtDeviceContext(QPainter& painter);
  ~QtDeviceContext() override;
  QtDeviceContext(const QtDeviceContext&) = delete;
  QtDeviceContext& operator=(const QtDeviceContext&) = delete;

  // The image drawn into; null for a painter whose device is no image.
  const QImage* image() const { return image_; }

  // Capabilities can be turned off, so that the fallback paths of callers can be tried.
  void SetCanStretchBlt(bool can) { canStretchBlt_ = can; }
  void SetCanStretchDib(bool can) { canStretchDib_ = can; }

  int LogicalDpiX() const override;
  int LogicalDpiY() const override;
  bool CanStretchBlt() const override { return canStretchBlt_; }
  bool CanStretchDib() const override { return canStretchDib_; }

  void Save() override;
  void Restore() override;  // does nothing without a matching Save
  void SetPen(const Pen& pen) override { state_.pen = pen; }
  Pen GetPen() const override { return state_.pen; }
  void SetBrush(const Brush& brush) override { state_.brush = brush; }
  Brush GetBrush() const override { return state_.brush; }
  void SetDrawMode(DrawMode mode) override { state_.drawMode = mode; }
  DrawMode GetDrawMode() const override { return state_.drawMode; }
  void SetFillMode(FillMode mode) override { state_.fillMode = mode; }
  FillMode GetFillMode() const override { return state_.fillMode; }
  void SetBackgroundMode(BackgroundMode mode) override { state_.backgroundMode = mode; }
  BackgroundMode GetBackgroundMode() const override { return state_.backgroundMode; }
  void SetClipRect(const DeviceRect& rect) override;
  void ClearClip() override;

  void Polyline(const DevicePoint* points, int count) override;
  void Polygon(const DevicePoint* points, int count) override;
  void Rectangle(const DeviceRect& rect) override;
  void Ellipse(const DeviceRect& rect) override;

  void StretchBlt(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                  RasterOp op) override;
  void StretchDib(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source) override;
  std::unique_ptr<Bitmap> CopyArea(const DeviceRect& area) override;

  void SetFont(const LogicalFont& font) override;
  LogicalFont GetFont() const override { return state_.font; }
  TextMetrics GetTextMetrics() override;
  TextSize GetTextExtent(std::string_view text) override;
  void SetTextColor(ColorRef color) override { state_.textColor = color; }
  ColorRef GetTextColor() const override { return state_.textColor; }
  void SetTextAlign(TextAlign align) override { state_.textAlign = align; }
  TextAlign GetTextAlign() const override { return state_.textAlign; }
  void TextOut(DevicePoint anchor, std::string_view text) override;

 private:
  struct State {
    Pen pen;
    Brush brush;
    DrawMode drawMode = DrawMode::Copy;
    FillMode fillMode = FillMode::Alternate;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    std::optional<DeviceRect> clip;
    LogicalFont font;
    ColorRef textColor = kBlack;
    TextAlign textAlign = TextAlign::TopLeft;
  };
  // A Qt font made for one logical font, kept while the context lives.
  struct CachedFont {
    LogicalFont key;  // escapement 0
    QFont font;
  };

  void Begin();
  void ApplyClip();
  const QFont& CurrentQFont();
  // The Qt pen of the current pen, made again only when the pen changed.
  const QPen& CurrentQPen();
  QRect DeviceBounds() const;
  // Runs a drawing over the given area: on the device in copy mode, or (XOR mode) into
  // a black scratch image that is then XORed onto the device.
  template <typename Draw>
  void Paint(const QRect& area, Draw&& draw);
  void Transfer(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source, RasterOp op);
  const std::vector<QPointF>& ToQPoints(const DevicePoint* points, int count, double offset);

  std::optional<QImage> ownImage_;
  std::optional<QPainter> ownPainter_;
  QImage* image_ = nullptr;
  QPainter* painter_ = nullptr;
  bool restorePainter_ = false;      // the caller's painter gets its state back at the end
  std::optional<QRegion> baseClip_;  // the caller's painter's clip
  bool canStretchBlt_ = true;
  bool canStretchDib_ = true;
  State state_;
  std::vector<State> saved_;
  std::vector<CachedFont> fonts_;
  std::vector<QPointF> points_;
  std::vector<QPointF> fillPoints_;
  std::optional<Pen> qpenOf_;
  QPen qpen_;
};

}  // namespace koltar
