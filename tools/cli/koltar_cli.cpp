// koltar-cli: a map on the command line, without a display.
//
//   koltar-cli info MAPFILE
//       the map's name, unit, origin, scales and extent, and one line per category
//   koltar-cli render MAPFILE --out FILE.png [--size WxH] [--scale S] [--center X,Y]
//       the map as a new map window of that client size shows it (1024x768, the whole
//       map fitted with a tenth to spare), or at scale 1 : S and centred on map point
//       X,Y (map units), drawn into a PNG
//   koltar-cli route MAPFILE [--criterion distance|time|cost] [--png FILE [--size WxH]]
//                    NAME NAME [NAME...]
//       the optimal route through the settlements named (exactly, as in batch files),
//       printed as batch planning lists one route; with --png also the map positioned
//       on the route as "Térkép pozicionálása" does, with the route drawn
//   koltar-cli batch MAPFILE SOURCE [--criterion distance|time|cost] [--out FILE]
//       batch planning of an end-point text (code page 1250, or UTF-8), the route-plan
//       text printed and, with --out, written in code page 1250
//
// Messages that the program shows in boxes go to standard error as "KOLTAR32: <text>"
// and loading goes on, as in the program. The screen pixel is taken as 25.4 / 96 mm,
// the size of a pixel at 96 dots per inch. Output is UTF-8. The criterion given is used
// for this run only: the map keeps its own.
//
// Exit status: 0 when done (every route planned), 1 when a planning or file problem
// stopped the run, 2 for bad arguments.

#include <QGuiApplication>
#include <QImage>
#include <QMessageLogContext>
#include <QString>
#include <QUtf8StringView>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/transform.h"
#include "map/mmap.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/pixel_images.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "platform/services.h"
#include "platform/text.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "view/map_view_state.h"

namespace koltar {
namespace {

constexpr int kUsageError = 2;
constexpr int kFailed = 1;

int Usage() {
  std::fputs(
      "usage: koltar-cli info MAPFILE\n"
      "       koltar-cli render MAPFILE --out FILE.png [--size WxH] [--scale S] [--center X,Y]\n"
      "       koltar-cli route MAPFILE [--criterion distance|time|cost] [--png FILE [--size WxH]]\n"
      "                        NAME NAME [NAME...]\n"
      "       koltar-cli batch MAPFILE SOURCE [--criterion distance|time|cost] [--out FILE]\n",
      stderr);
  return kUsageError;
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

// The view of a new map window of that size: the whole map (MapViewState::FitWholeMap).
MapViewState WholeMapView(const MMap& map, int width, int height) {
  MapViewState view(ViewFactsOf(map, Program().pixel));
  view.SetDeviceRect(DeviceRect{0, 0, width, height});
  view.FitWholeMap();
  return view;
}

// Draws the map as the view shows it into a PNG file; false after saying why.
bool DrawToPng(MMap& map, const MapViewState& state, const std::string& file) {
  const MapView& view = state.view();
  QtDeviceContext dc(view.rect.right, view.rect.bottom);  // white, 96 dots per inch
  map.Draw(dc, state.Transform(), view.rect, view.scale);
  if (!dc.image()->save(QString::fromStdString(file), "PNG")) {
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
    const bool known = arg == "--criterion" || (batch ? arg == "--out" : arg == "--png" || arg == "--size");
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
  return true;
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

  if (!o.png.empty()) {
    MapViewState view = WholeMapView(map, o.width, o.height);
    const MapRect bounds = map.GetRouteBounds();
    if (!bounds.IsEmpty()) view.ShowRoute(bounds);
    if (!DrawToPng(map, view, o.png)) return kFailed;
    std::fprintf(stderr, "koltar-cli: %s\n", ViewText(o.png, view.view()).c_str());
  }
  map.DeleteRoute();
  return result;
}

// A source file in UTF-8 is taken as such when it is valid UTF-8 and not plain ASCII
// (where both readings agree); anything else is code page 1250.
std::string SourceText(std::string bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 && QUtf8StringView(bytes).isValidUtf8()) bytes.erase(0, 3);
  const bool ascii =
      std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && QUtf8StringView(bytes).isValidUtf8()) return Utf8ToCp1250(bytes);
  return bytes;
}

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

int Run(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> rest(argv + 3, argv + argc);
  RenderOptions options;
  PlanOptions plan;
  if (command == "info") {
    if (!rest.empty()) return Usage();
  } else if (command == "render") {
    if (!ParseRenderOptions(rest, options)) return kUsageError;
  } else if (command == "route" || command == "batch") {
    if (!ParsePlanOptions(rest, command == "batch", plan)) return kUsageError;
  } else {
    return Usage();
  }

  StderrMessageService messages;
  InstalledServices().messages = &messages;
  // Only drawing needs Qt; every other command starts no toolkit at all, so that it
  // needs neither a display nor a run-time folder, and reads the symbol bitmaps itself.
  PixelImageService pixelImages;
  std::optional<QtPainting> painting;
  if (command == "render" || (command == "route" && !plan.png.empty())) painting.emplace(argv[0]);
  InstalledServices().images = painting ? &painting->images : static_cast<ImageService*>(&pixelImages);
  Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};

  int result = 0;
  {
    MMap map(ModelFileName(std::filesystem::path(argv[2])));
    if (command == "info")
      result = Info(map);
    else if (command == "render")
      result = Render(map, options);
    else if (command == "route")
      result = PlanRoute(map, plan);
    else
      result = PlanBatch(map, plan);
  }
  InstalledServices() = Services{};
  return result;
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) { return koltar::Run(argc, argv); }
