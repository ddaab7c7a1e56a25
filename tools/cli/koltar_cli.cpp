// koltar-cli: a map on the command line, without a display.
//
//   koltar-cli info MAPFILE
//       the map's name, unit, origin, scales and extent, and one line per category
//   koltar-cli render MAPFILE --out FILE.png|.bmp|.ppm|.jpg [--size WxH] [--scale S] [--center X,Y]
//       the map as a new map window of that client size shows it (1024x768, the whole
//       map fitted with a tenth to spare), or at scale 1 : S and centred on map point
//       X,Y (map units), drawn into a PNG
//   koltar-cli route MAPFILE [--criterion distance|time|cost] [--png FILE [--size WxH]]
//                    [--pdf FILE [--paper A4|A3|Letter] [--landscape]] [--gpx FILE]
//                    [--geojson FILE] [--text FILE] NAME NAME [NAME...]
//       the optimal route through the settlements named (exactly, as in batch files),
//       printed as batch planning lists one route; with --png also the map positioned
//       on the route as "Térkép pozicionálása" does, with the route drawn; with --pdf the
//       printed route plan (map and route table) on one page; --gpx and --geojson the
//       route for GPS programs (maps that record their projection), --text the route
//       list's export text
//   koltar-cli batch MAPFILE SOURCE [--criterion distance|time|cost] [--out FILE]
//       batch planning of an end-point text (code page 1250, or UTF-8), the route-plan
//       text printed and, with --out, written in code page 1250
//   koltar-cli find MAPFILE NAME [--category NAME] [--layer NAME] [--house NUMBER]
//       the places of that name, as the place search lists them (a street's segments
//       as one, or with --house the segment that holds the number), letter case and
//       accents ignored; one line per place: category, layer, name, map point, ground
//       point and, when the map records its projection, latitude and longitude
//   koltar-cli --help|--version
//
// The usage that --help prints and the manual page (packaging/man/koltar-cli.1.scd)
// agree, as a test checks.
//
// Messages that the program shows in boxes go to standard error as "KOLTAR32: <text>"
// and loading goes on, as in the program. The screen pixel is taken as 25.4 / 96 mm,
// the size of a pixel at 96 dots per inch. Output is UTF-8. The criterion given is used
// for this run only: the map keeps its own.
//
// Exit status: 0 when done (every route planned, something found), 1 when a planning or
// file problem stopped the run or nothing was found, 2 for bad arguments.

#if KOLTAR_CLI_DRAWS
#include <QGuiApplication>
#include <QImage>
#include <QMessageLogContext>
#include <QString>
#else
#include <unistd.h>
#endif
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/place_names.h"
#include "categories/point.h"
#include "geometry/transform.h"
#include "map/mmap.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/pixel_images.h"
#if KOLTAR_CLI_DRAWS
#include "platform/qt/picture_file.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#endif
#include "platform/services.h"
#include "platform/text.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tools/cli/route_outputs.h"
#include "view/map_view_state.h"
#include "view/place_view.h"

