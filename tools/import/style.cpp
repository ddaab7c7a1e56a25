#include "tools/import/style.h"

#include <algorithm>
#include <cmath>

#include "platform/format.h"

namespace koltar::import {
namespace {

struct RoadLook {
  const char* style;
  int casing[3];
  int fill[3];
  int lineStyle;    // pen style
  bool cased;       // casing and fill, or one stroke
  double width[4];  // Near, Medium, Far, Regional widths in metres; 0: no layer in that band
  long nearMax;     // largest scale of the Near band
};

// Road atlas colours: red motorways, orange trunk roads, yellow main roads, white minor
// roads with grey casings, dashed tracks and dotted paths.
constexpr RoadLook kRoads[] = {
    {"motorway", {110, 20, 20}, {225, 60, 50}, 0, true, {45, 750, 2300, 200}, 60000},
    {"trunk", {120, 55, 10}, {240, 130, 40}, 0, true, {38, 650, 1900, 180}, 60000},
    {"primary", {130, 90, 20}, {250, 185, 60}, 0, true, {32, 600, 1500, 160}, 60000},
    {"secondary", {130, 115, 40}, {255, 230, 110}, 0, true, {28, 450, 1000, 150}, 60000},
    {"tertiary", {110, 110, 90}, {255, 255, 200}, 0, true, {24, 250, 0, 70}, 60000},
    {"minor", {120, 120, 120}, {255, 255, 255}, 0, true, {18, 170, 0, 50}, 60000},
    {"residential", {140, 140, 140}, {255, 255, 255}, 0, true, {14, 0, 0, 0}, 80000},
    {"service", {160, 160, 160}, {255, 255, 255}, 0, true, {8, 0, 0, 0}, 20000},
    {"track", {150, 105, 50}, {150, 105, 50}, 1, false, {2, 0, 0, 0}, 25000},
    {"path", {110, 110, 110}, {110, 110, 110}, 2, false, {1, 0, 0, 0}, 15000},
};

const RoadLook& RoadLookOf(const std::string& style) {
  for (const RoadLook& r : kRoads)
    if (style == r.style) return r;
  return kRoads[5];
}

std::string Color(const int (&c)[3]) { return StringPrintf("%d,%d,%d", c[0], c[1], c[2]); }
std::string Color(int r, int g, int b) { return StringPrintf("%d,%d,%d", r, g, b); }
std::string Scales(long min, long max) { return StringPrintf("%ld,%ld", min, max); }
std::string Width(double metres) { return StringPrintf("%.1f", metres); }

// Band limits: Near up to the class's own limit, Regional to 1:200 000, Medium to
// 1:800 000, Far beyond.
constexpr long kRegionalMax = 200000;
constexpr long kMediumMax = 800000;
constexpr long kLargest = 50000000;

struct PlaceLook {
  const char* style;
  double symbol[4];    // symbol heights (metres) per band, 0: none
  long symbolNear[2];  // scale range of the Near symbol
  double label[4];     // label heights per band, 0: none
  long labelNear[2];   // scale range of the Near label
  bool bold;
  bool italic;
  int color[3];
};

constexpr PlaceLook kPlaces[] = {
    {"city",
     {900, 0, 3200},
     {100000, kMediumMax},
     {250, 1700, 6000, 550},
     {20000, 60000},
     true,
     false,
     {0, 0, 0}},
    {"town",
     {600, 0, 1900},
     {50000, kMediumMax},
     {200, 1200, 4200, 440},
     {15000, 60000},
     true,
     false,
     {20, 20, 20}},
    {"village", {350, 0, 0}, {40000, 300000}, {150, 850, 0, 340}, {8000, 60000}, false, false, {40, 40, 40}},
    {"hamlet", {150, 0, 0}, {10000, 100000}, {110, 0, 0, 0}, {5000, 60000}, false, true, {60, 60, 60}},
    {"suburb", {0, 0, 0}, {0, 0}, {200, 0, 0, 0}, {6000, 80000}, false, true, {90, 90, 90}},
};

const PlaceLook& PlaceLookOf(const std::string& style) {
  for (const PlaceLook& p : kPlaces)
    if (style == p.style) return p;
  return kPlaces[2];
}

}  // namespace

bool RoadInBand(const std::string& style, Band band) {
  return RoadLookOf(style).width[static_cast<int>(band)] > 0;
}

void StyleRoad(SymbologyWriter::Layer& layer, const std::string& style, Band band) {
  const RoadLook& r = RoadLookOf(style);
  const double width = r.width[static_cast<int>(band)];
  long top = r.nearMax;  // the band's largest scale, where its lines are thinnest
  layer.Set("VISIBLE", "1");
  switch (band) {
    case Band::Near: layer.Set("DISPLAYSCALE", Scales(100, r.nearMax)); break;
    case Band::Regional:
      top = kRegionalMax;
      layer.Set("DISPLAYSCALE", Scales(r.nearMax + 1, top));
      break;
    case Band::Medium:
      top = style == "minor" ? 300000 : style == "tertiary" ? 500000 : kMediumMax;
      layer.Set("DISPLAYSCALE", Scales(kRegionalMax + 1, top));
      break;
    case Band::Far:
      top = style == "secondary" ? 3000000 : 6000000;
      layer.Set("DISPLAYSCALE", Scales(kMediumMax + 1, style == "secondary" ? 3000000 : kLargest));
      break;
  }
  // A casing with a fill needs three pixels (of 0.26 mm) at the band's largest scale;
  // thinner roads are one stroke of a colour between the two.
  const bool cased = r.cased && (band == Band::Near || width / (static_cast<double>(top) * 0.000265) >= 3.0);
  if (cased) {
    layer.Set("LINECOLOR", Color(r.casing));
  } else {
    layer.Set("LINECOLOR", Color((r.fill[0] * 3 + r.casing[0] * 2) / 5, (r.fill[1] * 3 + r.casing[1] * 2) / 5,
                                 (r.fill[2] * 3 + r.casing[2] * 2) / 5));
  }
  layer.Set("FILLCOLOR", Color(r.fill));
  layer.Set("LINESTYLE", std::to_string(r.lineStyle));
  layer.Set("LINEWIDTH", Width(width));
  layer.Set("WIDTHFACTOR", cased ? "100.0,65.0,0.0" : "100.0,0.0,0.0");
}

void StyleArea(SymbologyWriter::Layer& layer, const std::string& style) {
  // Outline in the fill colour, so that areas with holes show no seam.
  int c[3] = {235, 235, 235};
  int hatch = -1;
  if (style == "country") c[0] = 250, c[1] = 247, c[2] = 232;
  if (style == "builtup") c[0] = 242, c[1] = 218, c[2] = 205;
  if (style == "forest") c[0] = 196, c[1] = 226, c[2] = 176;
  if (style == "park") c[0] = 212, c[1] = 238, c[2] = 196;
  if (style == "square") c[0] = 232, c[1] = 230, c[2] = 228;
  if (style == "water") c[0] = 165, c[1] = 205, c[2] = 240;
  layer.Set("VISIBLE", "1");
  layer.Set("LINECOLOR", Color(c));
  layer.Set("FILLCOLOR", Color(c));
  layer.Set("HATCHSTYLE", std::to_string(hatch));
  layer.Set("LINESTYLE", "0");
  layer.Set("LINEWIDTH", "1.0");
  if (style == "builtup" || style == "square" || style == "park")
    layer.Set("DISPLAYSCALE", Scales(100, 400000));
}

void StyleLine(SymbologyWriter::Layer& layer, const std::string& style) {
  layer.Set("VISIBLE", "1");
  if (style == "border") {
    layer.Set("LINECOLOR", Color(150, 30, 150));
    layer.Set("LINESTYLE", "3");
    layer.Set("LINEWIDTH", "1.0");
  } else if (style == "river") {
    layer.Set("LINECOLOR", Color(90, 150, 220));
    layer.Set("LINESTYLE", "0");
    layer.Set("LINEWIDTH", "30.0");
  } else if (style == "stream") {
    layer.Set("LINECOLOR", Color(110, 165, 230));
    layer.Set("LINESTYLE", "0");
    layer.Set("LINEWIDTH", "4.0");
    layer.Set("DISPLAYSCALE", Scales(100, 100000));
  } else {
    layer.Set("LINECOLOR", Color(70, 70, 70));
    layer.Set("LINESTYLE", "1");
    layer.Set("LINEWIDTH", "4.0");
    layer.Set("DISPLAYSCALE", Scales(100, 400000));
  }
}

void StyleLargeRiver(SymbologyWriter::Layer& layer, Band band) {
  layer.Set("VISIBLE", "1");
  layer.Set("LINECOLOR", Color(90, 150, 220));
  layer.Set("LINESTYLE", "0");
  // Two or three pixels (of 0.26 mm) at the middle of each band, one at its smallest scale.
  layer.Set("LINEWIDTH", band == Band::Far ? "1200.0" : "350.0");
  layer.Set("DISPLAYSCALE",
            band == Band::Far ? Scales(kMediumMax + 1, 12000000) : Scales(kRegionalMax + 1, kMediumMax));
}

bool PlaceInBand(const std::string& style, Band band) {
  return PlaceLookOf(style).symbol[static_cast<int>(band)] > 0;
}

double PlaceSymbolHeight(const std::string& style, Band band) {
  const PlaceLook& p = PlaceLookOf(style);
  // Labels stand beside the symbols shown at their scales: the overview symbols for Far,
  // the towns category's otherwise (at Near scales only where it is still drawn).
  if (band == Band::Far) return p.symbol[2];
  if (band == Band::Near && p.symbolNear[0] > p.labelNear[1]) return 0;
  return p.symbol[0];
}

void StylePlace(SymbologyWriter::Layer& layer, const std::string& style, Band band,
                const std::string& bitmapFile) {
  const PlaceLook& p = PlaceLookOf(style);
  layer.Set("VISIBLE", "1");
  if (band == Band::Far)
    layer.Set("DISPLAYSCALE", Scales(kMediumMax + 1, style == "city" ? 12000000 : 4000000));
  else
    layer.Set("DISPLAYSCALE", Scales(p.symbolNear[0], p.symbolNear[1]));
  layer.Set("BITMAP", bitmapFile + "," + Width(p.symbol[static_cast<int>(band)]));
  layer.Set("TRANSPARENTCOLOR", "255,0,255");
}

BmpPicture PlaceSymbol(const std::string& style) {
  // 32 x 32 pixels on magenta, the transparent colour.
  BmpPicture pic;
  pic.width = pic.height = 32;
  pic.pixels.assign(32 * 32, Rgb(255, 0, 255));
  ColorRef fill = Rgb(255, 255, 255), ring = Rgb(0, 0, 0), centre = Rgb(0, 0, 0);
  double outer = 15.5, ringWidth = 3.0, dot = 0;
  if (style == "city") fill = Rgb(220, 30, 30), dot = 5.5;
  if (style == "town") fill = Rgb(230, 60, 50), outer = 14.0;
  if (style == "village") fill = Rgb(255, 255, 255), outer = 13.0, ringWidth = 3.5;
  if (style == "hamlet") fill = Rgb(60, 60, 60), outer = 10.0, ringWidth = 0;
  if (style == "suburb") fill = Rgb(150, 150, 150), outer = 10.0, ringWidth = 2.0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const double r = std::hypot(x - 15.5, y - 15.5);
      ColorRef& px = pic.pixels[static_cast<std::size_t>(y * 32 + x)];
      if (r <= outer) px = r > outer - ringWidth ? ring : fill;
      if (r <= dot) px = r > dot - 2.0 ? centre : Rgb(255, 255, 255);
    }
  return pic;
}

