#include "platform/qt/qt_device_context.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPixmap>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/qt/qt_images.h"
#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

constexpr int kDefaultDpi = 96;
constexpr int kDefaultCellHeight = 16;    // for a logical font of height 0
constexpr int kLargestPixelSize = 10000;  // guards the glyph cache against absurd heights
constexpr std::size_t kFontCacheSize = 64;
constexpr std::int64_t kLargestCopy = 32767;  // pixels per side of a saved area
constexpr const char* kSansFace = "Liberation Sans";

QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Coordinates this far out lie off every device; clamping them keeps Qt's integer
// rectangle arithmetic from overflowing.
constexpr int kCoordinateLimit = 1 << 30;

int Clamped(std::int32_t v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

// The pixels left <= x < right, top <= y < bottom, with turned-round sides put in order;
// a null rectangle when empty.
QRect ToQRect(const DeviceRect& r) {
  const int left = Clamped(std::min(r.left, r.right)), right = Clamped(std::max(r.left, r.right));
  const int top = Clamped(std::min(r.top, r.bottom)), bottom = Clamped(std::max(r.top, r.bottom));
  if (left == right || top == bottom) return {};
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The classic dash patterns, in pixels for thin pens and in pen widths for wider ones.
QList<qreal> DashPattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

bool IsThin(const Pen& pen) { return pen.width <= 1; }

QPen ToQPen(const Pen& pen) {
  if (pen.style == PenStyle::Null) return QPen(Qt::NoPen);
  QPen q(ToQColor(pen.color));
  const QList<qreal> pattern = DashPattern(pen.style);
  if (IsThin(pen)) {
    // The cosmetic stroker draws exact one-pixel lines; flat ends leave out each line's
    // last pixel, so the joints of a polyline are painted once.
    q.setWidth(0);
    q.setCosmetic(true);
    q.setCapStyle(Qt::FlatCap);
  } else {
    q.setWidth(pen.width);
    q.setJoinStyle(Qt::RoundJoin);
    q.setCapStyle(pattern.isEmpty() ? Qt::RoundCap : Qt::FlatCap);
  }
  if (!pattern.isEmpty()) q.setDashPattern(pattern);
  return q;
}

// One row of 8 pixels per byte, the highest bit leftmost; row 0 at device y = 0 (mod 8).
using HatchRows = std::array<std::uint8_t, 8>;

HatchRows HatchPattern(HatchStyle style) {
  constexpr HatchRows kHorizontal{0, 0, 0, 0xFF, 0, 0, 0, 0};
  constexpr HatchRows kVertical{0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};
  constexpr HatchRows kForward{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
  constexpr HatchRows kBackward{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  HatchRows rows{};
  switch (style) {
    case HatchStyle::Horizontal: return kHorizontal;
    case HatchStyle::Vertical: return kVertical;
    case HatchStyle::ForwardDiagonal: return kForward;
    case HatchStyle::BackwardDiagonal: return kBackward;
    case HatchStyle::Cross:
      for (std::size_t i = 0; i < 8; ++i) rows[i] = kHorizontal[i] | kVertical[i];
      return rows;
    case HatchStyle::DiagonalCross:
      for (std::size_t i = 0; i < 8; ++i) rows[i] = kForward[i] | kBackward[i];
      return rows;
  }
  return kHorizontal;
}

QBrush ToQBrush(const Brush& brush) {
  switch (brush.kind) {
    case Brush::Kind::Hollow: return QBrush(Qt::NoBrush);
    case Brush::Kind::Solid: return QBrush(ToQColor(brush.color));
    case Brush::Kind::Hatched: break;
  }
  // A texture with transparent gaps, so that the background mode does not matter.
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  const HatchRows rows = HatchPattern(brush.hatch);
  const QRgb ink = ToQRgb(brush.color);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (rows[static_cast<std::size_t>(y)] & (0x80 >> x)) tile.setPixel(x, y, ink);
  return QBrush(tile);
}

// Fits the pixel size of the font so that ascent + descent is the wanted cell height:
// the largest size whose cell does not exceed it.
void FitCellHeight(QFont& font, int cell) {
  auto cellOf = [&font](int pixelSize) {
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
  };
  const int first = cellOf(cell);
  int size =
      first > 0 ? std::clamp(static_cast<int>(std::lround(double(cell) * cell / first)), 1, kLargestPixelSize)
                : cell;
  for (int i = 0; i < 8 && size > 1 && cellOf(size) > cell; ++i) --size;
  for (int i = 0; i < 8 && size < kLargestPixelSize && cellOf(size + 1) <= cell; ++i) ++size;
  font.setPixelSize(size);
}

}  // namespace

void InstallFontSubstitutions() {
  static const char* const kSubstitutions[][2] = {
      {"Arial CE", kSansFace},
      {"Arial", kSansFace},
      {"Helvetica", kSansFace},
      {"MS Sans Serif", kSansFace},
      {"System", kSansFace},
      {"Times New Roman", "Liberation Serif"},
      {"Times New Roman CE", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Courier New CE", "Liberation Mono"},
  };
  for (const auto& [face, installed] : kSubstitutions) {
    // Qt keys substitutions by the lower-case family name, so any letter case matches.
    const QString family = QString::fromLatin1(face);
    if (!QFont::substitutes(family).contains(QString::fromLatin1(installed)))
      QFont::insertSubstitution(family, QString::fromLatin1(installed));
  }
}

QFont ToQFont(const LogicalFont& lf) {
  QString face = ToQString(lf.faceName).trimmed();
  if (face.isEmpty()) face = QString::fromLatin1(kSansFace);
  QFont font(face);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  font.setKerning(false);  // extents are the plain sum of the advances
  const int weight = lf.weight <= 0 ? 400 : std::clamp(static_cast<int>(lf.weight), 1, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(lf.italic);
  font.setUnderline(lf.underline);
  font.setStrikeOut(lf.strikeOut);
  if (lf.height < 0)
    font.setPixelSize(std::min(static_cast<int>(-std::int64_t{lf.height}), kLargestPixelSize));
  else
    FitCellHeight(
        font, lf.height == 0 ? kDefaultCellHeight : std::min(static_cast<int>(lf.height), kLargestPixelSize));
  if (lf.width != 0) {
    const int natural = QFontMetrics(font).averageCharWidth();
    const double wanted = std::abs(static_cast<double>(lf.width));
    if (natural > 0)
      font.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * wanted / natural)), 1, 4000));
  }
  return font;
}

QtDeviceContext::QtDeviceContext(int width, int height, int dpi) {
  if (dpi <= 0) dpi = kDefaultDpi;
  ownImage_.emplace(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  ownImage_->fill(Qt::white);
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  ownImage_->setDotsPerMeterX(dotsPerMeter);
  ownImage_->setDotsPerMeterY(dotsPerMeter);
  image_ = &*ownImage_;
  painter_ = &ownPainter_.emplace(image_);
  Begin();
}

QtDeviceContext::QtDeviceContext(QImage& image) : image_(&image) {
  painter_ = &ownPainter_.emplace(image_);
  Begin();
}

QtDeviceContext::QtDeviceContext(QPainter& painter) : painter_(&painter) {
  if (painter.device() && painter.device()->devType() == QInternal::Image)
    image_ = static_cast<QImage*>(painter.device());
  if (painter.isActive()) {
    painter.save();
    restorePainter_ = true;
  }
  Begin();
}

QtDeviceContext::~QtDeviceContext() {
  if (restorePainter_) painter_->restore();
}

void QtDeviceContext::Begin() {
  if (!painter_->isActive()) return;
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, false);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->setBrushOrigin(0, 0);
  // A clip the caller's painter has (the printable part of a page, say) stays the
  // bound of every clip rectangle set later.
  if (painter_->hasClipping()) baseClip_ = painter_->clipRegion();
}

int QtDeviceContext::LogicalDpiX() const {
  const QPaintDevice* device = painter_->device();
  return device ? device->logicalDpiX() : kDefaultDpi;
}

int QtDeviceContext::LogicalDpiY() const {
  const QPaintDevice* device = painter_->device();
  return device ? device->logicalDpiY() : kDefaultDpi;
}

void QtDeviceContext::Save() { saved_.push_back(state_); }

void QtDeviceContext::Restore() {
  if (saved_.empty()) return;
  state_ = std::move(saved_.back());
  saved_.pop_back();
  ApplyClip();
}

void QtDeviceContext::SetClipRect(const DeviceRect& rect) {
  state_.clip = rect;
  ApplyClip();
}

void QtDeviceContext::ClearClip() {
  state_.clip.reset();
  ApplyClip();
}

void QtDeviceContext::ApplyClip() {
  if (!painter_->isActive()) return;
  if (baseClip_)
    painter_->setClipRegion(*baseClip_);
  else
    painter_->setClipping(false);
  if (state_.clip)
    painter_->setClipRect(ToQRect(*state_.clip), baseClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
}

QRect QtDeviceContext::DeviceBounds() const {
  const QPaintDevice* device = painter_->device();
  return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

template <typename Draw>
void QtDeviceContext::Paint(const QRect& area, Draw&& draw) {
  if (!painter_->isActive()) return;  // a null image: nothing to draw on
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (state_.drawMode == DrawMode::Copy) {
    draw(*painter_);
    return;
  }
  // XOR: paint the figure as copy mode would onto black, then XOR that onto the device.
  // Black XOR anything leaves it, so only the painted pixels change, each exactly once
  // (a joint or an outline over its fill is not inverted twice).
  const QRect scratchArea = area.intersected(DeviceBounds());
  if (scratchArea.isEmpty()) return;
  QImage scratch(scratchArea.size(), QImage::Format_RGB32);
  scratch.fill(Qt::black);
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setBackgroundMode(Qt::TransparentMode);
    p.translate(-scratchArea.left(), -scratchArea.top());
    p.setBrushOrigin(0, 0);  // logical origin: the hatch stays aligned to the device's
    draw(p);
  }
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter_->drawImage(scratchArea.topLeft(), scratch);
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {

// The pixels that points and a pen margin can touch, clamped to a range QRect can hold.
QRect BoundsOf(const std::vector<QPointF>& points, int margin) {
  double left = points.front().x(), right = left, top = points.front().y(), bottom = top;
  for (const QPointF& p : points) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  auto clamp = [](double v) {
    return static_cast<int>(std::clamp(v, double{-kCoordinateLimit}, double{kCoordinateLimit}));
  };
  return QRect(QPoint(clamp(left - margin), clamp(top - margin)),
               QPoint(clamp(right + margin), clamp(bottom + margin)));
}

int MarginOf(const Pen& pen) { return std::max(pen.width, 1) + 2; }

}  // namespace

const std::vector<QPointF>& QtDeviceContext::ToQPoints(const DevicePoint* points, int count, double offset) {
  points_.clear();
  for (int i = 0; i < count; ++i) points_.emplace_back(points[i].x + offset, points[i].y + offset);
  return points_;
}

void QtDeviceContext::Polyline(const DevicePoint* points, int count) {
  if (count < 2 || state_.pen.style == PenStyle::Null) return;
  // A wide stroke is a filled outline: half a pixel puts its middle on the pixel centres.
  const auto& q = ToQPoints(points, count, IsThin(state_.pen) ? 0.0 : 0.5);
  const QPen& pen = CurrentQPen();
  const auto draw = [&](QPainter& p) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(q.data(), count);
  };
  // The bounds are for XOR only: a map draws tens of thousands of polylines in copy mode.
  if (state_.drawMode == DrawMode::Copy) {
    if (!painter_->isActive()) return;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    draw(*painter_);
    return;
  }
  Paint(BoundsOf(q, MarginOf(state_.pen)), draw);
}

const QPen& QtDeviceContext::CurrentQPen() {
  if (qpenOf_ != state_.pen) {
    qpen_ = ToQPen(state_.pen);
    qpenOf_ = state_.pen;
  }
  return qpen_;
}

void QtDeviceContext::Polygon(const DevicePoint* points, int count) {
  if (count < 2) return;
  const Qt::FillRule rule = state_.fillMode == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill;
  const bool filled = state_.brush.kind != Brush::Kind::Hollow;
  const bool outlined = state_.pen.style != PenStyle::Null;
  if (!filled && !outlined) return;
  // Fills cover the pixels whose centres lie inside; they take the points as they are.
  // The fill's points go to a buffer of their own, kept between calls like the outline's.
  fillPoints_ = ToQPoints(points, count, 0.0);
  const std::vector<QPointF>& fill = fillPoints_;
  const double offset = IsThin(state_.pen) ? 0.0 : 0.5;
  const auto& outline = ToQPoints(points, count, offset);
  const QPen& pen = CurrentQPen();
  const QBrush brush = ToQBrush(state_.brush);
  Paint(BoundsOf(fill, MarginOf(state_.pen)), [&](QPainter& p) {
    if (filled) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(fill.data(), count, rule);
    }
    if (outlined) {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(outline.data(), count, rule);
    }
  });
}

void QtDeviceContext::Rectangle(const DeviceRect& rect) {
  const QRect r = ToQRect(rect);
  if (r.isNull()) return;
  const bool filled = state_.brush.kind != Brush::Kind::Hollow;
  const bool outlined = state_.pen.style != PenStyle::Null;
  const QPen pen = ToQPen(state_.pen);
  const QBrush brush = ToQBrush(state_.brush);
  const int margin = MarginOf(state_.pen);
  Paint(r.adjusted(-margin, -margin, margin, margin), [&](QPainter& p) {
    if (filled) p.fillRect(r, brush);
    if (!outlined) return;
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (IsThin(state_.pen))
      p.drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    else
      p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1));
  });
}