namespace koltar {
namespace {

constexpr int kUsageError = 2;
constexpr int kFailed = 1;

constexpr const char* kUsage =
    "Usage: koltar-cli info MAPFILE\n"
    "       koltar-cli render MAPFILE --out FILE.png [--size WxH] [--scale S] [--center X,Y]\n"
    "       koltar-cli route MAPFILE [--criterion distance|time|cost] [--png FILE [--size WxH]] "
    "[--pdf FILE [--paper A4|A3|Letter] [--landscape]] [--gpx FILE] [--geojson FILE] [--text FILE] NAME NAME "
    "[NAME...]\n"
    "       koltar-cli batch MAPFILE SOURCE [--criterion distance|time|cost] [--out FILE]\n"
    "       koltar-cli find MAPFILE NAME [--category NAME] [--layer NAME] [--house NUMBER]\n"
    "       koltar-cli --help|--version\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return kUsageError;
}

// --help: the usage and what each command does.
int Help() {
  std::fputs(kUsage, stdout);
  std::fputs(
      "\n"
      "Reads a map of koltar without a display.\n"
      "  info    the map's name, unit, origin, scales, extent and categories\n"
      "  render  the map as a new map window of that size shows it, or at scale 1 : S\n"
      "          centred on map point X,Y, into a PNG file\n"
      "  route   the route through the settlements named, one line per settlement passed;\n"
      "          --png also draws the map positioned on the route, --pdf the printed route\n"
      "          plan; --gpx, --geojson and --text write the route for other programs\n"
      "  batch   every block of an end-point file planned; --out also writes the plan\n"
      "\n"
      "Exit status: 0 when done, 1 when a planning or file problem stopped the run,\n"
      "2 for bad arguments.\n",
      stdout);
  return 0;
}

std::string Utf8(std::string_view cp1250) { return Cp1250ToUtf8(cp1250); }

std::string RectText(const MapRect& r) {
  if (r.IsEmpty()) return "empty";
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// "<count> records <count> layers"; the road network counts its graph instead.
std::string Counts(const MMap& map, const MapCategory& c) {
  if (c.kind() == CategoryKind::OptPath) {
    const MOptPath& net = *map.roadNetwork();
    return StringPrintf("%ld nodes %ld edges %ld layers", static_cast<long>(net.graph().nodeCount()),
                        static_cast<long>(net.graph().edgeCount()), static_cast<long>(net.layerCount()));
  }
  return std::to_string(c.recordCount()) + " records " + std::to_string(c.layerCount()) + " layers";
}

int Info(const MMap& map) {
  std::printf("Map: %s\n", Utf8(map.name()).c_str());
  std::printf("UNIT: %ld\n", static_cast<long>(map.unit()));
  std::printf("ORIGIN: %ld,%ld\n", static_cast<long>(map.origin().x), static_cast<long>(map.origin().y));
  std::printf("Smallest scale: %ld\n", static_cast<long>(map.smallestScale()));
  std::printf("Largest scale: %ld\n", static_cast<long>(map.largestScale()));
  std::printf("Find scale: %ld\n", static_cast<long>(map.findScale()));
  std::printf("Extent: %s\n", RectText(map.extent()).c_str());
  std::printf("Categories: %ld\n", static_cast<long>(map.declaredCount()));
  // Lines with an invalid type keyword made no category; loading reported them.
  for (const std::unique_ptr<MapCategory>& c : map.drawOrder())
    std::printf("%s %s %s\n", std::string(KeywordOf(c->kind())).c_str(), Utf8(c->name()).c_str(),
                Counts(map, *c).c_str());
  return 0;
}

// A whole decimal number.
bool ParseLong(std::string_view text, long& value) {
  const std::string s(text);
  char* end = nullptr;
  value = std::strtol(s.c_str(), &end, 10);
  return !s.empty() && *end == '\0';
}

// Two decimal numbers with a separator between them ("1024x768", "650000,230000").
bool ParsePair(std::string_view text, char separator, long& a, long& b) {
  const std::size_t at = text.find(separator);
  return at != std::string_view::npos && ParseLong(text.substr(0, at), a) &&
         ParseLong(text.substr(at + 1), b);
}

struct RenderOptions {
  std::string out;
  int width = 1024;
  int height = 768;
  std::optional<std::int32_t> scale;
  std::optional<MapPoint> centre;
};

// Reads the options after MAPFILE; false (after saying why) for a bad one.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "koltar-cli: %s needs a value\n", option.c_str());
      return false;
    }
    const std::string& value = args[++i];
    long a = 0, b = 0;
    if (option == "--out") {
      o.out = value;
    } else if (option == "--size" && ParsePair(value, 'x', a, b) && a > 0 && b > 0 && a <= 20000 &&
               b <= 20000) {
      o.width = static_cast<int>(a);
      o.height = static_cast<int>(b);
    } else if (option == "--scale" && ParseLong(value, a) && a > 0 && a <= 2147483647L) {
      o.scale = static_cast<std::int32_t>(a);
    } else if (option == "--center" && ParsePair(value, ',', a, b)) {
      o.centre = MapPoint{ClampToInt32(static_cast<double>(a)), ClampToInt32(static_cast<double>(b))};
    } else {
      std::fprintf(stderr, "koltar-cli: bad option %s %s\n", option.c_str(), value.c_str());
      return false;
    }
  }
  if (o.out.empty()) {
    std::fputs("koltar-cli: render needs --out FILE.png\n", stderr);
    return false;
  }
  return true;
}

#if KOLTAR_CLI_DRAWS
// The view of a new map window of that size: the whole map (MapViewState::FitWholeMap).
MapViewState WholeMapView(const MMap& map, int width, int height) {
  MapViewState view(ViewFactsOf(map, Program().pixel));
  view.SetDeviceRect(DeviceRect{0, 0, width, height});
  view.FitWholeMap();
  return view;
}

