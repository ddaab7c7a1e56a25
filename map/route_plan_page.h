#pragma once
// The printed route plan: one page with the map on the left and, in a column on the
// right, the route table above a header box that names the publisher. Printing, the
// print preview and koltar-cli's PDF draw it alike, on whatever device context they
// have; lengths in millimetres come from the device's vertical resolution (1 mm = dots
// per inch x 0.03937, fraction dropped).
//
// Device coordinates, y down, on a page of width x height device units:
//
//   margin 5 mm, the inner page the page less 10 mm each way, gap 2 mm, rule 1 mm;
//   R = margin + inner width - rule - 3, B = margin + inner height - rule - 3,
//   T = margin + rule + 3, X = R - column width;
//   header box (X, B - box height) ... (R, B); route column (X, T) ... (R, header top -
//   rule); map area (T, T) ... (X - rule, B); page frame (margin, margin) ...
//   (margin + inner width - 2, margin + inner height - 2), drawn 3 device units wide.
//
// The column is wide enough for 52 average characters of the 8-point font, or for the
// header's first line, whichever is wider, plus two gaps. The fonts are "ARIAL CE": 8
// points (rows and the header's further lines), 9 points bold (the header's first
// line), 8 points bold and underlined (the column titles).

#include <cstdint>

#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/dc.h"
#include "platform/device_types.h"
#include "platform/services.h"

namespace koltar {

class MMap;
class ProgressService;

// Where the page's parts lie, in device units.
struct RoutePlanLayout {
  std::int32_t dpi = 0;  // the device's vertical dots per inch
  std::int32_t margin = 0;
  std::int32_t gap = 0;
  std::int32_t rule = 0;
  std::int32_t innerWidth = 0;
  std::int32_t innerHeight = 0;
  DeviceRect mapArea;
  DeviceRect column;                  // the route table
  DeviceRect headerBox;               // the publisher's lines
  DeviceRect frame;                   // the page frame
  std::int32_t lineHeight = 0;        // of the 8-point font
  std::int32_t titleLineHeight = 0;   // of the 9-point font
  std::int32_t averageCharWidth = 0;  // of the 8-point font
};

// The fonts of the page on a device of `dpi` dots per inch: "ARIAL CE", height
// -(dpi x points / 72), weight 400 or 700.
LogicalFont RoutePlanFont(std::int32_t dpi, std::int32_t points, bool bold, bool underline = false);

// A length in millimetres as device units at `dpi` dots per inch, fraction dropped.
std::int32_t MillimetresToDevice(double millimetres, std::int32_t dpi);

// Lays out a page of width x height device units on `dc`, measuring the fonts there
// (the context's font is restored afterwards).
RoutePlanLayout LayOutRoutePlanPage(DeviceContext& dc, std::int32_t width, std::int32_t height);

// Draws the whole page: the map rectangle `shown` (map units) centred in the map area,
// its width filling the area's width, the same scale both ways, with `scale` deciding
// what is visible at it; the table of the route's shown itinerary entries (requested
// route points in bold; the rows stop above the header box); the header box; the
// frames. The map's drawing polls `progress` as a map window's does.
void DrawRoutePlanPage(MMap& map, DeviceContext& dc, const MapRect& shown, std::int32_t scale,
                       std::int32_t width, std::int32_t height, ProgressService& progress = Progress());

// The transform that puts `shown` into `area` as DrawRoutePlanPage does.
LCTransform RoutePlanTransform(const MapRect& shown, const DeviceRect& area);

}  // namespace koltar
