#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_device_context.h"
#include "tests/qt/pixels.h"

namespace koltar {
namespace {

using test::At;
using test::Canvas;
using test::Column;
using test::Row;

constexpr ColorRef kInk = Rgb(0, 0, 255);
constexpr ColorRef kPaper = Rgb(200, 220, 160);

// A pattern of on and off runs repeated to the given length.
std::string Repeat(const std::vector<int>& runs, int length) {
  std::string out;
  for (std::size_t i = 0; static_cast<int>(out.size()) < length; i = (i + 1) % runs.size())
    out += std::string(static_cast<std::size_t>(runs[i]), i % 2 == 0 ? '#' : '.');
  return out.substr(0, static_cast<std::size_t>(length));
}

void Line(DeviceContext& dc, int x0, int y0, int x1, int y1) {
  const DevicePoint points[] = {{x0, y0}, {x1, y1}};
  dc.Polyline(points, 2);
}

TEST(QtPens, ThinPensDrawTheClassicPixelPatterns) {
  struct Case {
    PenStyle style;
    std::vector<int> runs;
  };
  const Case cases[] = {{PenStyle::Solid, {60}},
                        {PenStyle::Dash, {18, 6}},
                        {PenStyle::Dot, {3, 3}},
                        {PenStyle::DashDot, {9, 6, 3, 6}},
                        {PenStyle::DashDotDot, {9, 3, 3, 3, 3, 3}}};
  for (int width : {0, 1}) {
    for (const Case& c : cases) {
      QImage image = Canvas(70, 5, kPaper);
      QtDeviceContext dc(image);
      dc.SetPen({kInk, c.style, width});
      Line(dc, 2, 2, 62, 2);
      // The pattern starts at the first point and the last point is left out.
      EXPECT_EQ(Row(image, 2, 0, 70, kInk), ".." + Repeat(c.runs, 60) + "........")
          << "style " << static_cast<int>(c.style) << " width " << width;
      EXPECT_EQ(Row(image, 1, 0, 70, kInk), std::string(70, '.'));
      EXPECT_EQ(Row(image, 3, 0, 70, kInk), std::string(70, '.'));
    }
  }
}

TEST(QtPens, ThePatternRunsOnAcrossTheJointsOfAPolyline) {
  QImage image = Canvas(40, 40, kPaper);
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Dash, 0});
  const DevicePoint points[] = {{0, 5}, {10, 5}, {10, 35}};
  dc.Polyline(points, 3);
  EXPECT_EQ(Row(image, 5, 0, 12, kInk), std::string(11, '#') + '.');
  // The first dash has 8 more pixels from the joint down, then comes the gap of 6.
  EXPECT_EQ(Column(image, 10, 5, 36, kInk),
            std::string(8, '#') + std::string(6, '.') + std::string(16, '#') + '.');
}

TEST(QtPens, WidePensScaleThePatternWithTheirWidth) {
  for (PenStyle style : {PenStyle::Dash, PenStyle::Dot}) {
    QImage image = Canvas(260, 20, kPaper);
    QtDeviceContext dc(image);
    dc.SetPen({kInk, style, 3});
    Line(dc, 10, 10, 250, 10);
    const std::string row = Row(image, 10, 0, 260, kInk);
    const std::size_t first = row.find('#');
    ASSERT_NE(first, std::string::npos);
    EXPECT_LE(first, 11u);
    const std::vector<int> runs = style == PenStyle::Dash ? std::vector<int>{54, 18} : std::vector<int>{9, 9};
    EXPECT_EQ(row.substr(first, 144), Repeat(runs, 144)) << static_cast<int>(style);
    // Three pixels thick, centred on the line.
    const int x = static_cast<int>(first) + 2;
    EXPECT_EQ(Column(image, x, 7, 14, kInk), "..###..");
  }
}

TEST(QtPens, SolidWidePenIsCentredOnItsPoints) {
  QImage image = Canvas(30, 30, kPaper);
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Solid, 5});
  Line(dc, 5, 15, 25, 15);
  EXPECT_EQ(Column(image, 15, 10, 21, kInk), "...#####...");
  // Round ends reach past the end points.
  EXPECT_EQ(At(image, 26, 15), kInk);
  EXPECT_EQ(At(image, 4, 15), kInk);
}

TEST(QtPens, NullPenDrawsNothing) {
  QImage image = Canvas(30, 30, kPaper);
  const QImage before = image;
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Null, 3});
  dc.SetBrush({Brush::Kind::Hollow, kInk, HatchStyle::Horizontal});
  Line(dc, 2, 2, 25, 25);
  dc.Rectangle({5, 5, 20, 20});
  dc.Ellipse({5, 5, 20, 20});
  const DevicePoint triangle[] = {{1, 1}, {28, 1}, {14, 28}};
  dc.Polygon(triangle, 3);
  EXPECT_EQ(image, before);
}