// Draws the map as the view shows it into a picture file, in the format its extension
// names (png, bmp, ppm, jpg; PNG otherwise); false after saying why.
bool DrawToPng(MMap& map, const MapViewState& state, const std::string& file) {
  const MapView& view = state.view();
  QtDeviceContext dc(view.rect.right, view.rect.bottom);  // white, 96 dots per inch
  map.Draw(dc, state.Transform(), view.rect, view.scale);
  if (!SavePicture(*dc.image(), file)) {
    std::fprintf(stderr, "koltar-cli: cannot write %s\n", file.c_str());
    return false;
  }
  return true;
}

std::string ViewText(const std::string& file, const MapView& view) {
  return StringPrintf("%s: %dx%d, 1 : %ld, centre %ld,%ld", file.c_str(), view.rect.right, view.rect.bottom,
                      static_cast<long>(view.scale), static_cast<long>(view.centre.x),
                      static_cast<long>(view.centre.y));
}

int Render(MMap& map, const RenderOptions& o) {
  MapViewState view = WholeMapView(map, o.width, o.height);
  if (o.scale) view.SetScale(*o.scale);
  if (o.centre) view.SetCentre(*o.centre);
  if (!DrawToPng(map, view, o.out)) return kFailed;
  std::printf("%s\n", ViewText(o.out, view.view()).c_str());
  return 0;
}
#endif

// ---------------------------------------------------------------------------------
// Route planning.

bool ParseCriterion(std::string_view text, int& criterion) {
  if (text == "distance")
    criterion = kCriterionDistance;
  else if (text == "time")
    criterion = kCriterionTime;
  else if (text == "cost")
    criterion = kCriterionCost;
  else
    return false;
  return true;
}

bool ParseSize(std::string_view text, int& width, int& height) {
  long a = 0, b = 0;
  if (!ParsePair(text, 'x', a, b) || a <= 0 || b <= 0 || a > 20000 || b > 20000) return false;
  width = static_cast<int>(a);
  height = static_cast<int>(b);
  return true;
}

struct PlanOptions {
  std::optional<int> criterion;
  std::string png;  // route: the picture to draw
  int width = 1024;
  int height = 768;
  std::string out;                    // batch: the route-plan file
  RouteOutputs outputs;               // route: the files written besides the lines
  std::vector<std::string> operands;  // route: the names; batch: the source file
};

// Reads the options and operands after MAPFILE; "--" ends the options. False (after
// saying why) for a bad one.
bool ParsePlanOptions(const std::vector<std::string>& args, bool batch, PlanOptions& o) {
  bool optionsEnded = false;
  bool sizeGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      o.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    bool takesValue = true;
    if (!batch && IsRouteOutputOption(arg, takesValue) && !takesValue) {
      if (!SetRouteOutputOption(arg, "", o.outputs)) return false;
      continue;
    }
    const bool known = arg == "--criterion" || (batch ? arg == "--out" : arg == "--png" || arg == "--size") ||
                       (!batch && IsRouteOutputOption(arg, takesValue));
    if (!known) {
      std::fprintf(stderr, "koltar-cli: unknown option %s\n", arg.c_str());
      return false;
    }
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "koltar-cli: %s needs a value\n", arg.c_str());
      return false;
    }
    const std::string& value = args[++i];
    int criterion = 0;
    if (arg == "--criterion" && ParseCriterion(value, criterion)) {
      o.criterion = criterion;
    } else if (arg == "--png" || arg == "--out") {
      (batch ? o.out : o.png) = value;
    } else if (arg == "--size" && ParseSize(value, o.width, o.height)) {
      sizeGiven = true;
    } else if (!batch && IsRouteOutputOption(arg, takesValue)) {
      if (!SetRouteOutputOption(arg, value, o.outputs)) return false;
    } else {
      std::fprintf(stderr, "koltar-cli: bad option %s %s\n", arg.c_str(), value.c_str());
      return false;
    }
  }
  if (batch && o.operands.size() != 1) {
    std::fputs("koltar-cli: batch needs one SOURCE file\n", stderr);
    return false;
  }
  if (!batch && o.operands.size() < 2) {
    std::fputs("koltar-cli: route needs the names of two settlements at least\n", stderr);
    return false;
  }
  if (sizeGiven && o.png.empty()) {
    std::fputs("koltar-cli: --size goes with --png\n", stderr);
    return false;
  }
  return CheckRouteOutputs(o.outputs);
}