bool PlaceLabelInBand(const std::string& style, Band band) {
  return PlaceLookOf(style).label[static_cast<int>(band)] > 0;
}

double PlaceLabelHeight(const std::string& style, Band band) {
  return PlaceLookOf(style).label[static_cast<int>(band)];
}

double PlaceLabelCharacterWidth(const std::string& style) { return PlaceLookOf(style).bold ? 0.62 : 0.56; }

void StylePlaceLabel(SymbologyWriter::Layer& layer, const std::string& style, Band band, bool thinned) {
  const PlaceLook& p = PlaceLookOf(style);
  layer.Set("VISIBLE", "1");
  switch (band) {
    case Band::Near: layer.Set("DISPLAYSCALE", Scales(p.labelNear[0], p.labelNear[1])); break;
    case Band::Regional: layer.Set("DISPLAYSCALE", Scales(p.labelNear[1] + 1, kRegionalMax)); break;
    case Band::Medium:
      layer.Set("DISPLAYSCALE", Scales(kRegionalMax + 1, style == "village" ? 300000 : kMediumMax));
      break;
    case Band::Far:
      layer.Set("DISPLAYSCALE", Scales(kMediumMax + 1, style == "city" ? 12000000
                                                       : thinned       ? 4000000
                                                                       : 1200000));
      break;
  }
  layer.Set("FONT", StringPrintf("Arial,%d,%d,%d,%d,%d,0,%.1f,0", p.color[0], p.color[1], p.color[2],
                                 p.bold ? 1 : 0, p.italic ? 1 : 0, p.label[static_cast<int>(band)]));
}