TEST(QtPens, LinesFarOutsideTheDeviceAreClipped) {
  QImage image = Canvas(20, 20, kPaper);
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Solid, 0});
  Line(dc, -2000000000, 10, 2000000000, 10);
  EXPECT_EQ(Row(image, 10, 0, 20, kInk), std::string(20, '#'));
  dc.SetPen({kInk, PenStyle::Solid, 4});
  Line(dc, 5, -2000000000, 5, 2000000000);
  EXPECT_EQ(Row(image, 3, 0, 10, kInk), "....####..");  // an even width leans right
}

// The pixels a hatch sets, by device position.
bool HatchSets(HatchStyle style, int x, int y) {
  const int u = x % 8, v = y % 8;
  switch (style) {
    case HatchStyle::Horizontal: return v == 3;
    case HatchStyle::Vertical: return u == 4;
    case HatchStyle::ForwardDiagonal: return u == v;       // "\"
    case HatchStyle::BackwardDiagonal: return u + v == 7;  // "/"
    case HatchStyle::Cross: return u == 4 || v == 3;
    case HatchStyle::DiagonalCross: return u == v || u + v == 7;
  }
  return false;
}

TEST(QtBrushes, HatchesAreDeviceAlignedPatternsOverWhatLiesBelow) {
  constexpr ColorRef kRed = Rgb(255, 0, 0);
  for (int h = 0; h <= 5; ++h) {
    const auto style = static_cast<HatchStyle>(h);
    for (BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
      QImage image = Canvas(40, 40, kPaper);
      QtDeviceContext dc(image);
      dc.SetBackgroundMode(mode);
      dc.SetPen({kInk, PenStyle::Null, 0});
      dc.SetBrush({Brush::Kind::Hatched, kRed, style});
      dc.Rectangle({3, 5, 27, 29});
      int mismatches = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          const bool inside = x >= 3 && x < 27 && y >= 5 && y < 29;
          const ColorRef want = inside && HatchSets(style, x, y) ? kRed : kPaper;
          if (At(image, x, y) != want) ++mismatches;
        }
      EXPECT_EQ(mismatches, 0) << "hatch " << h;
    }
  }
}

TEST(QtBrushes, RectangleFillsItsPixelsAndOutlinesTheOutermostOnes) {
  QImage image = Canvas(30, 30, kPaper);
  QtDeviceContext dc(image);
  constexpr ColorRef kYellow = Rgb(255, 255, 0);
  dc.SetBrush({Brush::Kind::Solid, kYellow, HatchStyle::Horizontal});
  dc.SetPen({kInk, PenStyle::Null, 0});
  dc.Rectangle({2, 2, 8, 6});
  EXPECT_EQ(Row(image, 3, 0, 10, kYellow), "..######..");
  EXPECT_EQ(Column(image, 3, 0, 8, kYellow), "..####..");

  dc.SetPen({kInk, PenStyle::Solid, 1});
  dc.Rectangle({10, 10, 20, 16});
  EXPECT_EQ(Row(image, 10, 8, 22, kInk), "..##########..");
  EXPECT_EQ(Row(image, 12, 8, 22, kInk), "..#........#..");
  EXPECT_EQ(Row(image, 12, 8, 22, kYellow), "...########...");
  EXPECT_EQ(Row(image, 15, 8, 22, kInk), "..##########..");
  EXPECT_EQ(Row(image, 16, 8, 22, kInk), "..............");

  dc.SetBrush({Brush::Kind::Hollow, kYellow, HatchStyle::Horizontal});
  dc.SetPen({kInk, PenStyle::Solid, 0});
  dc.Rectangle({2, 20, 8, 26});
  EXPECT_EQ(Row(image, 22, 0, 10, kInk), "..#....#..");
  EXPECT_EQ(At(image, 4, 22), kPaper);
}

TEST(QtBrushes, EllipseStaysInsideItsRectangle) {
  QImage image = Canvas(40, 30, kPaper);
  QtDeviceContext dc(image);
  constexpr ColorRef kYellow = Rgb(255, 255, 0);
  dc.SetBrush({Brush::Kind::Solid, kYellow, HatchStyle::Horizontal});
  dc.SetPen({kInk, PenStyle::Solid, 0});
  dc.Ellipse({5, 5, 35, 25});
  const QRect outline = test::PixelsOf(image, kInk);
  EXPECT_EQ(outline, QRect(QPoint(5, 5), QPoint(34, 24)));
  EXPECT_EQ(At(image, 20, 15), kYellow);
  EXPECT_EQ(At(image, 5, 5), kPaper);  // corners of the rectangle stay
  EXPECT_EQ(At(image, 34, 24), kPaper);
  // The fill keeps inside the outline: no yellow pixel left of the outline on any row.
  for (int y = 6; y < 24; ++y) {
    const std::string row = Row(image, y, 0, 40, kInk);
    const std::size_t left = row.find('#');
    ASSERT_NE(left, std::string::npos) << y;
    for (int x = 0; x < static_cast<int>(left); ++x) EXPECT_EQ(At(image, x, y), kPaper);
  }
}

