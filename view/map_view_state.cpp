#include "view/map_view_state.h"

#include <algorithm>
#include <cmath>

#include "map/mmap.h"

namespace koltar {
namespace {

std::int32_t Middle(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>((std::int64_t{a} + b) / 2);
}

constexpr double kLineShare = 0.1;  // a line step is a tenth of the window

}  // namespace

ViewMapFacts ViewFactsOf(const MMap& map, const PixelSize& pixel) {
  return ViewMapFacts{map.unit(), pixel, map.extent(), map.smallestScale(), map.largestScale()};
}

MapPoint MiddleOf(const MapRect& r) {
  if (r.IsEmpty()) return MapPoint{0, 0};
  return MapPoint{Middle(r.left, r.right), Middle(r.top, r.bottom)};
}

RouteView RouteViewOf(const MapRect& bounds, std::int32_t fitScale) {
  return RouteView{MultiplyScale(fitScale, 1.2),
                   MapPoint{Middle(bounds.left, bounds.right), Middle(bounds.top, bounds.bottom)}};
}

MapViewState::MapViewState(const ViewMapFacts& facts) : facts_(facts) {
  view_.scale = -1;
  view_.centre = MiddleOf(facts_.extent);
}

std::int32_t MapViewState::SetScale(std::int32_t request) {
  return koltar::SetScale(view_, request, facts_.smallestScale, facts_.largestScale);
}

LCTransform MapViewState::Transform() const { return BuildTransform(view_, facts_.unit, facts_.pixel); }

std::int32_t MapViewState::FitScale(const MapRect& rect) const {
  return koltar::FitScale(rect, view_.rect, facts_.unit, facts_.pixel);
}

MapRect MapViewState::VisibleMapRect() const {
  const LCTransform t = Transform();
  const DeviceRect& c = view_.rect;
  const MapPoint a = DeviceToMap(t, DevicePoint{c.left, c.top});
  const MapPoint b = DeviceToMap(t, DevicePoint{c.right, c.bottom});
  return MapRect::Of(a.x, a.y, b.x, b.y);
}

void MapViewState::FitWholeMap() {
  SetScale(MultiplyScale(FitScale(facts_.extent), 1.1));
  view_.centre = MiddleOf(facts_.extent);
}

void MapViewState::ShowRoute(const MapRect& bounds) {
  const RouteView target = RouteViewOf(bounds, FitScale(bounds));
  SetScale(target.scale);
  view_.centre = target.centre;
}

bool MapViewState::ZoomAround(DevicePoint at, double factor) {
  const MapPoint fixed = DeviceToMap(Transform(), at);
  const std::int32_t before = view_.scale;
  SetScale(MultiplyScale(view_.scale, factor));
  if (view_.scale == before) return false;
  // Centre the new transform on the fixed point, then take the map point that lands on
  // the device rectangle's middle when the fixed point sits at `at`.
  MapView around = view_;
  around.centre = fixed;
  const LCTransform t = BuildTransform(around, facts_.unit, facts_.pixel);
  const DevicePoint mirrored{2 * t.deviceOriginX - at.x, 2 * t.deviceOriginY - at.y};
  view_.centre = DeviceToMap(t, mirrored);
  return true;
}

void MapViewState::PanBy(DevicePoint offset) {
  const LCTransform t = Transform();
  const MapPoint from = DeviceToMap(t, DevicePoint{t.deviceOriginX, t.deviceOriginY});
  const MapPoint to = DeviceToMap(t, DevicePoint{t.deviceOriginX - offset.x, t.deviceOriginY - offset.y});
  MapPoint c{ClampToInt32(std::int64_t{view_.centre.x} + (std::int64_t{to.x} - from.x)),
             ClampToInt32(std::int64_t{view_.centre.y} + (std::int64_t{to.y} - from.y))};
  const MapRect& e = facts_.extent;
  if (!e.IsEmpty()) c = {std::clamp(c.x, e.left, e.right), std::clamp(c.y, e.bottom, e.top)};
  view_.centre = c;
}

bool MapViewState::ZoomToBand(const DeviceRect& band) { return FitBand(band, true); }

bool MapViewState::ShrinkIntoBand(const DeviceRect& band) { return FitBand(band, false); }

bool MapViewState::FitBand(const DeviceRect& r, bool zoomIn) {
  if (r.width() == 0 || r.height() == 0) return false;
  const LCTransform t = Transform();
  const MapPoint a = DeviceToMap(t, DevicePoint{r.left, r.top});
  const MapPoint b = DeviceToMap(t, DevicePoint{r.right, r.bottom});
  view_.centre = MapPoint{Middle(a.x, b.x), Middle(a.y, b.y)};
  const double fx = static_cast<double>(r.width()) / view_.rect.width();
  const double fy = static_cast<double>(r.height()) / view_.rect.height();
  const double f = std::max(fx, fy);
  SetScale(zoomIn ? MultiplyScale(view_.scale, f) : ClampToInt32(view_.scale / f));
  return true;
}

bool MapViewState::Scrollable() const { return HasScale() && !facts_.extent.IsEmpty(); }

std::int32_t MapViewState::ScrollTarget(ScrollAxis axis, ScrollStep step) const {
  const MapRect& e = facts_.extent;
  const bool horizontal = axis == ScrollAxis::Horizontal;
  const double page = std::max<std::int32_t>(
      1, DeviceLengthToMap(Transform(), horizontal ? view_.rect.width() : view_.rect.height()));
  const double now = horizontal ? view_.centre.x : view_.centre.y;
  // Forward moves right, or down to smaller y.
  const double sign = horizontal ? 1.0 : -1.0;
  double next = now;
  switch (step) {
    case ScrollStep::LineForward: next = now + sign * page * kLineShare; break;
    case ScrollStep::LineBack: next = now - sign * page * kLineShare; break;
    case ScrollStep::PageForward: next = now + sign * page; break;
    case ScrollStep::PageBack: next = now - sign * page; break;
    case ScrollStep::ToStart: next = horizontal ? e.left : e.top; break;
    case ScrollStep::ToEnd: next = horizontal ? e.right : e.bottom; break;
  }
  const double low = horizontal ? e.left : e.bottom;
  const double high = horizontal ? e.right : e.top;
  return ClampToInt32(std::clamp(std::round(next), low, high));
}

std::int32_t MapViewState::ScrollTo(ScrollAxis axis, std::int32_t coordinate) {
  std::int32_t& now = axis == ScrollAxis::Horizontal ? view_.centre.x : view_.centre.y;
  const std::int32_t pixels = MapLengthToDevice(Transform(), static_cast<double>(coordinate) - now);
  now = coordinate;
  return pixels;
}

int MapViewState::ScrollPosition(ScrollAxis axis, int max) const {
  const std::int32_t coordinate = axis == ScrollAxis::Horizontal ? view_.centre.x : view_.centre.y;
  return ScrollPosFromMap(facts_.extent, axis, coordinate, 0, max);
}

std::int32_t MapViewState::CoordinateAtScrollPosition(ScrollAxis axis, int position, int max) const {
  return MapFromScrollPos(facts_.extent, axis, position, 0, max);
}

}  // namespace koltar
