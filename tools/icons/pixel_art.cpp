// Pictures drawn pixel by pixel, without smoothing: the map window's cursors and the
// layer list's switch bitmaps.

#include <QColor>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "tools/icons/artwork.h"

namespace koltar::icons {
namespace {

constexpr int kCursorSize = 32;

// A cursor being drawn: black pixels on transparent; the white outline is added last,
// so that the figure shows on dark and light maps alike.
class CursorCanvas {
 public:
  CursorCanvas() : image_(kCursorSize, kCursorSize, QImage::Format_ARGB32) { image_.fill(Qt::transparent); }

  void Black(int x, int y) { Put(x, y, qRgba(0, 0, 0, 255)); }
  void White(int x, int y) { Put(x, y, qRgba(255, 255, 255, 255)); }

  // Rows of a small picture with its top left corner at (x, y): '#' black, 'o' white,
  // anything else leaves the pixel as it is.
  void Stamp(int x, int y, std::initializer_list<std::string_view> rows) {
    int row = 0;
    for (std::string_view line : rows) {
      for (int column = 0; column < static_cast<int>(line.size()); ++column) {
        if (line[column] == '#') Black(x + column, y + row);
        if (line[column] == 'o') White(x + column, y + row);
      }
      ++row;
    }
  }

  // Black pixels whose centres lie between the two radii around the centre pixel.
  void Ring(int cx, int cy, double inner, double outer) {
    for (int y = 0; y < kCursorSize; ++y) {
      for (int x = 0; x < kCursorSize; ++x) {
        const double d = std::hypot(x - cx, y - cy);
        if (d >= inner && d <= outer) Black(x, y);
      }
    }
  }

  // Black pixels whose centres lie within width / 2 of the segment between two pixels.
  void Bar(int x0, int y0, int x1, int y1, double width) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    for (int y = 0; y < kCursorSize; ++y) {
      for (int x = 0; x < kCursorSize; ++x) {
        double t = length2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        if (std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2) Black(x, y);
      }
    }
  }

  // Turns every transparent pixel next to a black one (diagonals included) white.
  QImage Outlined() const {
    QImage result = image_;
    for (int y = 0; y < kCursorSize; ++y) {
      for (int x = 0; x < kCursorSize; ++x) {
        if (qAlpha(image_.pixel(x, y)) != 0) continue;
        if (TouchesBlack(x, y)) result.setPixel(x, y, qRgba(255, 255, 255, 255));
      }
    }
    return result;
  }

 private:
  void Put(int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < kCursorSize && y < kCursorSize) image_.setPixel(x, y, colour);
  }

  bool TouchesBlack(int x, int y) const {
    for (int ny = y - 1; ny <= y + 1; ++ny) {
      for (int nx = x - 1; nx <= x + 1; ++nx) {
        if (nx < 0 || ny < 0 || nx >= kCursorSize || ny >= kCursorSize) continue;
        if (image_.pixel(nx, ny) == qRgba(0, 0, 0, 255)) return true;
      }
    }
    return false;
  }

  QImage image_;
};

// The arrow pointer with its tip at (x, y).
void Arrow(CursorCanvas& canvas, int x, int y) {
  canvas.Stamp(x, y,
               {
                   "#",
                   "##",
                   "###",
                   "####",
                   "#####",
                   "######",
                   "#######",
                   "########",
                   "#########",
                   "##########",
                   "######",
                   "###.##",
                   "##..###",
                   "#...###",
                   "....####",
                   ".....###",
                   ".....###",
                   "......#",
               });
}

// A magnifier whose lens is centred on pixel (cx, cy).
void Lens(CursorCanvas& canvas, int cx, int cy, double radius, int handle) {
  canvas.Ring(cx, cy, radius - 1.6, radius);
  const int start = static_cast<int>(std::lround(cx + radius * M_SQRT1_2));
  canvas.Bar(start, start - cx + cy, start + handle, start - cx + cy + handle, 3.6);
}

CursorPicture DisplayName() {
  CursorCanvas canvas;
  Arrow(canvas, 1, 1);
  // A name label hanging at the pointer.
  canvas.Stamp(11, 17,
               {
                   "#################",
                   "#ooooooooooooooo#",
                   "#ooo#oo#oooooooo#",
                   "#oo#o#o#oooooooo#",
                   "#oo###o##ooo##oo#",
                   "#oo#o#o#o#o#oooo#",
                   "#oo#o#o##ooo##oo#",
                   "#ooooooooooooooo#",
                   "#################",
               });
  return {canvas.Outlined(), QPoint(1, 1)};
}

