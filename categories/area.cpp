#include "categories/area.h"

#include <new>

#include "platform/dc.h"
#include "symbology/cartosymb.h"

namespace koltar {

LCRegion::LCRegion(const MapPoint* vertices, std::int32_t count) {
  if (count <= 0) return;
  try {
    points_.assign(vertices, vertices + count);
  } catch (const std::bad_alloc&) {
    points_.clear();
  }
}

bool LCRegion::Contains(MapPoint p) const {
  if (points_.empty()) return false;
  return PointInPolygon(points_.data(), static_cast<int>(points_.size()), p);
}

MArea::MArea(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName)
    : name_(categoryName) {
  const CategorySection section(categoryName, mapDirectory, mapFileName);
  mapFile_ = section.mapFile();
  if (!section.CheckMapFile()) return;
  files_.Open(section, layers_);
}

void MArea::Draw(const RenderContext& context) {
  if (!ReadyToDraw(context, name_, files_.Drawable(), !layers_.empty())) return;
  DeviceContext& dc = context.dc;
  const LCTransform& transform = context.transform;
  const MCartoSymb& symbology = context.symbology;

  const FillMode previousFill = dc.GetFillMode();
  const BackgroundMode previousBackground = dc.GetBackgroundMode();
  dc.SetFillMode(FillMode::Winding);
  for (LayerCommon& layer : layers_) layer.Prepare(symbology, name_);
  const MapRect view = context.View();

  RecordArray& records = files_.records;
  for (std::int32_t i = 0; i < records.count(); ++i) {
    if (context.EscapePressed()) break;
    if (!files_.check.usable(i)) continue;
    const std::uint8_t* r = records.at(i);
    const LayerCommon& layer = layers_[static_cast<std::size_t>(RecordLayer(r) - 1)];
    if (!layer.Shows(context.scale)) {
      records.SetDrawn(i, false);
      continue;
    }
    if (PolyRecord::Bounds(r).Intersects(view)) {
      // Pens and brushes are made per painted area, after the rectangle test.
      const ColorRef lineColor = symbology.GetLineColor(name_, layer.name);
      const ColorRef fillColor = symbology.GetFillColor(name_, layer.name);
      const std::int32_t hatch = symbology.GetHatchStyle(name_, layer.name);
      const std::int32_t style = symbology.GetLineStyle(name_, layer.name);
      const double width = symbology.GetStrokeWidth(name_, layer.name, 0);
      // A negative style or width paints neither outline nor fill.
      if (style >= 0 && width >= 0) {
        const Pen previousPen = dc.GetPen();
        const Brush previousBrush = dc.GetBrush();
        dc.SetPen(Pen{lineColor, PenStyleOf(style),
                      MapLengthToDevice(transform, GroundToMapLength(width, context.unit))});
        dc.SetBrush(FillBrush(fillColor, hatch));
        // The gaps of a hatch show what lies below.
        dc.SetBackgroundMode(BackgroundMode::Transparent);
        const std::int32_t count = files_.ToDevice(transform, r);
        if (count > 0) dc.Polygon(files_.scratch.data(), count);
        dc.SetPen(previousPen);
        dc.SetBrush(previousBrush);
      }
    }
    // Drawn also when outside the view or unpainted, so that it can be hit.
    records.SetDrawn(i, true);
  }

  dc.SetFillMode(previousFill);
  dc.SetBackgroundMode(previousBackground);
}

std::optional<std::int32_t> MArea::HitTest(MapPoint p) const {
  if (layers_.empty() || !files_.coords.present()) return std::nullopt;
  const RecordArray& records = files_.records;
  for (std::int32_t i = records.count() - 1; i >= 0; --i) {
    if (!files_.check.usable(i) || !records.IsDrawn(i)) continue;
    const std::uint8_t* r = records.at(i);
    if (!PolyRecord::Bounds(r).Contains(p)) continue;
    // The region's copy of the vertices lives only for this test.
    const std::int32_t count = PolyRecord::PointCount(r);
    std::vector<MapPoint> vertices(static_cast<std::size_t>(count));
    for (std::int32_t j = 0; j < count; ++j) vertices[static_cast<std::size_t>(j)] = files_.PointOf(r, j);
    if (LCRegion(std::move(vertices)).Contains(p)) return i;
  }
  return std::nullopt;
}

bool MArea::IsDrawn(std::int32_t index) const {
  return index >= 0 && index < files_.records.count() && files_.records.IsDrawn(index);
}

}  // namespace koltar
