#include "tools/cli/route_outputs.h"

#include <cstdio>
#include <filesystem>

#include "map/mmap.h"
#include "map/route_export.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "route/opt_path.h"
#include "route/route_list.h"

namespace koltar {
namespace {

bool WriteText(const MMap& map, const std::string& file) {
  const MOptPath* network = map.roadNetwork();
  const std::vector<RouteListLine> lines =
      network ? RouteListLines(network->routeState()) : std::vector<RouteListLine>{};
  ReplacementFile out;
  return WriteExportFile(OutputModelName(file), RouteFileText(lines), out);
}

}  // namespace

std::string OutputModelName(const std::string& file) { return ModelFileName(std::filesystem::path(file)); }

bool IsRouteOutputOption(std::string_view option, bool& takesValue) {
  takesValue = option != "--landscape";
  return option == "--pdf" || option == "--paper" || option == "--landscape" || option == "--gpx" ||
         option == "--geojson" || option == "--text";
}

bool SetRouteOutputOption(std::string_view option, std::string_view value, RouteOutputs& o) {
  if (option == "--pdf")
    o.pdf = value;
  else if (option == "--paper" && (value == "A4" || value == "A3" || value == "Letter")) {
    o.paper = value;
    o.paperGiven = true;
  } else if (option == "--landscape")
    o.landscape = true;
  else if (option == "--gpx")
    o.gpx = value;
  else if (option == "--geojson")
    o.geojson = value;
  else if (option == "--text")
    o.text = value;
  else {
    std::fprintf(stderr, "koltar-cli: bad option %s %s\n", std::string(option).c_str(),
                 std::string(value).c_str());
    return false;
  }
  return true;
}

bool CheckRouteOutputs(const RouteOutputs& o) {
  if (o.pdf.empty() && (o.landscape || o.paperGiven)) {
    std::fputs("koltar-cli: --paper and --landscape go with --pdf\n", stderr);
    return false;
  }
  return true;
}

bool WriteRouteOutputs(MMap& map, const RouteOutputs& o) {
  if (!o.text.empty() && !WriteText(map, o.text)) return false;
  if (!o.gpx.empty() && !ExportRoute(map, RouteFormat::Gpx, OutputModelName(o.gpx))) return false;
  if (!o.geojson.empty() && !ExportRoute(map, RouteFormat::GeoJson, OutputModelName(o.geojson))) return false;
  if (!o.pdf.empty() && !WriteRoutePdf(map, o)) return false;
  return true;
}

}  // namespace koltar