void QtDeviceContext::Ellipse(const DeviceRect& rect) {
  const QRect r = ToQRect(rect);
  if (r.isNull()) return;
  const bool filled = state_.brush.kind != Brush::Kind::Hollow;
  const bool outlined = state_.pen.style != PenStyle::Null;
  const QPen pen = ToQPen(state_.pen);
  const QBrush brush = ToQBrush(state_.brush);
  const int margin = MarginOf(state_.pen);
  // The ellipse through the centres of the outermost pixels; with an outline the fill
  // keeps inside it, without one the fill takes the whole rectangle.
  const QRectF middle(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1);
  Paint(r.adjusted(-margin, -margin, margin, margin), [&](QPainter& p) {
    if (filled) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawEllipse(outlined ? middle : QRectF(r));
    }
    if (!outlined) return;
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (IsThin(state_.pen))
      p.drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    else
      p.drawEllipse(middle);
  });
}

void QtDeviceContext::StretchBlt(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                                 RasterOp op) {
  Transfer(target, bitmap, source, op);
}

void QtDeviceContext::StretchDib(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source) {
  Transfer(target, bitmap, source, RasterOp::Copy);
}

void QtDeviceContext::Transfer(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                               RasterOp op) {
  // Sizes in 64 bits: the rectangles of huge symbols may span more than 32 bits hold.
  const std::int64_t tw = std::int64_t{target.right} - target.left;
  const std::int64_t th = std::int64_t{target.bottom} - target.top;
  const std::int64_t sw = std::int64_t{source.right} - source.left;
  const std::int64_t sh = std::int64_t{source.bottom} - source.top;
  if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0 || !painter_->isActive()) return;
  // Only the part of the target that can show is made; a huge symbol at a large scale
  // must not make a huge image.
  const QRect shown = ToQRect(target).intersected(DeviceBounds());
  if (shown.isEmpty()) return;
  const QImage picture = ToQImage(bitmap);
  // Nearest neighbour by pixel centres: target pixel i shows source pixel
  // floor((i + 1/2) * s / t), so shrinking drops whole rows and columns.
  auto sourceIndex = [](std::int64_t i, std::int64_t t, std::int64_t s, int origin) {
    return static_cast<std::int64_t>(origin) + ((2 * i + 1) * s) / (2 * t);
  };
  QImage scaled(shown.size(), QImage::Format_RGB32);
  std::vector<std::int64_t> columns(static_cast<std::size_t>(shown.width()));
  for (int x = 0; x < shown.width(); ++x)
    columns[static_cast<std::size_t>(x)] =
        sourceIndex(std::int64_t{shown.left()} - target.left + x, tw, sw, source.left);
  for (int y = 0; y < shown.height(); ++y) {
    const std::int64_t sy = sourceIndex(std::int64_t{shown.top()} - target.top + y, th, sh, source.top);
    auto* out = reinterpret_cast<QRgb*>(scaled.scanLine(y));
    const bool rowInside = sy >= 0 && sy < picture.height();
    const auto* in =
        rowInside ? reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(sy))) : nullptr;
    for (int x = 0; x < shown.width(); ++x) {
      const std::int64_t sx = columns[static_cast<std::size_t>(x)];
      out[x] = in && sx >= 0 && sx < picture.width() ? in[sx] | 0xFF000000u : 0xFF000000u;
    }
  }
  switch (op) {
    case RasterOp::Copy: painter_->setCompositionMode(QPainter::CompositionMode_Source); break;
    case RasterOp::And: painter_->setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case RasterOp::Or: painter_->setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
  }
  painter_->drawImage(shown.topLeft(), scaled);
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