TEST(QtBrushes, WindingAndAlternateFillOfAStar) {
  // A pentagram: its middle pentagon is wound twice.
  const DevicePoint star[] = {{50, 2}, {79, 90}, {4, 35}, {96, 35}, {21, 90}};
  for (FillMode mode : {FillMode::Alternate, FillMode::Winding}) {
    QImage image = Canvas(100, 100, kPaper);
    QtDeviceContext dc(image);
    dc.SetPen({kInk, PenStyle::Null, 0});
    dc.SetBrush({Brush::Kind::Solid, kInk, HatchStyle::Horizontal});
    dc.SetFillMode(mode);
    dc.Polygon(star, 5);
    EXPECT_EQ(At(image, 50, 15), kInk);  // a tip
    EXPECT_EQ(At(image, 50, 50), mode == FillMode::Winding ? kInk : kPaper);
    EXPECT_EQ(At(image, 50, 95), kPaper);
  }
}

TEST(QtBrushes, PolygonFillTakesLeftAndTopEdgesOnly) {
  QImage image = Canvas(20, 20, kPaper);
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Null, 0});
  dc.SetBrush({Brush::Kind::Solid, kInk, HatchStyle::Horizontal});
  const DevicePoint square[] = {{4, 4}, {10, 4}, {10, 10}, {4, 10}};
  dc.Polygon(square, 4);
  EXPECT_EQ(Row(image, 4, 0, 12, kInk), "....######..");
  EXPECT_EQ(Column(image, 4, 0, 12, kInk), "....######..");
}

// A picture in which neighbouring pixels differ, so that XOR faults show.
QImage Patterned(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
  return image;
}

TEST(QtXor, DrawingTwiceRestoresEveryPixel) {
  const std::vector<std::function<void(DeviceContext&)>> figures = {
      [](DeviceContext& dc) {  // the band and the label outline
        dc.SetPen({kWhite, PenStyle::Solid, 1});
        const DevicePoint band[] = {{10, 10}, {10, 50}, {70, 50}, {70, 10}, {10, 10}};
        dc.Polyline(band, 5);
      },
      [](DeviceContext& dc) {  // the search marker
        dc.SetPen({kWhite, PenStyle::Solid, 4});
        dc.SetBrush({Brush::Kind::Hollow, kBlack, HatchStyle::Horizontal});
        dc.Ellipse({20, 5, 80, 65});
      },
      [](DeviceContext& dc) {
        dc.SetPen({Rgb(90, 200, 17), PenStyle::DashDot, 3});
        const DevicePoint path[] = {{0, 0}, {79, 40}, {5, 69}};
        dc.Polyline(path, 3);
      },
      [](DeviceContext& dc) {
        dc.SetPen({kWhite, PenStyle::Solid, 0});
        dc.SetBrush({Brush::Kind::Hatched, Rgb(255, 0, 0), HatchStyle::DiagonalCross});
        dc.Rectangle({-5, 30, 60, 90});
      },
      [](DeviceContext& dc) {
        dc.SetPen({kWhite, PenStyle::Dot, 0});
        dc.SetBrush({Brush::Kind::Solid, Rgb(1, 2, 3), HatchStyle::Horizontal});
        dc.Ellipse({3, 3, 40, 30});
      },
  };
  for (std::size_t i = 0; i < figures.size(); ++i) {
    QImage image = Patterned(80, 70);
    const QImage before = image;
    QtDeviceContext dc(image);
    dc.SetDrawMode(DrawMode::Xor);
    figures[i](dc);
    EXPECT_NE(image, before) << i;
    figures[i](dc);
    EXPECT_EQ(image, before) << i;
  }
}