// The criterion given for the lifetime of the object, then the map's own again, so that
// closing the map writes back what it had.
class ScopedCriterion {
 public:
  ScopedCriterion(CostTable& costs, std::optional<int> criterion) : costs_(costs), saved_(costs.criterion()) {
    if (criterion) costs.SetCriterion(*criterion);
  }
  ~ScopedCriterion() { costs_.SetCriterion(saved_); }
  ScopedCriterion(const ScopedCriterion&) = delete;
  ScopedCriterion& operator=(const ScopedCriterion&) = delete;

 private:
  CostTable& costs_;
  int saved_;
};

// The road network, when the map has one and route planning can start on it.
MOptPath* PlanningNetwork(MMap& map) {
  if (!map.roadNetwork()) {
    std::fputs("koltar-cli: the map has no road network (no OPTPATH category)\n", stderr);
    return nullptr;
  }
  return map.CheckRouteCategories() ? map.roadNetwork() : nullptr;
}

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", Utf8(line).c_str());
}

int PlanRoute(MMap& map, const PlanOptions& o) {
  MOptPath* network = PlanningNetwork(map);
  if (!network) return kFailed;
  const ScopedCriterion criterion(network->costTable(), o.criterion);
  const PointSettlements towns = map.Settlements();
  const RoadData roads = map.Roads();

  RouteRequest& request = network->routeState().request();
  request.ClearRoutePoints();
  for (const std::string& name : o.operands) {
    const std::string error = AddRoutePointByName(network->graph(), request, towns, Utf8ToCp1250(name));
    if (!error.empty()) {
      ShowMessage(error, MessageKind::Exclamation);
      return kFailed;
    }
  }
  map.DeleteRoute();
  std::string error;
  const std::int32_t steps = SearchRoute(*network, towns, roads, error);
  if (!error.empty()) ShowMessage(error, MessageKind::Exclamation);
  if (steps == 0)
    ShowMessage(Utf8ToCp1250("A kezdőpontból nem lehet eljutni a végpontba."), MessageKind::Information);
  // What was found is listed even when a leg failed, as the route list shows it.
  PrintLines(ItineraryLines(network->routeState()));
  const int result = steps > 0 && error.empty() ? 0 : kFailed;

#if KOLTAR_CLI_DRAWS
  if (!o.png.empty()) {
    MapViewState view = WholeMapView(map, o.width, o.height);
    const MapRect bounds = map.GetRouteBounds();
    if (!bounds.IsEmpty()) view.ShowRoute(bounds);
    if (!DrawToPng(map, view, o.png)) return kFailed;
    std::fprintf(stderr, "koltar-cli: %s\n", ViewText(o.png, view.view()).c_str());
  }
#endif
  if (o.outputs.any() && !WriteRouteOutputs(map, o.outputs)) return kFailed;
  map.DeleteRoute();
  return result;
}

// A source file in UTF-8 is taken as such when it is valid UTF-8 and not plain ASCII
// (where both readings agree); anything else is code page 1250.
std::string SourceText(std::string bytes) { return BatchSourceText(std::move(bytes)); }

int PlanBatch(MMap& map, const PlanOptions& o) {
  MOptPath* network = PlanningNetwork(map);
  if (!network) return kFailed;
  std::string bytes;
  if (!ReadBatchSource(ModelFileName(std::filesystem::path(o.operands.front())), bytes)) return kFailed;
  const ScopedCriterion criterion(network->costTable(), o.criterion);
  const BatchResult result = GenerateBatchRoutes(*network, map.Settlements(), map.Roads(),
                                                 SplitTextLines(SourceText(std::move(bytes))));
  PrintLines(result.lines);
  if (!o.out.empty() && !WriteBatchResult(ModelFileName(std::filesystem::path(o.out)), result.lines))
    return kFailed;
  return result.errorText.empty() ? 0 : kFailed;
}

// ---------------------------------------------------------------------------------
// Place search.

struct FindOptions {
  std::string name;  // code page 1250
  std::optional<std::string> category;
  std::optional<std::string> layer;
  std::optional<std::string> house;
};

// Reads NAME and the options after MAPFILE; "--" ends the options. False (after saying
// why) for a bad one.
bool ParseFindOptions(const std::vector<std::string>& args, FindOptions& o) {
  bool optionsEnded = false;
  std::vector<std::string> operands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg != "--category" && arg != "--layer" && arg != "--house") {
      std::fprintf(stderr, "koltar-cli: unknown option %s\n", arg.c_str());
      return false;
    }
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "koltar-cli: %s needs a value\n", arg.c_str());
      return false;
    }
    const std::string value = Utf8ToCp1250(args[++i]);
    (arg == "--category" ? o.category : arg == "--layer" ? o.layer : o.house) = value;
  }
  if (operands.size() != 1) {
    std::fputs("koltar-cli: find needs one NAME\n", stderr);
    return false;
  }
  o.name = Utf8ToCp1250(operands.front());
  return true;
}

