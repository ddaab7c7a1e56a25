#include "map/route_plan_page.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "map/mmap.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_state.h"

namespace koltar {
namespace {

constexpr double kMillimetresPerInch = 0.03937;  // inches per millimetre, as the page counts
constexpr std::int32_t kFramePenWidth = 3;
// The table's columns end this many average characters right of its left edge.
constexpr std::int32_t kDistanceColumn = 32;
constexpr std::int32_t kTimeColumn = 42;
constexpr std::int32_t kCostColumn = 52;
constexpr std::int32_t kTableCharacters = 3 * 10 + 22;

void RightAligned(DeviceContext& dc, std::int32_t right, std::int32_t top, std::string_view text) {
  dc.TextOut({right - dc.GetTextExtent(text).cx, top}, text);
}

void Centred(DeviceContext& dc, const DeviceRect& box, std::int32_t top, std::string_view text) {
  dc.TextOut({box.left + (box.width() - dc.GetTextExtent(text).cx) / 2, top}, text);
}

std::int32_t Middle(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(a) + b) / 2);
}

void DrawHeaderBox(DeviceContext& dc, const RoutePlanLayout& page) {
  std::int32_t top = page.headerBox.top + page.gap;
  dc.SetFont(RoutePlanFont(page.dpi, 9, true));
  Centred(dc, page.headerBox, top, kPublisherName);
  top += page.titleLineHeight;
  dc.SetFont(RoutePlanFont(page.dpi, 8, false));
  Centred(dc, page.headerBox, top, kPublisherAddress);
  top += page.lineHeight;
  Centred(dc, page.headerBox, top, kPublisherContact);
}

void DrawRouteTable(const MMap& map, DeviceContext& dc, const RoutePlanLayout& page) {
  const std::int32_t x0 = page.column.left + page.gap;
  const std::int32_t avg = page.averageCharWidth;
  const std::int32_t titleTop = page.column.top + page.gap;
  dc.SetFont(RoutePlanFont(page.dpi, 8, true, true));
  dc.TextOut({x0, titleTop}, "C s o m ó p o n t");
  RightAligned(dc, x0 + kDistanceColumn * avg, titleTop, "Táv.");
  RightAligned(dc, x0 + kTimeColumn * avg, titleTop, "I d ő");
  RightAligned(dc, x0 + kCostColumn * avg, titleTop, "Költs.");

  const MOptPath* network = map.roadNetwork();
  if (map.townCategory() < 0 || !network || network->routeState().stepCount() <= 0) return;
  const RouteState& route = network->routeState();
  const std::int32_t nameRight = x0 + static_cast<std::int32_t>(0.8 * (kDistanceColumn * avg));
  const std::int32_t last = page.column.bottom - page.lineHeight - page.gap;
  std::int32_t top = titleTop + page.lineHeight * 3 / 2;
  ItineraryItem item;
  for (std::int32_t i = 0; i <= route.stepCount() && top < last; ++i) {
    if (!route.GetItineraryEntry(i, item)) continue;
    dc.SetFont(RoutePlanFont(page.dpi, 8, item.mark == kRoutePointMark));
    dc.Save();
    dc.SetClipRect({x0, top, nameRight, top + page.lineHeight});
    dc.TextOut({x0, top}, StringPrintf("%s", item.name.c_str()));
    dc.Restore();
    RightAligned(dc, x0 + kDistanceColumn * avg, top,
                 StringPrintf("%6.1f", static_cast<double>(item.distance) * 0.001));
    RightAligned(dc, x0 + kTimeColumn * avg, top, FormatRouteTime(item.time));
    RightAligned(dc, x0 + kCostColumn * avg, top, StringPrintf("%6.1f", static_cast<double>(item.cost)));
    top += page.lineHeight;
  }
}

}  // namespace

std::int32_t MillimetresToDevice(double millimetres, std::int32_t dpi) {
  return static_cast<std::int32_t>(millimetres * dpi * kMillimetresPerInch);
}