TEST(QtXor, WhitePenInvertsEachPixelOnce) {
  QImage image = Patterned(80, 70);
  const QImage before = image;
  QtDeviceContext dc(image);
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetPen({kWhite, PenStyle::Solid, 1});
  const DevicePoint band[] = {{10, 10}, {10, 50}, {70, 50}, {70, 10}, {10, 10}};
  dc.Polyline(band, 5);
  auto inverted = [&](int x, int y) { return image.pixel(x, y) == (before.pixel(x, y) ^ 0x00FFFFFFu); };
  for (const DevicePoint p : band) EXPECT_TRUE(inverted(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_TRUE(inverted(40, 50));
  EXPECT_EQ(image.pixel(40, 30), before.pixel(40, 30));
  // A hatch in XOR mode stays aligned to the device origin.
  dc.SetPen({kWhite, PenStyle::Null, 0});
  dc.SetBrush({Brush::Kind::Hatched, kWhite, HatchStyle::Horizontal});
  dc.Rectangle({20, 20, 30, 30});
  EXPECT_TRUE(inverted(25, 27));
  EXPECT_EQ(image.pixel(25, 26), before.pixel(25, 26));
}

TEST(QtState, SaveAndRestoreBringBackTheWholeState) {
  QImage image = Canvas(10, 10, kPaper);
  QtDeviceContext dc(image);
  const Pen pen{kInk, PenStyle::DashDot, 3};
  const Brush brush{Brush::Kind::Hatched, kInk, HatchStyle::Cross};
  LogicalFont font;
  font.faceName = "Arial";
  font.height = 14;
  dc.SetPen(pen);
  dc.SetBrush(brush);
  dc.SetFont(font);
  dc.SetTextColor(kInk);
  dc.Save();
  dc.SetPen({});
  dc.SetBrush({});
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetFillMode(FillMode::Winding);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetFont({});
  dc.SetTextColor(kWhite);
  dc.SetTextAlign(TextAlign::BaselineLeft);
  dc.Restore();
  EXPECT_EQ(dc.GetPen(), pen);
  EXPECT_EQ(dc.GetBrush(), brush);
  EXPECT_EQ(dc.GetDrawMode(), DrawMode::Copy);
  EXPECT_EQ(dc.GetFillMode(), FillMode::Alternate);
  EXPECT_EQ(dc.GetBackgroundMode(), BackgroundMode::Opaque);
  EXPECT_EQ(dc.GetFont(), font);
  EXPECT_EQ(dc.GetTextColor(), kInk);
  EXPECT_EQ(dc.GetTextAlign(), TextAlign::TopLeft);
  dc.Restore();  // without a Save: nothing changes
  EXPECT_EQ(dc.GetPen(), pen);
}

TEST(QtState, ClipRectLimitsDrawingUntilRestoredOrCleared) {
  QImage image = Canvas(20, 10, kPaper);
  QtDeviceContext dc(image);
  dc.SetPen({kInk, PenStyle::Solid, 0});
  dc.Save();
  dc.SetClipRect({5, 0, 10, 10});
  Line(dc, 0, 2, 20, 2);
  dc.Restore();
  Line(dc, 0, 4, 20, 4);
  dc.SetClipRect({5, 0, 10, 10});
  dc.ClearClip();
  Line(dc, 0, 6, 20, 6);
  EXPECT_EQ(Row(image, 2, 0, 20, kInk), ".....#####..........");
  EXPECT_EQ(Row(image, 4, 0, 20, kInk), std::string(20, '#'));
  EXPECT_EQ(Row(image, 6, 0, 20, kInk), std::string(20, '#'));
}

TEST(QtState, OwnImageHasTheGivenSizeAndResolution) {
  QtDeviceContext dc(50, 40, 300);
  EXPECT_EQ(dc.LogicalDpiX(), 300);
  EXPECT_EQ(dc.LogicalDpiY(), 300);
  ASSERT_NE(dc.image(), nullptr);
  EXPECT_EQ(dc.image()->size(), QSize(50, 40));
  EXPECT_EQ(At(*dc.image(), 0, 0), kWhite);
}

TEST(QtState, ContextOverAPainterLeavesThePainterAsItWas) {
  QImage image = Canvas(20, 20, kPaper);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::red, 7));
  painter.setCompositionMode(QPainter::CompositionMode_Multiply);
  painter.setClipRect(QRect(0, 0, 15, 20));  // the part of the device that may be drawn
  {
    QtDeviceContext dc(painter);
    ASSERT_EQ(dc.image(), &image);
    dc.SetDrawMode(DrawMode::Xor);
    dc.SetPen({kWhite, PenStyle::Solid, 0});
    Line(dc, 0, 5, 20, 5);
    dc.SetClipRect({10, 0, 20, 20});
    Line(dc, 0, 7, 20, 7);
    dc.ClearClip();
    Line(dc, 0, 9, 20, 9);
  }
  EXPECT_EQ(painter.pen().width(), 7);
  EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_Multiply);
  EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 15, 20));
  painter.end();
  const ColorRef inverted = kPaper ^ 0x00FFFFFFu;
  EXPECT_EQ(Row(image, 5, 0, 20, inverted), "###############.....");
  EXPECT_EQ(Row(image, 7, 0, 20, inverted), "..........#####.....");
  EXPECT_EQ(Row(image, 9, 0, 20, inverted), "###############.....");
}

}  // namespace
}  // namespace koltar