std::unique_ptr<Bitmap> QtDeviceContext::CopyArea(const DeviceRect& area) {
  const std::int64_t width = std::int64_t{area.right} - area.left;
  const std::int64_t height = std::int64_t{area.bottom} - area.top;
  if (width <= 0 || height <= 0 || width > kLargestCopy || height > kLargestCopy) return nullptr;
  const QRect rect = ToQRect(area);
  if (image_) return std::make_unique<QtBitmap>(image_->copy(rect));
  const QPaintDevice* device = painter_->device();
  if (device && device->devType() == QInternal::Pixmap)
    return std::make_unique<QtBitmap>(static_cast<const QPixmap*>(device)->copy(rect).toImage());
  return nullptr;
}

void QtDeviceContext::SetFont(const LogicalFont& font) { state_.font = font; }

const QFont& QtDeviceContext::CurrentQFont() {
  LogicalFont key = state_.font;
  key.escapement = 0;
  key.orientation = 0;
  for (const CachedFont& cached : fonts_)
    if (cached.key == key) return cached.font;
  if (fonts_.size() >= kFontCacheSize) fonts_.clear();
  fonts_.push_back({key, ToQFont(key)});
  return fonts_.back().font;
}

TextMetrics QtDeviceContext::GetTextMetrics() {
  const QFontMetrics metrics(CurrentQFont());
  return {metrics.ascent() + metrics.descent(), metrics.ascent(), metrics.descent(),
          metrics.averageCharWidth()};
}