// A category the search looks in, and the layer it looks at (0: every layer).
struct SearchedCategory {
  CategoryKind kind;
  std::int32_t index;  // within the map's list of its kind
  const MapCategory* category;
  const MPoint* point;
  std::int32_t layer;
};

bool SameLoosely(std::string_view a, std::string_view b) { return SearchKey(a) == SearchKey(b); }

// The categories --category and --layer leave (both compared without regard to letter
// case and accents); false, after saying why, when they leave none.
bool SearchedCategories(const MMap& map, const FindOptions& o, std::vector<SearchedCategory>& out) {
  const PlaceCategories all = PlaceCategoriesOf(map);
  bool named = false;
  auto consider = [&](CategoryKind kind, std::size_t index, const MapCategory* c, const MPoint* point) {
    if (o.category && !SameLoosely(c->name(), *o.category)) return;
    named = true;
    std::int32_t layer = 0;
    for (std::int32_t l = 0; o.layer && l < c->layerCount() && layer == 0; ++l)
      if (SameLoosely(c->LayerName(l), *o.layer)) layer = l + 1;
    if (o.layer && layer == 0) return;
    out.push_back(SearchedCategory{kind, static_cast<std::int32_t>(index), c, point, layer});
  };
  for (std::size_t i = 0; i < all.points.size(); ++i)
    consider(CategoryKind::Point, i, all.points[i], all.points[i]);
  for (std::size_t i = 0; i < all.lines.size(); ++i) consider(CategoryKind::Line, i, all.lines[i], nullptr);
  for (std::size_t i = 0; i < all.areas.size(); ++i) consider(CategoryKind::Area, i, all.areas[i], nullptr);
  if (!out.empty()) return true;
  if (!named)
    std::fprintf(stderr, "koltar-cli: the map has no point, line or area category %s\n",
                 Utf8(o.category ? *o.category : "").c_str());
  else
    std::fprintf(stderr, "koltar-cli: no category searched has a layer %s\n", Utf8(*o.layer).c_str());
  return false;
}

// "<category> TAB <layer> TAB <name> TAB map X,Y TAB ground X,Y [TAB lat L lon L]".
std::string PlaceLine(const MMap& map, const SearchedCategory& c, std::int32_t record,
                      bool withHouseNumbers) {
  FindPointData found;
  found.type = static_cast<std::int32_t>(c.kind);
  found.category = c.index;
  found.object = record;
  const MapPoint at = FoundPlaceOf(PlaceCategoriesOf(map), found).value_or(FoundPlace{}).centre;
  const std::int32_t layer = c.category->ObjectLayer(record);
  const std::string name = withHouseNumbers ? c.category->GetObjectName(record)
                                            : std::string(c.category->StoredName(record).value_or(""));
  const double unit = map.unit();
  std::string line = StringPrintf("%s\t%s\t%s\tmap %ld,%ld\tground %ld,%ld", Utf8(c.category->name()).c_str(),
                                  Utf8(layer > 0 ? c.category->LayerName(layer - 1) : "").c_str(),
                                  Utf8(name).c_str(), static_cast<long>(at.x), static_cast<long>(at.y),
                                  static_cast<long>(ClampToInt32(at.x * unit + map.origin().x)),
                                  static_cast<long>(ClampToInt32(at.y * unit + map.origin().y)));
  if (const std::optional<GeoPosition> geo = map.ToGeographic(at))
    line += StringPrintf("\tlat %.6f lon %.6f", geo->latitude, geo->longitude);
  return line;
}

int FindPlaces(const MMap& map, const FindOptions& o) {
  std::vector<SearchedCategory> searched;
  if (!SearchedCategories(map, o, searched)) return kUsageError;
  int found = 0;
  for (const SearchedCategory& c : searched) {
    // The names as the place search lists them: a street with house numbers once.
    const bool houseNumbers = c.point && c.point->hasHouseNumbers();
    PlaceNameList names;
    if (names.Assign(*c.category, c.layer, houseNumbers) == PlaceNameList::Fill::NoMemory) {
      ShowNoMemory();
      return kFailed;
    }
    for (const std::int32_t entry : names.LooseEquals(o.name)) {
      std::int32_t record = names[entry].record;
      const bool withHouse = houseNumbers && o.house.has_value();
      if (withHouse) record = c.point->FindHouseNumber(record, *o.house);
      std::printf("%s\n", PlaceLine(map, c, record, withHouse || !houseNumbers).c_str());
      ++found;
    }
  }
  if (found == 0) {
    std::fprintf(stderr, "koltar-cli: nothing named %s\n", Utf8(o.name).c_str());
    return kFailed;
  }
  return 0;
}