void StyleWaterLabel(SymbologyWriter::Layer& layer) {
  layer.Set("VISIBLE", "1");
  layer.Set("DISPLAYSCALE", Scales(5000, 80000));
  layer.Set("FONT", StringPrintf("Arial,30,80,170,0,1,0,%.1f,0", AreaLabelHeight()));
}

void StyleAreaLabel(SymbologyWriter::Layer& layer) {
  layer.Set("VISIBLE", "1");
  layer.Set("DISPLAYSCALE", Scales(2000, 20000));
  layer.Set("FONT", StringPrintf("Arial,40,100,40,0,1,0,%.1f,0", AreaLabelHeight() * 0.3));
}

double AreaLabelHeight() { return 80; }

void StyleLargeWaterLabel(SymbologyWriter::Layer& layer, Band band) {
  layer.Set("VISIBLE", "1");
  layer.Set("DISPLAYSCALE", band == Band::Regional ? Scales(80001, kRegionalMax)
                            : band == Band::Medium ? Scales(kRegionalMax + 1, kMediumMax)
                                                   : Scales(kMediumMax + 1, 12000000));
  layer.Set("FONT", StringPrintf("Arial,30,80,170,0,1,0,%.1f,0", LargeWaterLabelHeight(band)));
}

double LargeWaterLabelHeight(Band band) {
  return band == Band::Regional ? 350 : band == Band::Medium ? 1100 : 4500;
}

void StyleStreetLabel(SymbologyWriter::Layer& layer) {
  layer.Set("VISIBLE", "1");
  layer.Set("DISPLAYSCALE", Scales(2000, 12000));
  layer.Set("FONT", StringPrintf("Arial,50,50,50,0,0,0,%.1f,0", StreetLabelHeight()));
}

double StreetLabelHeight() { return 20; }

void StyleRoute(SymbologyWriter::Layer& layer, double mapSize) {
  // Widths are ground metres: an eight-hundredth of the map's size shows the route one or two
  // pixels wide when the whole map is in view, and like a marker pen over the roads when
  // zoomed in; never narrower than a fifth more than the widest road drawn close up, so
  // that it covers the motorways of a city map too. A strong blue stands out from the red
  // and yellow roads.
  const double widestRoad = kRoads[0].width[static_cast<int>(Band::Near)];
  const double width = std::clamp(mapSize / 800.0, 1.2 * widestRoad, 2000.0);
  layer.Set("VISIBLE", "1");
  layer.Set("LINECOLOR", Color(0, 80, 255));
  layer.Set("LINESTYLE", "0");
  layer.Set("LINEWIDTH", StringPrintf("%.1f", width));
}

}  // namespace koltar::import
