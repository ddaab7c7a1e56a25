#include "categories/line.h"

#include <cmath>

#include "symbology/cartosymb.h"

namespace koltar {

MLine::MLine(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName)
    : name_(categoryName) {
  const CategorySection section(categoryName, mapDirectory, mapFileName);
  mapFile_ = section.mapFile();
  if (!section.CheckMapFile()) return;
  files_.Open(section, layers_);
}

void MLine::Draw(const RenderContext& context) {
  if (!ReadyToDraw(context, name_, files_.Drawable(), !layers_.empty())) return;
  DeviceContext& dc = context.dc;
  const LCTransform& transform = context.transform;
  const MCartoSymb& symbology = context.symbology;
  const std::int32_t scale = context.scale;

  for (Layer& layer : layers_) {
    layer.Prepare(symbology, name_);
    const std::int32_t style = symbology.GetLineStyle(name_, layer.name);
    for (int k = 0; k < 3; ++k) {
      const ColorRef color =
          k == 1 ? symbology.GetFillColor(name_, layer.name) : symbology.GetLineColor(name_, layer.name);
      const double width = symbology.GetStrokeWidth(name_, layer.name, k);
      const auto index = static_cast<std::size_t>(k);
      if (style >= 0 && width > 0) {
        layer.strokeWidth[index] = GroundToMapLength(width, context.unit);
        layer.pen[index] =
            Pen{color, PenStyleOf(style), MapLengthToDevice(transform, layer.strokeWidth[index])};
      } else {
        layer.strokeWidth[index] = 0;
        layer.pen[index].reset();
      }
    }
  }
  const MapRect view = context.View();
  const Pen previous = dc.GetPen();

  RecordArray& records = files_.records;
  for (std::size_t k = 0; k < 3; ++k) {
    for (std::int32_t i = 0; i < records.count(); ++i) {
      if (context.EscapePressed()) break;
      if (!files_.check.usable(i)) continue;
      const std::uint8_t* r = records.at(i);
      const Layer& layer = layers_[static_cast<std::size_t>(RecordLayer(r) - 1)];
      if (!layer.Shows(scale)) {
        records.SetDrawn(i, false);
        continue;
      }
      if (!layer.pen[k]) continue;  // the flag keeps its value
      if (PolyRecord::Bounds(r).Intersects(view)) {
        dc.SetPen(*layer.pen[k]);
        const std::int32_t count = files_.ToDevice(transform, r);
        if (count > 0) dc.Polyline(files_.scratch.data(), count);
      }
      records.SetDrawn(i, true);
    }
  }

  dc.SetPen(previous);
  for (Layer& layer : layers_)
    for (auto& pen : layer.pen) pen.reset();
}

bool MLine::OnLine(const std::uint8_t* r, MapPoint p, double halfWidth) const {
  const std::int32_t count = PolyRecord::PointCount(r);
  for (std::int32_t j = 0; j + 1 < count; ++j) {
    const MapPoint from = files_.PointOf(r, j);
    const MapPoint to = files_.PointOf(r, j + 1);
    // A click exactly on either end of a segment hits; so the last vertex of a line is
    // found like every other one.
    if (p == from || p == to) return true;
    const double ax = static_cast<double>(from.x) - p.x, ay = static_cast<double>(from.y) - p.y;
    const double bx = static_cast<double>(to.x) - p.x, by = static_cast<double>(to.y) - p.y;
    // Only where p lies between the segment's ends as seen across it.
    if (ax * bx + ay * by >= 0.0) continue;
    const double dx0 = static_cast<double>(to.x) - from.x, dy0 = static_cast<double>(to.y) - from.y;
    const double length = std::sqrt(dx0 * dx0 + dy0 * dy0);
    const double dx = dx0 / length, dy = dy0 / length;
    const double distance =
        std::fabs((static_cast<double>(from.y) - p.y) * dx + (static_cast<double>(p.x) - from.x) * dy);
    if (halfWidth > distance) return true;
  }
  return false;
}

std::optional<std::int32_t> MLine::HitTest(MapPoint p) const {
  if (layers_.empty() || !files_.coords.present()) return std::nullopt;
  const RecordArray& records = files_.records;
  for (std::int32_t i = records.count() - 1; i >= 0; --i) {
    if (!files_.check.usable(i) || !records.IsDrawn(i)) continue;
    const std::uint8_t* r = records.at(i);
    const std::int32_t w = layers_[static_cast<std::size_t>(RecordLayer(r) - 1)].strokeWidth[0];
    if (!PolyRecord::Bounds(r).Inflated(w, w).Contains(p)) continue;
    if (OnLine(r, p, w * 0.5)) return i;
  }
  return std::nullopt;
}

bool MLine::IsDrawn(std::int32_t index) const {
  return index >= 0 && index < files_.records.count() && files_.records.IsDrawn(index);
}

}  // namespace koltar