LogicalFont RoutePlanFont(std::int32_t dpi, std::int32_t points, bool bold, bool underline) {
  LogicalFont font;
  font.height = -(dpi * points / 72);
  font.weight = bold ? 700 : 400;
  font.underline = underline;
  font.faceName = "ARIAL CE";
  return font;
}

RoutePlanLayout LayOutRoutePlanPage(DeviceContext& dc, std::int32_t width, std::int32_t height) {
  RoutePlanLayout page;
  page.dpi = dc.LogicalDpiY();
  page.margin = MillimetresToDevice(5, page.dpi);
  page.innerWidth = width - MillimetresToDevice(10, page.dpi);
  page.innerHeight = height - MillimetresToDevice(10, page.dpi);
  page.gap = MillimetresToDevice(2, page.dpi);
  page.rule = MillimetresToDevice(1, page.dpi);

  const LogicalFont previous = dc.GetFont();
  dc.SetFont(RoutePlanFont(page.dpi, 8, false));
  const TextMetrics rows = dc.GetTextMetrics();
  page.lineHeight = rows.height;
  page.averageCharWidth = rows.averageCharWidth;
  dc.SetFont(RoutePlanFont(page.dpi, 9, true));
  page.titleLineHeight = dc.GetTextMetrics().height;
  const std::int32_t headerWidth = dc.GetTextExtent(kPublisherName).cx;
  dc.SetFont(previous);

  const std::int32_t columnWidth =
      std::max(kTableCharacters * page.averageCharWidth, headerWidth) + 2 * page.gap;
  const std::int32_t boxHeight = page.titleLineHeight + 2 * page.gap + 2 * page.lineHeight;
  const std::int32_t right = page.margin + page.innerWidth - page.rule - 3;
  const std::int32_t bottom = page.margin + page.innerHeight - page.rule - 3;
  const std::int32_t left = right - columnWidth;
  const std::int32_t top = page.rule + 3 + page.margin;
  page.headerBox = {left, bottom - boxHeight, right, bottom};
  page.column = {left, top, right, page.headerBox.top - page.rule};
  page.mapArea = {top, top, left - page.rule, bottom};
  page.frame = {page.margin, page.margin, page.margin + page.innerWidth - 2,
                page.margin + page.innerHeight - 2};
  return page;
}

LCTransform RoutePlanTransform(const MapRect& shown, const DeviceRect& area) {
  LCTransform t;
  const std::int64_t mapWidth = static_cast<std::int64_t>(shown.right) - shown.left;
  t.wx = static_cast<std::int32_t>(std::clamp<std::int64_t>(mapWidth, 1, kCoordMax));
  t.wy = t.wx;
  t.vx = std::max(area.width(), 1);
  t.vy = -t.vx;
  t.mapOriginX = Middle(shown.left, shown.right);
  t.mapOriginY = Middle(shown.top, shown.bottom);
  t.deviceOriginX = Middle(area.left, area.right);
  t.deviceOriginY = Middle(area.top, area.bottom);
  return t;
}

void DrawRoutePlanPage(MMap& map, DeviceContext& dc, const MapRect& shown, std::int32_t scale,
                       std::int32_t width, std::int32_t height, ProgressService& progress) {
  const RoutePlanLayout page = LayOutRoutePlanPage(dc, width, height);
  dc.Save();
  dc.SetTextAlign(TextAlign::TopLeft);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kBlack);
  DrawHeaderBox(dc, page);
  DrawRouteTable(map, dc, page);

  dc.Save();
  dc.SetClipRect(page.mapArea);
  map.Draw(dc, RoutePlanTransform(shown, page.mapArea), page.mapArea, scale, progress);
  dc.Restore();

  dc.SetBrush(Brush{Brush::Kind::Hollow});
  dc.SetPen(Pen{});
  dc.Rectangle(page.mapArea);
  dc.Rectangle(page.column);
  dc.Rectangle(page.headerBox);
  dc.SetPen(Pen{kBlack, PenStyle::Solid, kFramePenWidth});
  dc.Rectangle(page.frame);
  dc.Restore();
}

}  // namespace koltar
