// koltar-cli: a map on the command line, without a display.
//
//   koltar-cli info MAPFILE
//       the map's name, unit, origin, scales and extent, and one line per category
//   koltar-cli render MAPFILE --out FILE.png [--size WxH] [--scale S] [--center X,Y]
//       the map as a new map window of that client size shows it (1024x768, the whole
//       map fitted with a tenth to spare), or at scale 1 : S and centred on map point
//       X,Y (map units), drawn into a PNG
//
// Messages that the program shows in boxes go to standard error as "KOLTAR32: <text>"
// and loading goes on, as in the program. The screen pixel is taken as 25.4 / 96 mm,
// the size of a pixel at 96 dots per inch. Output is UTF-8.

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <clocale>
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
#include "categories/point.h"
#include "categories/text.h"
#include "document/mmap.h"
#include "document/transform.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/format.h"
#include "route/opt_path.h"

namespace koltar {
namespace {

constexpr int kUsageError = 2;

int Usage() {
  std::fputs("usage: koltar-cli info MAPFILE\n"
             "       koltar-cli render MAPFILE --out FILE.png [--size WxH] [--scale S] [--center X,Y]\n",
             stderr);
  return kUsageError;
}

std::string Utf8(std::string_view cp1250) { return Cp1250ToUtf8(cp1250); }

std::string RectText(const MapRect& r) {
  if (r.IsEmpty()) return "empty";
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// "<count> records <count> layers", or "-" where the kind does not count them.
template <class Category>
std::string Counts(const Category& c) {
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
  for (const MMap::DrawEntry& e : map.drawOrder()) {
    const auto k = static_cast<std::size_t>(e.index);
    std::string line;
    switch (e.type) {
      case CategoryType::Point: line = "POINT " + Utf8(map.points()[k]->name()) + " " + Counts(*map.points()[k]); break;
      case CategoryType::Line: line = "LINE " + Utf8(map.lines()[k]->name()) + " " + Counts(*map.lines()[k]); break;
      case CategoryType::Area: line = "AREA " + Utf8(map.areas()[k]->name()) + " " + Counts(*map.areas()[k]); break;
      case CategoryType::Text: line = "TEXT " + Utf8(map.texts()[k]->name()) + " " + Counts(*map.texts()[k]); break;
      case CategoryType::OptPath: {
        const MOptPath& net = *map.roadNetwork();
        line = StringPrintf("OPTPATH %s %ld nodes %ld edges %ld layers", Utf8(net.categoryName()).c_str(),
                            static_cast<long>(net.nodeCount()), static_cast<long>(net.edgeCount()),
                            static_cast<long>(net.layerCount()));
        break;
      }
      case CategoryType::None: continue;  // an invalid type keyword, already reported
    }
    std::printf("%s\n", line.c_str());
  }
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
  return at != std::string_view::npos && ParseLong(text.substr(0, at), a) && ParseLong(text.substr(at + 1), b);
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
    } else if (option == "--size" && ParsePair(value, 'x', a, b) && a > 0 && b > 0 && a <= 20000 && b <= 20000) {
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

int Render(MMap& map, const RenderOptions& o) {
  // The view of a new map window: the whole map fitted with a tenth to spare, centred
  // on the middle of the map's extent.
  MapView view;
  view.rect = DeviceRect{0, 0, o.width, o.height};
  const MapRect& extent = map.extent();
  const std::int32_t requested =
      o.scale ? *o.scale : MultiplyScale(FitScale(extent, view.rect, map.unit()), 1.1);
  SetScale(view, requested, map.smallestScale(), map.largestScale());
  view.centre = o.centre ? *o.centre
                         : MapPoint{static_cast<std::int32_t>((std::int64_t{extent.left} + extent.right) / 2),
                                    static_cast<std::int32_t>((std::int64_t{extent.top} + extent.bottom) / 2)};
  if (extent.IsEmpty() && !o.centre) view.centre = MapPoint{};

  QtDeviceContext dc(o.width, o.height);  // white, 96 dots per inch
  map.Draw(dc, BuildTransform(view, map.unit()), view.rect, view.scale);
  if (!dc.image()->save(QString::fromStdString(o.out), "PNG")) {
    std::fprintf(stderr, "koltar-cli: cannot write %s\n", o.out.c_str());
    return 1;
  }
  std::printf("%s: %dx%d, 1 : %ld, centre %ld,%ld\n", o.out.c_str(), o.width, o.height,
              static_cast<long>(view.scale), static_cast<long>(view.centre.x),
              static_cast<long>(view.centre.y));
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> rest(argv + 3, argv + argc);
  RenderOptions options;
  if (command == "info") {
    if (!rest.empty()) return Usage();
  } else if (command == "render") {
    if (!ParseRenderOptions(rest, options)) return kUsageError;
  } else {
    return Usage();
  }

  // No display is needed: the offscreen platform is chosen before Qt starts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  // Description files write numbers with a decimal point, whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  InstallFontSubstitutions();

  StderrMessageService messages;
  QtImageService images;
  InstalledServices().messages = &messages;
  InstalledServices().images = &images;
  Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};

  int result = 0;
  {
    MMap map(ModelFileName(std::filesystem::path(argv[2])));
    result = command == "info" ? Info(map) : Render(map, options);
  }
  InstalledServices() = Services{};
  return result;
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) { return koltar::Run(argc, argv); }
