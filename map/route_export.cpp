#include "map/route_export.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include "categories/point.h"
#include "map/mmap.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/text.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_list.h"
#include "route/route_state.h"

namespace koltar {

const char kNoProjectionText[] =
    "A térkép nem tartalmazza a vetületét (PROJECTION kulcs), ezért az útvonal földrajzi koordinátái nem "
    "számíthatók ki.";

namespace {

double SquaredDistance(MapPoint a, MapPoint b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  return dx * dx + dy * dy;
}

// The nearer of a polyline's two ends to `p`: true for its last point.
bool LastIsNearer(const std::vector<MapPoint>& line, MapPoint p) {
  return SquaredDistance(line.back(), p) < SquaredDistance(line.front(), p);
}

const MPoint* TownCategory(const MMap& map) {
  const std::int32_t towns = map.townCategory();
  if (towns < 0 || static_cast<std::size_t>(towns) >= map.points().size()) return nullptr;
  return map.points()[static_cast<std::size_t>(towns)];
}

// The position of the settlement a node stands for; none for a junction.
std::optional<MapPoint> NodePosition(const MMap& map, std::int32_t node) {
  const MPoint* towns = TownCategory(map);
  if (!towns) return std::nullopt;
  const std::int32_t settlement = map.roadNetwork()->graph().SettlementOfNode(node, map.Settlements());
  if (settlement < 0) return std::nullopt;
  return towns->GetPosition(settlement);
}

std::string Utf8Escaped(std::string_view cp1250, bool json) {
  const std::string utf8 = Cp1250ToUtf8(cp1250);
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (json) {
      if (c == '"' || c == '\\')
        out.append(1, '\\').append(1, c);
      else if (byte < 0x20)
        out += StringPrintf("\\u%04x", static_cast<unsigned>(byte));
      else
        out += c;
    } else {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
          // Control characters other than tab and line ends are not allowed in XML.
          if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
          break;
      }
    }
  }
  return out;
}

std::string Xml(std::string_view cp1250) { return Utf8Escaped(cp1250, false); }
std::string Json(std::string_view cp1250) { return "\"" + Utf8Escaped(cp1250, true) + "\""; }

// Degrees with seven decimals (about a centimetre).
std::string Degrees(double value) { return StringPrintf("%.7f", value); }

std::string JsonPosition(const GeoPosition& p) {
  return "[" + Degrees(p.longitude) + "," + Degrees(p.latitude) + "]";
}

// "12.3 km, 00:10, 477.5 Ft": an entry's running totals for a GPX description.
std::string TotalsText(float distance, float time, float cost) {
  return StringPrintf("%.1f km, %s, %.1f Ft", static_cast<double>(distance) * 0.001,
                      FormatRouteTime(time).c_str(), static_cast<double>(cost));
}

std::string JsonTotals(float distance, float time, float cost) {
  // An impassable total has no number in JSON.
  auto number = [](double v, const char* format) {
    return std::isfinite(v) && std::fabs(v) < 1e30 ? StringPrintf(format, v) : std::string("null");
  };
  return "\"distance_km\":" + number(static_cast<double>(distance) * 0.001, "%.3f") +
         ",\"time_h\":" + number(static_cast<double>(time), "%.4f") +
         ",\"time\":" + Json(FormatRouteTime(time)) +
         ",\"cost_ft\":" + number(static_cast<double>(cost), "%.1f");
}

}  // namespace

std::vector<MapPoint> RouteTrack(const MMap& map) {
  std::vector<MapPoint> track;
  const MOptPath* network = map.roadNetwork();
  if (!network) return track;
  const RoadGraph& graph = network->graph();
  const RoadData roads = map.Roads();
  const std::vector<RouteStep>& steps = network->routeState().steps();

  std::vector<std::vector<MapPoint>> lines;
  for (const RouteStep& step : steps) {
    const std::optional<EdgeEntry> edge = graph.EdgeOfStep(step);
    if (!edge || !roads.HasPoints(edge->road) || roads.PointCount(edge->road) <= 0) continue;
    std::vector<MapPoint>& line = lines.emplace_back();
    for (std::int32_t j = 0; j < roads.PointCount(edge->road); ++j)
      line.push_back(roads.Point(edge->road, j));
  }
  if (lines.empty()) return track;

  // The first object starts at the start settlement, or else where it meets the next one.
  std::optional<MapPoint> from = NodePosition(map, steps.front().from);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<MapPoint>& line = lines[i];
    bool reverse = false;
    if (!track.empty()) {
      reverse = LastIsNearer(line, track.back());
    } else if (from) {
      reverse = LastIsNearer(line, *from);
    } else if (i + 1 < lines.size()) {
      const std::vector<MapPoint>& next = lines[i + 1];
      const double front =
          std::min(SquaredDistance(line.front(), next.front()), SquaredDistance(line.front(), next.back()));
      const double back =
          std::min(SquaredDistance(line.back(), next.front()), SquaredDistance(line.back(), next.back()));
      reverse = front < back;
    }
    if (reverse) std::reverse(line.begin(), line.end());
    for (const MapPoint& p : line)
      if (track.empty() || !(track.back() == p)) track.push_back(p);
  }
  return track;
}

