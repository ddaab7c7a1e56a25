#include "tools/icons/icon_painter.h"

#include <cassert>
#include <cmath>

namespace koltar::icons {
namespace {

// Outline width in device pixels for an image of the given size.
int OutlinePixels(int size) { return size <= 48 ? 1 : static_cast<int>(std::lround(size / 40.0)); }

}  // namespace

IconPainter::IconPainter(QImage& image) : painter_(&image), size_(image.width()), hair_(0) {
  const double scale = size_ / 16.0;
  hair_ = OutlinePixels(size_) / scale;
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.scale(scale, scale);
}

void IconPainter::Push(QPointF origin, double scale) {
  painter_.save();
  painter_.translate(origin);
  painter_.scale(scale, scale);
  saved_hairs_.push_back(hair_);
  hair_ /= scale;
}

void IconPainter::Pop() {
  assert(!saved_hairs_.empty());
  hair_ = saved_hairs_.back();
  saved_hairs_.pop_back();
  painter_.restore();
}

void IconPainter::Shape(const QPainterPath& path, const QColor& fill) {
  Fill(path, fill);
  Outline(path);
}

void IconPainter::Shape(const QPolygonF& polygon, const QColor& fill) {
  QPainterPath path;
  path.addPolygon(polygon);
  path.closeSubpath();
  Shape(path, fill);
}

void IconPainter::Box(const QRectF& rect, const QColor& fill) {
  QPainterPath path;
  path.addRect(rect);
  Shape(path, fill);
}

void IconPainter::Disc(QPointF centre, double radius, const QColor& fill) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  Shape(path, fill);
}

void IconPainter::Fill(const QPainterPath& path, const QColor& fill) {
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(fill);
  painter_.drawPath(path);
}

void IconPainter::Fill(const QRectF& rect, const QColor& fill) {
  QPainterPath path;
  path.addRect(rect);
  Fill(path, fill);
}

void IconPainter::Outline(const QPainterPath& path) {
  // A line twice the outline width centred on the edge, of which only the inner half is
  // kept.
  painter_.save();
  painter_.setClipPath(path, Qt::IntersectClip);
  painter_.setPen(QPen(colour::kOutline, 2 * hair_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
  painter_.restore();
}

void IconPainter::Stroke(const QPainterPath& path, const QColor& colour, double width, Qt::PenCapStyle cap) {
  Line(path, colour::kOutline, width + 2 * hair_, cap);
  Line(path, colour, width, cap);
}

void IconPainter::Line(const QPainterPath& path, const QColor& colour, double width, Qt::PenCapStyle cap) {
  painter_.setPen(QPen(colour, width, Qt::SolidLine, cap, Qt::RoundJoin));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
}

void IconPainter::Line(QPointF from, QPointF to, const QColor& colour, double width, Qt::PenCapStyle cap) {
  QPainterPath path(from);
  path.lineTo(to);
  Line(path, colour, width, cap);
}

void IconPainter::Clear(const QPainterPath& path, double margin) {
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_Clear);
  painter_.setPen(QPen(Qt::black, 2 * margin, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter_.setBrush(Qt::black);
  painter_.drawPath(path);
  painter_.restore();
}

QPainterPath PathOf(std::initializer_list<QPointF> points, bool closed) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& point : points) {
    if (first) {
      path.moveTo(point);
      first = false;
    } else {
      path.lineTo(point);
    }
  }
  if (closed) path.closeSubpath();
  return path;
}

}  // namespace koltar::icons