#if KOLTAR_CLI_DRAWS
// Qt for drawing: the offscreen platform, chosen before Qt starts, so that no display
// is needed, and Qt's own messages kept off standard error, where only the program's
// messages belong.
class QtPainting {
 public:
  explicit QtPainting(char* program) : argv_{program, nullptr} {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application_.emplace(argc_, argv_);
    InstallFontSubstitutions();
  }
  QtPainting(const QtPainting&) = delete;
  QtPainting& operator=(const QtPainting&) = delete;

 private:
  int argc_ = 1;
  char* argv_[2];
  std::optional<QGuiApplication> application_;

 public:
  QtImageService images;  // made after the application, destroyed before it
};

#else
// Drawing is koltar-cli-draw's: the same program built with Qt, found beside this one
// or, installed, in ../libexec/koltar/. It is started in this process's place with the
// same arguments, so that the commands that draw nothing never load the toolkit.
int RunDrawingProgram(char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder =
      error ? std::filesystem::path(argv[0]).parent_path() : self.parent_path();
  for (const std::filesystem::path& program :
       {folder / "koltar-cli-draw", folder / ".." / "libexec" / "koltar" / "koltar-cli-draw"}) {
    if (::access(program.c_str(), X_OK) == 0) {
      ::execv(program.c_str(), argv);
      std::fprintf(stderr, "koltar-cli: cannot start %s\n", program.c_str());
      return kFailed;
    }
  }
  std::fputs("koltar-cli: drawing needs koltar-cli-draw, which is not installed\n", stderr);
  return kFailed;
}
#endif

int Run(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--help") return Help();
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("koltar-cli %s\n", KOLTAR_VERSION);
    return 0;
  }
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> rest(argv + 3, argv + argc);
  RenderOptions options;
  PlanOptions plan;
  FindOptions find;
  if (command == "info") {
    if (!rest.empty()) return Usage();
  } else if (command == "render") {
    if (!ParseRenderOptions(rest, options)) return kUsageError;
  } else if (command == "route" || command == "batch") {
    if (!ParsePlanOptions(rest, command == "batch", plan)) return kUsageError;
  } else if (command == "find") {
    if (!ParseFindOptions(rest, find)) return kUsageError;
  } else {
    return Usage();
  }

  // Only drawing needs Qt; every other command starts no toolkit at all, so that it
  // needs neither a display nor a run-time folder, and reads the symbol bitmaps itself.
  const bool draws =
      command == "render" || (command == "route" && (!plan.png.empty() || !plan.outputs.pdf.empty()));
#if !KOLTAR_CLI_DRAWS
  if (draws) return RunDrawingProgram(argv);
#endif
  StderrMessageService messages;
  InstalledServices().messages = &messages;
  PixelImageService pixelImages;
#if KOLTAR_CLI_DRAWS
  std::optional<QtPainting> painting;
  if (draws) painting.emplace(argv[0]);
  InstalledServices().images = painting ? &painting->images : static_cast<ImageService*>(&pixelImages);
#else
  InstalledServices().images = &pixelImages;
#endif
  Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};

  int result = 0;
  {
    MMap map(ModelFileName(std::filesystem::path(argv[2])));
    if (command == "info") result = Info(map);
#if KOLTAR_CLI_DRAWS
    else if (command == "render")
      result = Render(map, options);
#endif
    else if (command == "route")
      result = PlanRoute(map, plan);
    else if (command == "find")
      result = FindPlaces(map, find);
    else
      result = PlanBatch(map, plan);
  }
  InstalledServices() = Services{};
  return result;
}

}  // namespace

#if !KOLTAR_CLI_DRAWS
// The PDF is drawn by koltar-cli-draw, which this program hands every --pdf to.
bool WriteRoutePdf(MMap&, const RouteOutputs&) {
  std::fputs("koltar-cli: the PDF needs koltar-cli-draw\n", stderr);
  return false;
}
#endif

}  // namespace koltar

int main(int argc, char** argv) { return koltar::Run(argc, argv); }
