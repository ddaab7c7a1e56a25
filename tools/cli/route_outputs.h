#pragma once
// What koltar-cli's route command writes besides its lines: the printed route plan as
// a PDF file, the route as GPX and GeoJSON, and the route list's export text.

#include <string>
#include <string_view>

namespace koltar {

class MMap;

struct RouteOutputs {
  std::string pdf;           // the printed route plan
  std::string paper = "A4";  // A4, A3 or Letter
  bool paperGiven = false;
  bool landscape = false;
  std::string gpx;
  std::string geojson;
  std::string text;  // the route list's export text, code page 1250
  bool any() const { return !pdf.empty() || !gpx.empty() || !geojson.empty() || !text.empty(); }
};

// The model file name of an output file named on the command line.
std::string OutputModelName(const std::string& file);

// Whether `option` is one of these outputs' options, and whether it takes a value.
bool IsRouteOutputOption(std::string_view option, bool& takesValue);
// Stores an option of these outputs; false (after saying why) for a bad value.
bool SetRouteOutputOption(std::string_view option, std::string_view value, RouteOutputs& outputs);
// False (after saying why) when options are given that need another one.
bool CheckRouteOutputs(const RouteOutputs& outputs);

// Writes the outputs asked for of the map's route (each file whole or not at all); the
// PDF shows the map positioned on the route as "Térkép pozicionálása" does it in a view
// shaped like the page's map area. False after the first problem, which is reported.
// The PDF needs the drawing build (route_pdf.cpp) and its Qt application object.
bool WriteRouteOutputs(MMap& map, const RouteOutputs& outputs);

// The printed route plan as a PDF file (drawing build only); false after saying why.
bool WriteRoutePdf(MMap& map, const RouteOutputs& outputs);

}  // namespace koltar
