#pragma once
// The route list: the lines in which the route list dialog shows the itinerary of the
// last route, and the text it copies to the clipboard and saves in a file.
//
// A line is "%c\t%s\t%5.1f\t%s\t%6.1lf": the mark ('>>' sign for a requested route
// point, else a blank), the settlement's name (one longer than 30 characters cut to its
// first 27 and "..."), the running distance in kilometres, the running time as
// FormatRouteTime writes it and the running cost. The exported text is a header line
// and the lines unchanged.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"

namespace koltar {

class ReplacementFile;
class RouteState;
struct ItineraryItem;

// One line of the route list and the settlement object it stands for.
struct RouteListLine {
  std::string text;  // code page 1250
  std::int32_t settlement = -1;
  bool requested = false;  // a route point of the request (printed in bold)
};

// The name as the list shows it: whole up to 30 characters, else 27 and "...".
std::string RouteListName(std::string_view name);
// The list line of one itinerary entry.
std::string FormatRouteListLine(const ItineraryItem& item);
// The lines of the shown itinerary entries of the route of `state` (entries 0 ... step
// count); none without route.
std::vector<RouteListLine> RouteListLines(const RouteState& state);

// The clipboard text: "\tTelepülés\tTávolság\tIdő\tKöltség" and every line, each
// followed by a carriage return and a line feed. May throw std::bad_alloc.
std::string RouteClipboardText(const std::vector<RouteListLine>& lines);
// The file text: the same header and lines, each followed by `lineEnd` (this platform's
// line end, a line feed, unless given).
std::string RouteFileText(const std::vector<RouteListLine>& lines, std::string_view lineEnd = "\n");

// Saves the file text (RouteFileText) in a file (a model file name), replacing it only
// once it is written whole. Shows "Optimális út kiírva '%s' file-ba." (information icon)
// and is true; or false after "'%s' file nem nyitható meg." or "Írás hiba '%s'
// file-ban." (exclamation icon), the old file as it was. `file` does the writing.
[[nodiscard]] bool SaveRouteList(std::string_view fileName, const std::vector<RouteListLine>& lines,
                                 WindowHandle owner = nullptr);
[[nodiscard]] bool SaveRouteList(std::string_view fileName, const std::vector<RouteListLine>& lines,
                                 ReplacementFile& file, WindowHandle owner = nullptr);

// Writes a text file (a model file name) whole or not at all, with the messages of
// SaveRouteList except the one that says it was written; for the other exports of the
// route (GPX, GeoJSON).
[[nodiscard]] bool WriteExportFile(std::string_view fileName, std::string_view bytes, ReplacementFile& file,
                                   WindowHandle owner = nullptr);

}  // namespace koltar
