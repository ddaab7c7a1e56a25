// Painting helpers for the program's icons: a 16-unit drawing grid on a square image of
// any size, one palette, and the outlined shapes that the icons are built from.

#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <initializer_list>
#include <vector>

namespace koltar::icons {

// The colours shared by all pictures, so that the set looks like one family.
namespace colour {
inline const QColor kOutline{0x1e, 0x23, 0x28};
inline const QColor kPaper{0xff, 0xff, 0xff};
inline const QColor kPaperShade{0xdc, 0xe0, 0xe4};
inline const QColor kText{0x7a, 0x84, 0x8e};
inline const QColor kLand{0xc4, 0xe6, 0xa2};
inline const QColor kLandShade{0x9c, 0xcc, 0x7c};
inline const QColor kFold{0x6c, 0x9c, 0x50};
inline const QColor kWater{0x5a, 0xa0, 0xe6};
inline const QColor kRoad{0xf5, 0xc0, 0x3c};
inline const QColor kRoute{0xe0, 0x2c, 0x1e};
inline const QColor kStart{0x2e, 0xa8, 0x43};
inline const QColor kRed{0xd8, 0x24, 0x1c};
inline const QColor kGreen{0x2e, 0xa8, 0x43};
inline const QColor kBlue{0x2a, 0x6a, 0xd0};
inline const QColor kNavy{0x1f, 0x3c, 0x88};
inline const QColor kTitle{0x2a, 0x5c, 0xb4};
inline const QColor kMetal{0xa8, 0xb0, 0xb8};
inline const QColor kMetalDark{0x6e, 0x76, 0x80};
inline const QColor kMetalLight{0xd8, 0xdc, 0xe0};
inline const QColor kGlass{0xc8, 0xe4, 0xff};
inline const QColor kHandle{0x6a, 0x44, 0x22};
inline const QColor kFolder{0xf4, 0xc6, 0x4e};
inline const QColor kFolderShade{0xd8, 0xa0, 0x2a};
inline const QColor kGold{0xf4, 0xc4, 0x30};
inline const QColor kGoldShade{0xcc, 0x94, 0x18};
inline const QColor kLabel{0xff, 0xff, 0x00};
inline const QColor kPalette{0xf0, 0xd8, 0xa8};
}  // namespace colour

// Draws on a square ARGB image in grid units: the image is 16 units wide whatever its
// size. Shapes are given by their outer edge and their outline lies inside that edge, one
// device pixel wide up to 48 pixels (wider on larger images); edges at whole grid units
// therefore fall on pixel edges at every size, which keeps the small icons crisp.
class IconPainter {
 public:
  // image: square, Format_ARGB32_Premultiplied, cleared to transparent by the caller.
  explicit IconPainter(QImage& image);

  QPainter& painter() { return painter_; }
  // The outline width in grid units of the current frame (1 at 16 pixels, 0.5 at 32...).
  double hair() const { return hair_; }
  // True when the image has room for details that 16 pixels cannot show.
  bool large() const { return size_ >= 32; }
  bool huge() const { return size_ >= 48; }

  // Draws in a smaller frame from here on: grid point p lands at origin + p * scale of
  // the enclosing frame. Every Push is matched by a Pop.
  void Push(QPointF origin, double scale);
  void Pop();

  // Fills a closed shape and draws its outline just inside its edge.
  void Shape(const QPainterPath& path, const QColor& fill);
  void Shape(const QPolygonF& polygon, const QColor& fill);
  void Box(const QRectF& rect, const QColor& fill);
  void Disc(QPointF centre, double radius, const QColor& fill);
  // Fills without outline.
  void Fill(const QPainterPath& path, const QColor& fill);
  void Fill(const QRectF& rect, const QColor& fill);
  // Draws only the outline of a closed shape, inside its edge.
  void Outline(const QPainterPath& path);
  // A coloured line of the given width (grid units) centred on the path, with an outline
  // around it.
  void Stroke(const QPainterPath& path, const QColor& colour, double width,
              Qt::PenCapStyle cap = Qt::RoundCap);
  // A plain coloured line centred on the path, without outline.
  void Line(const QPainterPath& path, const QColor& colour, double width, Qt::PenCapStyle cap = Qt::RoundCap);
  void Line(QPointF from, QPointF to, const QColor& colour, double width, Qt::PenCapStyle cap = Qt::RoundCap);
  // Makes the area within margin units of the shape transparent again, so that an overlay
  // drawn next stands clear of what lies under it.
  void Clear(const QPainterPath& path, double margin);

 private:
  QPainter painter_;
  int size_;
  double hair_;
  std::vector<double> saved_hairs_;
};

// A path through the given points, optionally closed.
QPainterPath PathOf(std::initializer_list<QPointF> points, bool closed = false);

}  // namespace koltar::icons
