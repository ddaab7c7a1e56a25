#pragma once
// The view of a map without the toolkit: what a map window, a printout or koltar-cli's
// picture shows (scale, centre, device rectangle) together with the facts of the map it
// needs (unit, pixel size, extent, scale range), and the operations the mouse tools, the
// scroll bars and the view commands perform on it. A window turns its events into these
// calls and draws again; it shows the scale itself (ScaleText) after a change.
//
// Coordinates as in geometry/transform.h: map units y up, device pixels y down. Middles
// of two coordinates are their sum halved in 64 bits, rounded toward zero.

#include <cstdint>

#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/device_types.h"

namespace koltar {

class MMap;

// What a view needs to know of its map.
struct ViewMapFacts {
  std::int32_t unit = 10;  // metres per map unit
  PixelSize pixel;         // one screen pixel, millimetres
  MapRect extent = MapRect::Empty();
  std::int32_t smallestScale = 1;  // the scale range SetScale clamps into
  std::int32_t largestScale = kCoordMax;
};

// The facts of a loaded map, seen on a screen whose pixels measure `pixel`.
ViewMapFacts ViewFactsOf(const MMap& map, const PixelSize& pixel);

// The middle of a rectangle, each half rounded toward zero; (0, 0) for the empty one.
MapPoint MiddleOf(const MapRect& r);

// Where a view goes to show the whole route: `fitScale` (the view's FitScale of the
// route's bounds) times 1.2, fraction dropped, and the bounds' middle.
struct RouteView {
  std::int32_t scale = 0;
  MapPoint centre;
};
RouteView RouteViewOf(const MapRect& bounds, std::int32_t fitScale);

// A step of a scroll bar or a key along one axis: a tenth of the window (a line) or a
// whole window (a page) forward or back, or to an end of the map's extent. Forward is
// to the right, or down (to smaller y); the start is the left or the top edge.
enum class ScrollStep { LineForward, LineBack, PageForward, PageBack, ToStart, ToEnd };

class MapViewState {
 public:
  MapViewState() = default;
  // No scale yet (-1), centred on the middle of the map's extent.
  explicit MapViewState(const ViewMapFacts& facts);

  const ViewMapFacts& facts() const { return facts_; }
  const MapView& view() const { return view_; }
  std::int32_t scale() const { return view_.scale; }
  MapPoint centre() const { return view_.centre; }
  const DeviceRect& deviceRect() const { return view_.rect; }
  // True once a scale is set.
  bool HasScale() const { return view_.scale > 0; }

  // The device rectangle shown (a window's client area, a picture's size).
  void SetDeviceRect(const DeviceRect& rect) { view_.rect = rect; }
  // Rounds the request (RoundScale), clamps it into the map's scale range, stores it and
  // returns it.
  std::int32_t SetScale(std::int32_t request);
  void SetCentre(MapPoint centre) { view_.centre = centre; }

  // The transform of the view as it is now.
  LCTransform Transform() const;
  // The scale at which a map rectangle just fits into the device rectangle.
  std::int32_t FitScale(const MapRect& rect) const;
  // The map rectangle shown: the map points at the device rectangle's top left and
  // bottom right corners.
  MapRect VisibleMapRect() const;

  // The whole map: the scale that fits the extent, times 1.1, centred on the extent's
  // middle ((0, 0) for a map without objects).
  void FitWholeMap();
  // The whole route whose bounds are given (RouteViewOf).
  void ShowRoute(const MapRect& bounds);

  // Scale times `factor` (SetScale's rounding and range), the map point at device point
  // `at` keeping its place. False, with the centre unchanged, when the scale stays.
  bool ZoomAround(DevicePoint at, double factor);
  // The picture was dragged by `offset` pixels: the centre moves so that the map point
  // under the mouse stays under it, kept inside the extent when the map has one.
  void PanBy(DevicePoint offset);

  // A band of the zoom or area tool, in device units, let go: its middle becomes the
  // centre, and the band fills the window (ZoomToBand) or the window shrinks into the
  // band (ShrinkIntoBand), by the larger of the band's two ratios to the device
  // rectangle. False, with the view unchanged, for a band without width or height.
  bool ZoomToBand(const DeviceRect& band);
  bool ShrinkIntoBand(const DeviceRect& band);

  // Whether the scroll bars can move the view: a scale is set and the map has an extent.
  bool Scrollable() const;
  // The centre's coordinate along the axis after a step, rounded half away from zero and
  // kept inside the extent. The window (a page) is its width or height as map units, at
  // least 1. Only when Scrollable().
  std::int32_t ScrollTarget(ScrollAxis axis, ScrollStep step) const;
  // Moves the centre's coordinate along the axis; returns the distance moved in pixels
  // (MapLengthToDevice at the scale before the move; positive toward larger map
  // coordinates).
  std::int32_t ScrollTo(ScrollAxis axis, std::int32_t coordinate);
  // The scroll-bar position in [0, max] of the centre along the axis (ScrollPosFromMap).
  int ScrollPosition(ScrollAxis axis, int max) const;
  // The coordinate along the axis of a scroll-bar position in [0, max] (MapFromScrollPos).
  std::int32_t CoordinateAtScrollPosition(ScrollAxis axis, int position, int max) const;

 private:
  bool FitBand(const DeviceRect& band, bool zoomIn);

  ViewMapFacts facts_;
  MapView view_;
};

}  // namespace koltar
