#pragma once
// Batch route planning: many routes planned in one run from a text of end points, and
// the route-plan text that collects their itineraries.
//
// The source text is lines of code page 1250 text. A line whose first character is '['
// starts a route block and is its title; the non-empty lines after it, up to the next
// '[' line, are the exact names of settlements (letter case counted, no trimming):
// start, via points, destination, at most kMaxRoutePoints. Lines before the first
// title and empty lines are ignored.
//
// The result text is a header and a rule of '=', then per block its title, one line per
// shown itinerary entry of its route, and a rule of '-' between blocks. The first
// problem of a block (an unknown name, too many or too few names, a leg without route,
// lack of memory) ends the run and is the text's last line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"

namespace koltar {

class MOptPath;
struct ItineraryItem;
struct RoadData;
class RoadGraph;
class RouteRequest;
class RouteState;
class SettlementNames;

// The route-plan text of one run.
struct BatchResult {
  std::vector<std::string> lines;  // code page 1250, without line ends
  std::string errorText;           // the problem that ended the run; empty when none did
};

// Plans every block of `source` (its lines, see SplitTextLines) with the search and
// the criterion of the cost table of `path`, polling ESC before each block (an ESC
// ends the run without message). The request of `path` is restored afterwards and no
// route is left.
BatchResult GenerateBatchRoutes(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                                const std::vector<std::string>& source);

// Appends to `request` the route point of the settlement named exactly `name`: the
// first object of that name and the first node of `graph` standing for it. Returns ""
// or the text of the problem ("'%s' település nem található a program
// adatbázisában.", or the message for more than kMaxRoutePoints points), adding
// nothing then.
std::string AddRoutePointByName(const RoadGraph& graph, RouteRequest& request, const SettlementNames& towns,
                                std::string_view name);

// The result line of one itinerary entry, formatted as "%c %-30.30s %5.1f  %s  %6.1lf":
// mark, name padded or cut to 30 characters, kilometres, time (FormatRouteTime) and
// cost; without line end.
std::string FormatBatchLine(const ItineraryItem& item);
// The result lines of the shown entries of the itinerary of `state`.
std::vector<std::string> ItineraryLines(const RouteState& state);

// A running time in hours as "%02d:%02d": hours rounded down, minutes truncated. A time
// that is not a count of hours (impassable, infinite or not a number) is "--:--".
std::string FormatRouteTime(float hours);

// The lines of a text as a multi-line edit holds them: split at each line feed, a
// carriage return before it dropped; a text that ends with a line end has an empty
// last line.
std::vector<std::string> SplitTextLines(std::string_view text);
// The lines joined with carriage return and line feed after each, as the result field
// shows them.
std::string JoinTextLines(const std::vector<std::string>& lines);

// Reads a source file (a model file name) whole. False after "'%s' file nem nyitható
// meg." or "Olvasás hiba '%s' file-ban." (exclamation icon, `owner` the box's owner);
// after a read error `text` holds what was read.
[[nodiscard]] bool ReadBatchSource(std::string_view fileName, std::string& text,
                                   WindowHandle owner = nullptr);
// The bytes of a source file as model text: a file that is valid UTF-8 and not plain
// ASCII (with or without a byte order mark) is UTF-8 and is converted; any other file
// is code page 1250 already and stays as it is.
std::string BatchSourceText(std::string bytes);
// Writes the result lines to a file (a model file name), each followed by a line feed,
// replacing it safely (ReplacementFile): a failed write leaves the old file as it was.
// False after "'%s' file nem nyitható meg." or "Írás hiba '%s' file-ban." (exclamation
// icon).
[[nodiscard]] bool WriteBatchResult(std::string_view fileName, const std::vector<std::string>& lines);

}  // namespace koltar
