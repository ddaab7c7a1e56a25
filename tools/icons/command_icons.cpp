// Tool-bar and menu icons, and the program and map window icons. Every picture is drawn
// on the 16-unit grid of IconPainter; details that 16 pixels cannot carry are added on
// the larger sizes only.

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

#include "tools/icons/artwork.h"
#include "tools/icons/icon_painter.h"

namespace koltar::icons {
namespace {

using namespace colour;

QRectF Corners(double left, double top, double right, double bottom) {
  return {QPointF(left, top), QPointF(right, bottom)};
}

QPainterPath Ellipse(const QRectF& rect) {
  QPainterPath path;
  path.addEllipse(rect);
  return path;
}

QPainterPath Circle(QPointF centre, double radius) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  return path;
}

// ---- Small parts ----

// Horizontal text lines of a page or label, one outline wide.
void TextRule(IconPainter& ip, double left, double right, double y, const QColor& colour) {
  ip.Fill(Corners(left, y, right, y + ip.hair()), colour);
}

// A letter A standing in the box, drawn with a line of the given width.
void LetterA(IconPainter& ip, const QRectF& box, const QColor& colour, double width) {
  const double middle = box.center().x();
  const double bar = box.top() + box.height() * 0.66;
  const double inset = (middle - box.left()) * 0.66;
  QPainterPath path(QPointF(box.left(), box.bottom()));
  path.lineTo(middle, box.top());
  path.lineTo(box.right(), box.bottom());
  path.moveTo(middle - inset, bar);
  path.lineTo(middle + inset, bar);
  ip.painter().setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  ip.painter().setBrush(Qt::NoBrush);
  ip.painter().drawPath(path);
}

// A pennant on a pole: the end point of a route. foot: where the pole stands.
void EndFlag(IconPainter& ip, QPointF foot, double height) {
  const double pole = ip.huge() ? 0.7 : std::max(ip.hair(), 1.0);
  const QPointF top(foot.x(), foot.y() - height);
  const QPainterPath pennant = PathOf({top, top + QPointF(3.5, 2), top + QPointF(0, 4)}, true);
  // On 16 pixels an outline would leave hardly any red.
  if (ip.large()) {
    ip.Shape(pennant, kRed);
  } else {
    ip.Fill(pennant, kRed);
  }
  ip.Fill(Corners(foot.x() - pole, top.y(), foot.x(), foot.y()), kOutline);
}

// A route from a start disc to an end flag over the whole grid.
void RouteMotif(IconPainter& ip) {
  QPainterPath route(QPointF(3.5, 12.5));
  route.cubicTo(8, 12.5, 4.5, 7, 8.5, 7);
  route.cubicTo(11, 7, 10.5, 10, 12.5, 10);
  ip.Stroke(route, kBlue, 2);
  ip.Disc(QPointF(3.5, 12.5), 2.5, kStart);
  EndFlag(ip, QPointF(13.5, 10.5), 9.5);
}

// A magnifier with its lens centred at the given point.
void Magnifier(IconPainter& ip, QPointF centre, double radius, double handle) {
  const QPointF direction(M_SQRT1_2, M_SQRT1_2);
  QPainterPath stick(centre + direction * radius);
  stick.lineTo(centre + direction * (radius + handle));
  ip.Stroke(stick, kHandle, radius * 0.45);
  ip.Disc(centre, radius, kGlass);
  if (ip.large()) {
    // A glint on the glass.
    QPainterPath glint;
    const QRectF inner(centre - QPointF(radius * 0.6, radius * 0.6),
                       centre + QPointF(radius * 0.6, radius * 0.6));
    glint.arcMoveTo(inner, 100);
    glint.arcTo(inner, 100, 70);
    ip.Line(glint, kPaper, radius * 0.18);
  }
}

// A sheet of paper with a folded top right corner.
void Page(IconPainter& ip, const QRectF& rect, double ear) {
  const QPointF a = rect.topLeft();
  const QPointF b = rect.bottomRight();
  ip.Shape(PathOf({a, {b.x() - ear, a.y()}, {b.x(), a.y() + ear}, b, {a.x(), b.y()}}, true), kPaper);
  ip.Shape(PathOf({{b.x() - ear, a.y()}, {b.x() - ear, a.y() + ear}, {b.x(), a.y() + ear}}, true),
           kPaperShade);
}

// A window with a title bar.
void Window(IconPainter& ip, const QRectF& rect, double title) {
  ip.Box(rect, kPaper);
  const double h = ip.hair();
  ip.Fill(Corners(rect.left() + h, rect.top() + h, rect.right() - h, rect.top() + title), kTitle);
}

// A red cross that stands clear of what is under it.
void CrossBadge(IconPainter& ip, QPointF centre, double half) {
  QPainterPath cross(centre + QPointF(-half, -half));
  cross.lineTo(centre + QPointF(half, half));
  cross.moveTo(centre + QPointF(half, -half));
  cross.lineTo(centre + QPointF(-half, half));
  ip.Clear(cross, 1.0 + ip.hair());
  ip.Stroke(cross, kRed, 1.6);
}

// A green plus that stands clear of what is under it.
void PlusBadge(IconPainter& ip, QPointF centre, double half) {
  QPainterPath plus(centre + QPointF(-half, 0));
  plus.lineTo(centre + QPointF(half, 0));
  plus.moveTo(centre + QPointF(0, -half));
  plus.lineTo(centre + QPointF(0, half));
  ip.Clear(plus, 1.0 + ip.hair());
  ip.Stroke(plus, kGreen, 2, Qt::FlatCap);
}

// Corner brackets around the grid: "fit into the window".
void FitBrackets(IconPainter& ip) {
  const double w = 1.0;
  const double arm = 4;
  for (int corner = 0; corner < 4; ++corner) {
    const bool right = corner % 2 == 1;
    const bool bottom = corner >= 2;
    const double x = right ? 15 - w : 1;
    const double y = bottom ? 15 - w : 1;
    const double ax = right ? 15 - arm : 1;
    const double ay = bottom ? 15 - arm : 1;
    ip.Fill(Corners(ax, y, ax + arm, y + w), kOutline);
    ip.Fill(Corners(x, ay, x + w, ay + arm), kOutline);
  }
}

// A flat piece of map: land, a river and a road.
void MapTile(IconPainter& ip, const QRectF& rect) {
  QPainterPath tile;
  tile.addRect(rect);
  ip.Fill(tile, kLand);
  ip.painter().save();
  ip.painter().setClipPath(tile);
  const double s = rect.width() / 10.0;
  auto at = [&](double x, double y) { return rect.topLeft() + QPointF(x * s, y * s); };
  QPainterPath river(at(0, 7));
  river.cubicTo(at(3, 6), at(4, 9), at(10, 8));
  ip.Line(river, kWater, 1.5 * s);
  QPainterPath road(at(2, 0));
  road.cubicTo(at(3, 5), at(7, 4), at(8, 10));
  ip.Line(road, kRoute, 1.2 * s);
  ip.painter().restore();
  ip.Outline(tile);
}

// A map sheet folded in three, standing in the rectangle; lift: how far the folds rise.
void FoldedMap(IconPainter& ip, const QRectF& rect, double lift) {
  double xs[4];
  for (int i = 0; i < 4; ++i) xs[i] = rect.left() + i * rect.width() / 3;
  auto top = [&](int i) { return QPointF(xs[i], i % 2 == 0 ? rect.top() + lift : rect.top()); };
  auto bottom = [&](int i) { return QPointF(xs[i], i % 2 == 0 ? rect.bottom() : rect.bottom() - lift); };
  const QPainterPath sheet =
      PathOf({top(0), top(1), top(2), top(3), bottom(3), bottom(2), bottom(1), bottom(0)}, true);
  for (int i = 0; i < 3; ++i) {
    ip.Fill(PathOf({top(i), top(i + 1), bottom(i + 1), bottom(i)}, true), i == 1 ? kLandShade : kLand);
  }
  ip.painter().save();
  ip.painter().setClipPath(sheet);
  const double s = rect.width() / 15.0;
  auto at = [&](double x, double y) { return rect.topLeft() + QPointF(x * s, y * s); };
  QPainterPath river(at(0, 10));
  river.cubicTo(at(4, 8), at(6, 14), at(9, 10));
  river.cubicTo(at(11, 7), at(13, 6), at(15, 6));
  // Thin lines keep the 16-pixel picture from smudging.
  const double thin = ip.large() ? 1.0 : 0.75;
  ip.Line(river, kWater, 1.5 * s * thin);
  QPainterPath road(at(3, 0));
  road.cubicTo(at(4, 6), at(9, 6), at(11, 14));
  if (ip.huge()) {
    road.moveTo(at(0, 4));
    road.cubicTo(at(5, 5), at(10, 2), at(15, 3));
  }
  ip.Line(road, kRoute, 1.3 * s * thin);
  ip.painter().restore();
  // The folds.
  for (int i = 1; i < 3; ++i) {
    const double x = i == 1 ? xs[i] : xs[i] - ip.hair();
    ip.Fill(PathOf({{x, top(i).y()},
                    {x + ip.hair(), top(i).y()},
                    {x + ip.hair(), bottom(i).y()},
                    {x, bottom(i).y()}},
                   true),
            kFold);
  }
  ip.Outline(sheet);
}

// A printer with a sheet going in at the top and one coming out at the front.
void Printer(IconPainter& ip) {
  ip.Box(Corners(4, 0, 12, 6), kPaper);
  ip.Box(Corners(0, 5, 16, 12), kMetal);
  ip.Fill(Corners(1, 5 + ip.hair(), 15, 6), kMetalLight);
  ip.Fill(Corners(12, 7, 14, 8), kGreen);
  ip.Box(Corners(3, 10, 13, 15), kPaper);
  TextRule(ip, 5, 11, 12, kText);
  if (ip.large()) TextRule(ip, 5, 9, 13, kText);
}

// A toothed wheel: settings.
void Gear(IconPainter& ip, QPointF centre, double radius) {
  QPainterPath wheel;
  const int teeth = 6;
  for (int k = 0; k < teeth * 4; ++k) {
    const double angle = (k - 0.5) * M_PI * 2 / (teeth * 4);
    const double r = (k % 4 < 2) ? radius : radius * 0.68;
    const QPointF p = centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    if (k == 0) {
      wheel.moveTo(p);
    } else {
      wheel.lineTo(p);
    }
  }
  wheel.closeSubpath();
  ip.Clear(wheel, 1.0);
  ip.Shape(wheel, kMetalDark);
  ip.Disc(centre, radius * 0.32, kPaper);
}

// An arrow pointer with its tip at the origin of the current frame.
void Pointer(IconPainter& ip) {
  ip.Shape(PathOf({{0, 0}, {0, 12.5}, {3, 9.7}, {5.2, 14.2}, {7.2, 13.3}, {5.1, 9}, {9, 9}}, true), kPaper);
}

// A four-way arrow: moving something.
void MoveSign(IconPainter& ip, QPointF centre, double arm, double width) {
  const double head = width * 2;
  const QPointF c = centre;
  ip.Fill(Corners(c.x() - arm + head, c.y() - width / 2, c.x() + arm - head, c.y() + width / 2), kOutline);
  ip.Fill(Corners(c.x() - width / 2, c.y() - arm + head, c.x() + width / 2, c.y() + arm - head), kOutline);
  const QPointF heads[4][3] = {
      {{c.x() - arm, c.y()}, {c.x() - arm + head, c.y() - head}, {c.x() - arm + head, c.y() + head}},
      {{c.x() + arm, c.y()}, {c.x() + arm - head, c.y() - head}, {c.x() + arm - head, c.y() + head}},
      {{c.x(), c.y() - arm}, {c.x() - head, c.y() - arm + head}, {c.x() + head, c.y() - arm + head}},
      {{c.x(), c.y() + arm}, {c.x() - head, c.y() + arm - head}, {c.x() + head, c.y() + arm - head}},
  };
  for (const auto& h : heads) ip.Fill(PathOf({h[0], h[1], h[2]}, true), kOutline);
}

// ---- The icons ----

void OpenMap(IconPainter& ip) { FoldedMap(ip, Corners(0, 1, 15, 15), 2); }

void CloseMap(IconPainter& ip) {
  FoldedMap(ip, Corners(0, 1, 15, 15), 2);
  CrossBadge(ip, QPointF(11.5, 11.5), 2);
}

void PrintPreview(IconPainter& ip) {
  Page(ip, Corners(1, 0, 12, 15), 3);
  for (int i = 0; i < 4; ++i) TextRule(ip, 3, i == 3 ? 6 : 9, 4 + 2 * i, kText);
  Magnifier(ip, QPointF(9, 9), 3.5, 2.5);
}

void Print(IconPainter& ip) { Printer(ip); }

void PrinterSetup(IconPainter& ip) {
  Printer(ip);
  Gear(ip, QPointF(12, 12), 4);
}

void NewWindow(IconPainter& ip) {
  Window(ip, Corners(1, 1, 14, 13), 3);
  PlusBadge(ip, QPointF(12.5, 12.5), 2.5);
}

void PlainCursor(IconPainter& ip) {
  ip.Push(QPointF(4, 1), 1.0);
  Pointer(ip);
  ip.Pop();
}

void NameDisplay(IconPainter& ip) {
  ip.Box(Corners(1, 0, 15, 7), kLabel);
  TextRule(ip, 3, 13, 2, kOutline);
  TextRule(ip, 3, 10, 4, kOutline);
  ip.Push(QPointF(7, 7.5), 0.58);
  Pointer(ip);
  ip.Pop();
}

void Positioning(IconPainter& ip) {
  const QPointF centre(7.5, 7.5);
  ip.Fill(Corners(7, 0, 8, 4), kOutline);
  ip.Fill(Corners(7, 11, 8, 15), kOutline);
  ip.Fill(Corners(0, 7, 4, 8), kOutline);
  ip.Fill(Corners(11, 7, 15, 8), kOutline);
  ip.Stroke(Circle(centre, 4.5), kRed, 1.2);
  ip.Disc(centre, 1.5, kRed);
}

void Zoom(IconPainter& ip) { Magnifier(ip, QPointF(6.5, 6.5), 5.5, 4); }

void ZoomArea(IconPainter& ip) {
  // A dashed selection rectangle.
  const double w = ip.hair();
  const QRectF band = Corners(1, 1, 12, 10);
  for (double x = band.left(); x < band.right(); x += 3) {
    ip.Fill(Corners(x, band.top(), std::min(x + 2, band.right()), band.top() + w), kOutline);
    ip.Fill(Corners(x, band.bottom() - w, std::min(x + 2, band.right()), band.bottom()), kOutline);
  }
  for (double y = band.top(); y < band.bottom(); y += 3) {
    ip.Fill(Corners(band.left(), y, band.left() + w, std::min(y + 2, band.bottom())), kOutline);
    ip.Fill(Corners(band.right() - w, y, band.right(), std::min(y + 2, band.bottom())), kOutline);
  }
  Magnifier(ip, QPointF(9.5, 9.5), 3.5, 2.2);
}

void WholeMap(IconPainter& ip) {
  MapTile(ip, Corners(3, 3, 13, 13));
  FitBrackets(ip);
}

void Redraw(IconPainter& ip) {
  const QPointF centre(8, 8);
  const double radius = 5;
  const QRectF circle(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
  for (int half = 0; half < 2; ++half) {
    const double start = half == 0 ? 30 : 210;
    const double end = start + 140;
    QPainterPath arc;
    arc.arcMoveTo(circle, start);
    arc.arcTo(circle, start, end - start);
    ip.Stroke(arc, kGreen, 2, Qt::FlatCap);
    // The arrow head at the end of the arc, pointing along the turn.
    const double a = end * M_PI / 180;
    const QPointF at = centre + QPointF(std::cos(a), -std::sin(a)) * radius;
    const QPointF along(-std::sin(a), -std::cos(a));
    const QPointF across(std::cos(a), -std::sin(a));
    ip.Shape(PathOf({at + along * 2.8, at + across * 2.8, at - across * 2.8}, true), kGreen);
  }
}

void PlaceSearch(IconPainter& ip) {
  ip.Shape(Ellipse(Corners(2, 12, 14, 16)), kLand);
  // A map pin: a round head narrowing to the point it marks.
  const QPointF head(8, 5);
  const double radius = 4.5;
  const QPointF tip(8, 15);
  const double distance = tip.y() - head.y();
  const double spread = std::asin(radius / distance) * 180 / M_PI;
  const QRectF circle(head - QPointF(radius, radius), head + QPointF(radius, radius));
  QPainterPath pin(tip);
  pin.arcTo(circle, 180 + spread, -(180 + 2 * spread));
  pin.closeSubpath();
  ip.Shape(pin, kRed);
  if (ip.large()) {
    ip.Disc(head, 1.75, kPaper);
  } else {
    ip.Fill(Corners(7, 4, 9, 6), kPaper);
  }
}

// A blob of paint: outlined where there is room for it.
void Dot(IconPainter& ip, QPointF centre, double radius, const QColor& colour) {
  if (ip.large()) {
    ip.Disc(centre, radius, colour);
  } else {
    ip.Fill(Circle(centre, radius), colour);
  }
}

void Symbology(IconPainter& ip) {
  QPainterPath board = Ellipse(Corners(0, 2, 16, 14));
  board.addEllipse(QPointF(5, 10), 1.5, 1.5);
  board.setFillRule(Qt::OddEvenFill);
  ip.Shape(board, kPalette);
  Dot(ip, QPointF(4.5, 6.5), 1.6, kRed);
  Dot(ip, QPointF(8.5, 4.5), 1.6, kRoad);
  Dot(ip, QPointF(12, 6.5), 1.6, kBlue);
  Dot(ip, QPointF(11, 10.5), 1.6, kGreen);
}

void LabelPositioning(IconPainter& ip) {
  LetterA(ip, Corners(1, 1, 9, 11), kNavy, 2);
  QPainterPath sign;
  sign.addRect(Corners(7, 7, 16, 16));
  ip.Clear(sign, 0);
  MoveSign(ip, QPointF(11.5, 11.5), 4, 1);
}

void LoadLabels(IconPainter& ip) {
  ip.Shape(PathOf({{0, 4}, {5, 4}, {6, 5}, {14, 5}, {14, 14}, {0, 14}}, true), kFolderShade);
  ip.Box(Corners(3, 0, 13, 11), kPaper);
  LetterA(ip, Corners(5, 1.5, 11, 7.5), kNavy, ip.large() ? 1.5 : 1.4);
  ip.Shape(PathOf({{0, 14}, {2.5, 8}, {16, 8}, {14, 14}}, true), kFolder);
}

void SaveLabels(IconPainter& ip) {
  ip.Shape(PathOf({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}}, true), kBlue);
  ip.Box(Corners(4, 1, 12, 6), kMetal);
  ip.Fill(Corners(9, 2, 11, 5), kMetalDark);
  ip.Box(Corners(3, 8, 13, 15), kPaper);
  LetterA(ip, Corners(6, 9, 10, 14), kNavy, ip.large() ? 1.3 : 1.2);
}

void FindRoute(IconPainter& ip) { RouteMotif(ip); }

void RouteList(IconPainter& ip) {
  Page(ip, Corners(1, 0, 15, 16), 3);
  ip.Fill(Corners(4, 3, 5, 13), kBlue);
  ip.Disc(QPointF(4.5, 3.5), 1.5, kStart);
  ip.Disc(QPointF(4.5, 8.5), 1.5, kPaper);
  ip.Disc(QPointF(4.5, 12.5), 1.5, kRed);
  TextRule(ip, 7.5, 11, 3, kText);
  TextRule(ip, 7.5, 13, 8, kText);
  TextRule(ip, 7.5, 12, 12.5, kText);
  if (ip.large()) {
    TextRule(ip, 7.5, 10, 4.5, kText);
    TextRule(ip, 7.5, 11, 9.5, kText);
    TextRule(ip, 7.5, 10, 14, kText);
  }
}

void DeleteRoute(IconPainter& ip) {
  RouteMotif(ip);
  CrossBadge(ip, QPointF(11.5, 11.5), 2);
}

void PositionOnRoute(IconPainter& ip) {
  ip.Push(QPointF(2.5, 2.5), 11.0 / 16);
  RouteMotif(ip);
  ip.Pop();
  FitBrackets(ip);
}

void BatchRoutes(IconPainter& ip) {
  ip.Box(Corners(5, 1, 15, 11), kPaper);
  ip.Box(Corners(3, 3, 13, 13), kPaper);
  ip.Box(Corners(1, 5, 11, 15), kPaper);
  ip.Push(QPointF(1, 5), 10.0 / 16);
  RouteMotif(ip);
  ip.Pop();
}

void RouteCosts(IconPainter& ip) {
  // A clock for the travelling times...
  const QPointF clock(10.5, 5.5);
  ip.Disc(clock, 5.5, kPaper);
  ip.Fill(Corners(10, 2, 11, 6), kOutline);
  ip.Fill(Corners(10, 5, 13.5, 6), kOutline);
  // ... and a coin for the costs in front of it.
  const QPointF coin(5.5, 10.5);
  ip.Clear(Circle(coin, 5), ip.hair());
  ip.Disc(coin, 5, kGold);
  if (ip.large()) {
    ip.Stroke(Circle(coin, 3), kGoldShade, 0.6);
  } else {
    ip.Fill(Corners(5, 8, 6, 13), kGoldShade);
  }
}

// A white sign on a blue disc.
void BlueDisc(IconPainter& ip) { ip.Disc(QPointF(8, 8), 7, kBlue); }

void Help(IconPainter& ip) {
  BlueDisc(ip);
  QPainterPath mark(QPointF(5.5, 6));
  mark.cubicTo(5.5, 2.8, 10.5, 2.8, 10.5, 6);
  mark.cubicTo(10.5, 8, 8, 8, 8, 10);
  ip.Line(mark, kPaper, 2, Qt::FlatCap);
  ip.Fill(Circle(QPointF(8, 12), 1.2), kPaper);
}

void About(IconPainter& ip) {
  BlueDisc(ip);
  ip.Fill(Circle(QPointF(8, 4.5), 1.3), kPaper);
  ip.Fill(Corners(7, 6.5, 9, 12.5), kPaper);
}

void Cascade(IconPainter& ip) {
  Window(ip, Corners(1, 1, 10, 9), 2);
  Window(ip, Corners(3.5, 4, 12.5, 12), 2);
  Window(ip, Corners(6, 7, 15, 15), 2);
}

void Tile(IconPainter& ip) {
  Window(ip, Corners(1, 1, 8, 8), 2);
  Window(ip, Corners(8, 1, 15, 8), 2);
  Window(ip, Corners(1, 8, 8, 15), 2);
  Window(ip, Corners(8, 8, 15, 15), 2);
}

void ArrangeIcons(IconPainter& ip) {
  Window(ip, Corners(1, 1, 15, 15), 3);
  for (int i = 0; i < 3; ++i) {
    const double left = 2 + i * 4;
    ip.Fill(Corners(left, 12, left + 3, 14), kTitle);
  }
}

using Drawing = void (*)(IconPainter&);

const std::map<int, Drawing>& Drawings() {
  static const std::map<int, Drawing> drawings = {
      {1001, OpenMap},       {1002, CloseMap},
      {1003, PrintPreview},  {1004, Print},
      {1005, PrinterSetup},  {1006, NewWindow},
      {1007, PlainCursor},   {1008, NameDisplay},
      {1009, Positioning},   {1010, Zoom},
      {1011, ZoomArea},      {1012, WholeMap},
      {1013, Redraw},        {1014, PlaceSearch},
      {1015, Symbology},     {1016, LabelPositioning},
      {1017, LoadLabels},    {1018, SaveLabels},
      {1019, FindRoute},     {1020, RouteList},
      {1021, DeleteRoute},   {1022, PositionOnRoute},
      {1023, BatchRoutes},   {1024, RouteCosts},
      {1025, Help},          {1026, About},
      {24361, Cascade},      {24362, Tile},
      {24364, ArrangeIcons},
  };
  return drawings;
}

QImage Canvas(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// Stored pictures are plain (not premultiplied) ARGB, as PNG holds them.
QImage Finished(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

}  // namespace

const std::vector<int>& IconCommands() {
  static const std::vector<int> commands = [] {
    std::vector<int> list;
    for (const auto& [command, drawing] : Drawings()) list.push_back(command);
    return list;
  }();
  return commands;
}

QImage DrawCommandIcon(int command, int size) {
  const auto found = Drawings().find(command);
  if (found == Drawings().end()) return {};
  QImage image = Canvas(size);
  {
    IconPainter ip(image);
    found->second(ip);
  }
  return Finished(image);
}

QImage DrawProgramIcon(int size) {
  QImage image = Canvas(size);
  {
    IconPainter ip(image);
    QPainterPath tile;
    tile.addRoundedRect(Corners(0, 0, 16, 16), 2.5, 2.5);
    ip.Fill(tile, kLand);
    ip.painter().save();
    ip.painter().setClipPath(tile);
    if (ip.huge()) {
      ip.Shape(Ellipse(Corners(10.5, 11, 18, 18)), kWater);
      ip.Fill(Ellipse(Corners(-2, -2, 6, 5)), kLandShade);
      ip.Fill(Ellipse(Corners(1, 6.5, 5, 9.5)), kLandShade);
    }
    QPainterPath road(QPointF(-1, 6));
    road.cubicTo(5, 5, 9, 10, 17, 9);
    if (ip.large()) {
      ip.Stroke(road, kRoad, 1.6);
    } else {
      ip.Line(road, kRoad, 2);
    }
    if (ip.large()) {
      QPainterPath side(QPointF(6, -1));
      side.cubicTo(6, 6, 10, 10, 9, 17);
      ip.Stroke(side, kRoad, 1.1);
    }
    ip.painter().restore();
    QPainterPath route(QPointF(3.5, 12.5));
    route.cubicTo(6, 9, 8, 10, 9, 8);
    route.cubicTo(10, 6, 10, 9, 11.5, 8.5);
    ip.Stroke(route, kBlue, 1.8);
    ip.Disc(QPointF(3.5, 12.5), 2.5, kStart);
    EndFlag(ip, QPointF(11.5, 9.5), 7.5);
    ip.Outline(tile);
  }
  return Finished(image);
}

QImage DrawMapIcon(int size) {
  QImage image = Canvas(size);
  {
    IconPainter ip(image);
    // Whole-pixel edges up to 48 pixels, centred on the large picture.
    FoldedMap(ip, size > 48 ? Corners(0.5, 1, 15.5, 15) : Corners(0, 1, 15, 15), 2);
  }
  return Finished(image);
}

}  // namespace koltar::icons