TextSize QtDeviceContext::GetTextExtent(std::string_view text) {
  const QFontMetrics metrics(CurrentQFont());
  return {metrics.horizontalAdvance(ToQString(text)), metrics.ascent() + metrics.descent()};
}

void QtDeviceContext::TextOut(DevicePoint anchor, std::string_view text) {
  const QFont font = CurrentQFont();
  const QFontMetrics metrics(font);
  const QString s = ToQString(text);
  const int ascent = metrics.ascent();
  const int top = state_.textAlign == TextAlign::BaselineLeft ? -ascent : 0;
  // The character cell of the unturned text, relative to the anchor.
  const QRect cell(0, top, metrics.horizontalAdvance(s), ascent + metrics.descent());
  const double angle = -state_.font.escapement / 10.0;  // Qt turns clockwise on screen
  QTransform turn;
  turn.translate(anchor.x, anchor.y);
  turn.rotate(angle);
  // Italic and overhanging glyphs can leave the cell; the margin keeps them for XOR.
  const int margin = ascent / 2 + 2;
  const QRect area = turn.mapRect(cell.adjusted(-margin, -margin, margin, margin));
  const bool opaque = state_.backgroundMode == BackgroundMode::Opaque;
  const QColor ink = ToQColor(state_.textColor);
  Paint(area, [&](QPainter& p) {
    p.save();
    p.translate(anchor.x, anchor.y);
    p.rotate(angle);
    if (opaque) p.fillRect(cell, Qt::white);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QPoint(0, top + ascent), s);
    p.restore();
  });
}

}  // namespace koltar