std::optional<GeoRoute> GeoRouteOf(const MMap& map) {
  if (!map.projection()) return std::nullopt;
  GeoRoute route;
  const MOptPath* network = map.roadNetwork();
  if (!network || network->routeState().stepCount() <= 0) return route;
  const RouteState& state = network->routeState();
  for (const MapPoint& p : RouteTrack(map)) route.track.push_back(*map.ToGeographic(p));

  const MPoint* towns = TownCategory(map);
  ItineraryItem item;
  for (std::int32_t i = 0; i <= state.stepCount(); ++i) {
    if (!state.GetItineraryEntry(i, item)) continue;
    GeoRouteEntry entry;
    entry.name = item.name;
    entry.distance = item.distance;
    entry.time = item.time;
    entry.cost = item.cost;
    entry.requested = item.mark == kRoutePointMark;
    const bool placed = towns && item.settlement >= 0 && item.settlement < towns->recordCount();
    entry.at = *map.ToGeographic(placed ? towns->GetPosition(item.settlement) : MapPoint{});
    if (entry.requested) route.title += (route.title.empty() ? "" : " - ") + entry.name;
    route.entries.push_back(std::move(entry));
  }
  const RouteStep& last = state.steps().back();
  route.distance = last.distance;
  route.time = last.time;
  route.cost = last.cost;
  return route;
}

std::string RouteGpx(const GeoRoute& route, std::string_view creator) {
  std::string gpx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"" +
      Xml(creator) +
      "\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "  <metadata>\n    <name>" +
      Xml(route.title) + "</name>\n  </metadata>\n";
  if (route.entries.empty() && route.track.empty()) return gpx + "</gpx>\n";
  gpx += "  <rte>\n    <name>" + Xml(route.title) + "</name>\n";
  for (const GeoRouteEntry& e : route.entries) {
    if (!e.requested) continue;
    gpx += "    <rtept lat=\"" + Degrees(e.at.latitude) + "\" lon=\"" + Degrees(e.at.longitude) +
           "\">\n      <name>" + Xml(e.name) + "</name>\n      <desc>" +
           Xml(TotalsText(e.distance, e.time, e.cost)) + "</desc>\n    </rtept>\n";
  }
  gpx += "  </rte>\n  <trk>\n    <name>" + Xml(route.title) + "</name>\n    <desc>" +
         Xml(TotalsText(route.distance, route.time, route.cost)) + "</desc>\n    <trkseg>\n";
  for (const GeoPosition& p : route.track)
    gpx += "      <trkpt lat=\"" + Degrees(p.latitude) + "\" lon=\"" + Degrees(p.longitude) + "\"/>\n";
  gpx += "    </trkseg>\n  </trk>\n</gpx>\n";
  return gpx;
}

std::string RouteGeoJson(const GeoRoute& route) {
  std::string json = "{\"type\":\"FeatureCollection\",\"features\":[";
  bool first = true;
  auto feature = [&](const std::string& geometry, const std::string& properties) {
    json += first ? "\n" : ",\n";
    first = false;
    json += "{\"type\":\"Feature\",\"geometry\":" + geometry + ",\"properties\":{" + properties + "}}";
  };
  if (route.track.size() >= 2) {
    std::string coordinates;
    for (const GeoPosition& p : route.track)
      coordinates += (coordinates.empty() ? "" : ",") + JsonPosition(p);
    std::string itinerary;
    for (const GeoRouteEntry& e : route.entries)
      itinerary += (itinerary.empty() ? "{" : ",{") + std::string("\"name\":") + Json(e.name) + "," +
                   JsonTotals(e.distance, e.time, e.cost) + "}";
    feature("{\"type\":\"LineString\",\"coordinates\":[" + coordinates + "]}",
            "\"name\":" + Json(route.title) + "," + JsonTotals(route.distance, route.time, route.cost) +
                ",\"itinerary\":[" + itinerary + "]");
  }
  for (const GeoRouteEntry& e : route.entries) {
    if (!e.requested) continue;
    feature("{\"type\":\"Point\",\"coordinates\":" + JsonPosition(e.at) + "}",
            "\"name\":" + Json(e.name) + "," + JsonTotals(e.distance, e.time, e.cost));
  }
  json += "\n]}\n";
  return json;
}

bool ExportRoute(const MMap& map, RouteFormat format, std::string_view fileName, ReplacementFile& file,
                 WindowHandle owner) {
  std::string text;
  try {
    const std::optional<GeoRoute> route = GeoRouteOf(map);
    if (!route) {
      ShowMessage(kNoProjectionText, MessageKind::Exclamation, owner);
      return false;
    }
    text = format == RouteFormat::Gpx ? RouteGpx(*route) : RouteGeoJson(*route);
  } catch (const std::bad_alloc&) {
    ShowNoMemory(owner);
    return false;
  }
  return WriteExportFile(fileName, text, file, owner);
}

bool ExportRoute(const MMap& map, RouteFormat format, std::string_view fileName, WindowHandle owner) {
  ReplacementFile file;
  return ExportRoute(map, format, fileName, file, owner);
}

}  // namespace koltar