CursorPicture Zoom() {
  CursorCanvas canvas;
  Lens(canvas, 11, 11, 8.5, 9);
  canvas.Stamp(8, 8,
               {
                   "...#",
                   "...#",
                   "...#",
                   "#######",
                   "...#",
                   "...#",
                   "...#",
               });
  return {canvas.Outlined(), QPoint(11, 11)};
}

CursorPicture ZoomWindow() {
  CursorCanvas canvas;
  // A dashed selection rectangle whose corner is the hot spot.
  const int left = 1, top = 1, right = 18, bottom = 14;
  for (int x = left; x <= right; ++x) {
    if ((x - left) % 4 < 2 || x == right) {
      canvas.Black(x, top);
      canvas.Black(x, bottom);
    }
  }
  for (int y = top; y <= bottom; ++y) {
    if ((y - top) % 4 < 2 || y == bottom) {
      canvas.Black(left, y);
      canvas.Black(right, y);
    }
  }
  Lens(canvas, 20, 20, 5.5, 4);
  return {canvas.Outlined(), QPoint(left, top)};
}

CursorPicture NamePosition() {
  CursorCanvas canvas;
  const int c = 11;
  const int arm = 10;
  canvas.Bar(c - arm + 1, c, c + arm - 1, c, 1);
  canvas.Bar(c, c - arm + 1, c, c + arm - 1, 1);
  // Arrow heads at the four ends.
  for (int k = 0; k < 4; ++k) {
    for (int across = -k; across <= k; ++across) {
      canvas.Black(c - arm + k, c + across);
      canvas.Black(c + arm - k, c + across);
      canvas.Black(c + across, c - arm + k);
      canvas.Black(c + across, c + arm - k);
    }
  }
  // The label that is being moved.
  canvas.Stamp(20, 21,
               {
                   "..###..",
                   ".##.##.",
                   "##...##",
                   "##...##",
                   "#######",
                   "##...##",
                   "##...##",
                   "##...##",
               });
  return {canvas.Outlined(), QPoint(c, c)};
}

// The 16 standard colours of 4-bit bitmaps, in their usual order.
QList<QRgb> StandardColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

constexpr int kBlack = 0;
constexpr int kLightGrey = 7;
constexpr int kDarkGrey = 8;
constexpr int kWhite = 15;

// One ring of a sunken edge in the rectangle [left, right) x [top, bottom): the top and
// left sides in one colour, the bottom and right sides (with both far corners) in another.
void EdgeRing(QImage& image, int left, int top, int right, int bottom, int upper, int lower) {
  for (int x = left; x < right - 1; ++x) image.setPixel(x, top, upper);
  for (int y = top; y < bottom - 1; ++y) image.setPixel(left, y, upper);
  for (int x = left; x < right; ++x) image.setPixel(x, bottom - 1, lower);
  for (int y = top; y < bottom; ++y) image.setPixel(right - 1, y, lower);
}

}  // namespace

const std::vector<std::string_view>& CursorNames() {
  static const std::vector<std::string_view> names = {"DISPLAYNAME", "NAMEPOS", "ZOOM", "ZOOMWND"};
  return names;
}

CursorPicture DrawCursor(std::string_view name) {
  if (name == "DISPLAYNAME") return DisplayName();
  if (name == "ZOOM") return Zoom();
  if (name == "ZOOMWND") return ZoomWindow();
  if (name == "NAMEPOS") return NamePosition();
  return {};
}

QImage DrawSwitch(bool on) {
  constexpr int kSize = 12;
  QImage image(kSize, kSize, QImage::Format_Indexed8);
  image.setColorTable(StandardColours());
  image.fill(kWhite);
  EdgeRing(image, 0, 0, kSize, kSize, kDarkGrey, kLightGrey);
  EdgeRing(image, 1, 1, kSize - 1, kSize - 1, kBlack, kWhite);
  if (on) {
    static constexpr std::string_view kTick[] = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    for (int row = 0; row < 7; ++row) {
      for (int column = 0; column < 7; ++column) {
        if (kTick[row][column] == '#') image.setPixel(3 + column, 3 + row, kBlack);
      }
    }
  }
  return image;
}

}  // namespace koltar::icons
