#include "tools/import/road_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <queue>
#include <set>

#include "platform/format.h"

namespace koltar::import {
namespace {

struct Xy {
  double x, y;  // kilometres on a local plane
};

double Dist(const Xy& a, const Xy& b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool InsideRing(const std::vector<Xy>& ring, const Xy& p) {
  bool inside = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
    if ((ring[i].y > p.y) != (ring[j].y > p.y) &&
        p.x < (ring[j].x - ring[i].x) * (p.y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x)
      inside = !inside;
  return inside;
}

struct UnionFind {
  std::vector<int> parent;
  explicit UnionFind(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  int Find(int x) {
    while (parent[static_cast<std::size_t>(x)] != x)
      x = parent[static_cast<std::size_t>(x)] =
          parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
    return x;
  }
  bool Join(int a, int b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return false;
    parent[static_cast<std::size_t>(a)] = b;
    return true;
  }
};

// A small deterministic hash for the bends of the roads.
std::uint32_t Hash(std::uint32_t a, std::uint32_t b) {
  std::uint32_t h = a * 2654435761u ^ (b + 0x9E3779B9u + (a << 6) + (a >> 2));
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  return h;
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// The fields of `text` between separators, without the blanks around them.
std::vector<std::string> SplitTrimmed(std::string_view text, char separator) {
  std::vector<std::string> out;
  for (;;) {
    const std::size_t at = std::min(text.find(separator), text.size());
    std::string_view field = text.substr(0, at);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t' || field.back() == '\r'))
      field.remove_suffix(1);
    out.emplace_back(field);
    if (at == text.size()) return out;
    text.remove_prefix(at + 1);
  }
}

}  // namespace

bool ParseCorridors(std::string_view text, std::vector<Corridor>& out, std::string& error) {
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    line = line.substr(0, std::min(line.find('#'), line.size()));
    const std::vector<std::string> fields = SplitTrimmed(line, '|');
    if (fields.size() == 1 && fields[0].empty()) continue;
    Corridor c;
    if (fields.size() == 3) {
      c.name = fields[0];
      c.highway = fields[1];
      c.towns = SplitTrimmed(fields[2], ',');
    }
    const bool namedTowns =
        std::none_of(c.towns.begin(), c.towns.end(), [](const std::string& t) { return t.empty(); });
    if (c.name.empty() || (c.highway != "motorway" && c.highway != "primary") || c.towns.size() < 2 ||
        !namedTowns) {
      error = StringPrintf("line %d: expected NAME | motorway|primary | TOWN, TOWN, ...", lineNumber);
      return false;
    }
    out.push_back(std::move(c));
  }
  return true;
}

std::vector<GeneratedRoad> GenerateRoads(const std::vector<GeneratorSettlement>& settlements,
                                         const std::vector<Ring>& border,
                                         const std::vector<Corridor>& corridors,
                                         std::vector<std::string>* unknown) {
  const std::size_t n = settlements.size();
  if (n < 2) return {};
  double lat0 = 0;
  for (const auto& s : settlements) lat0 += s.at.lat() / static_cast<double>(n);
  const double kx = 111.32 * std::cos(lat0 * 3.14159265358979 / 180), ky = 110.57;
  auto toXy = [&](const GeoPoint& g) { return Xy{g.lon() * kx, g.lat() * ky}; };
  std::vector<Xy> p;
  for (const auto& s : settlements) p.push_back(toXy(s.at));
  std::vector<std::vector<Xy>> outers, holes;
  for (const Ring& r : border) {
    std::vector<Xy> ring;
    for (const GeoPoint& g : r.points) ring.push_back(toXy(g));
    (r.outer ? outers : holes).push_back(std::move(ring));
  }
  auto inside = [&](const Xy& q) {
    if (outers.empty()) return true;
    bool in = false;
    for (const auto& r : outers) in = in || InsideRing(r, q);
    for (const auto& r : holes) in = in && !InsideRing(r, q);
    return in;
  };
  // Candidate neighbours: the 12 nearest of each settlement.
  constexpr std::size_t kNear = 12;
  std::vector<std::vector<int>> near(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::vector<std::pair<double, int>> byDistance;
    for (std::size_t j = 0; j < n; ++j)
      if (j != i) byDistance.emplace_back(Dist(p[i], p[j]), static_cast<int>(j));
    const std::size_t keep = std::min(kNear * 2, byDistance.size());
    std::partial_sort(byDistance.begin(), byDistance.begin() + static_cast<std::ptrdiff_t>(keep),
                      byDistance.end());
    for (std::size_t k = 0; k < keep; ++k) near[i].push_back(byDistance[k].second);
  }
  // Gabriel edges among the candidates (planar, so roads meet only at settlements),
  // whose middle lies inside the border.
  std::set<std::pair<int, int>> edges;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = 0; k < std::min(kNear, near[i].size()); ++k) {
      const int j = near[i][k];
      const Xy mid{(p[i].x + p[static_cast<std::size_t>(j)].x) / 2,
                   (p[i].y + p[static_cast<std::size_t>(j)].y) / 2};
      const double r = Dist(p[i], p[static_cast<std::size_t>(j)]) / 2;
      bool empty = true;
      for (int c : near[i])
        if (c != j && Dist(p[static_cast<std::size_t>(c)], mid) < r * 0.999) {
          empty = false;
          break;
        }
      if (!empty) continue;
      bool in = true;
      // Samples every few hundred metres, so that narrow lakes and bays are not crossed.
      const int samples = std::max(4, static_cast<int>(r * 2 / 0.4));
      for (int step = 1; step < samples && in; ++step) {
        const double t = static_cast<double>(step) / samples;
        in = inside({p[i].x + t * (p[static_cast<std::size_t>(j)].x - p[i].x),
                     p[i].y + t * (p[static_cast<std::size_t>(j)].y - p[i].y)});
      }
      if (in) edges.emplace(std::min(static_cast<int>(i), j), std::max(static_cast<int>(i), j));
    }
  // Thinning: long edges and the longest side of narrow triangles are dropped unless the
  // network falls apart without them.
  std::vector<std::pair<int, int>> kept;
  std::vector<std::pair<int, int>> dropped;
  for (const auto& e : edges) {
    const double len = Dist(p[static_cast<std::size_t>(e.first)], p[static_cast<std::size_t>(e.second)]);
    bool detour = false;
    for (int c : near[static_cast<std::size_t>(e.first)])
      if (edges.count({std::min(c, e.second), std::max(c, e.second)}) &&
          edges.count({std::min(c, e.first), std::max(c, e.first)}) &&
          Dist(p[static_cast<std::size_t>(e.first)], p[static_cast<std::size_t>(c)]) +
                  Dist(p[static_cast<std::size_t>(c)], p[static_cast<std::size_t>(e.second)]) <
              len * 1.12)
        detour = true;
    (len > 30 || detour ? dropped : kept).push_back(e);
  }
  // Joined: the kept edges, then the dropped ones and finally any pair where needed.
  UnionFind joined(n);
  for (const auto& e : kept) joined.Join(e.first, e.second);
  auto byLength = [&](const std::pair<int, int>& a, const std::pair<int, int>& b) {
    return Dist(p[static_cast<std::size_t>(a.first)], p[static_cast<std::size_t>(a.second)]) <
           Dist(p[static_cast<std::size_t>(b.first)], p[static_cast<std::size_t>(b.second)]);
  };
  std::sort(dropped.begin(), dropped.end(), byLength);
  for (const auto& e : dropped)
    if (joined.Join(e.first, e.second)) kept.push_back(e);
  for (std::size_t i = 0; i < n; ++i)
    for (int j : near[i])
      if (joined.Join(static_cast<int>(i), j))
        kept.emplace_back(std::min(static_cast<int>(i), j), std::max(static_cast<int>(i), j));
  for (std::size_t i = 1; i < n; ++i)
    if (joined.Join(0, static_cast<int>(i))) kept.emplace_back(0, static_cast<int>(i));
  std::sort(kept.begin(), kept.end());

  // Classes: shortest paths between important towns raise the roads they follow.
  std::vector<std::vector<std::pair<int, std::size_t>>> adjacent(n);
  for (std::size_t e = 0; e < kept.size(); ++e) {
    adjacent[static_cast<std::size_t>(kept[e].first)].emplace_back(kept[e].second, e);
    adjacent[static_cast<std::size_t>(kept[e].second)].emplace_back(kept[e].first, e);
  }
  auto path = [&](int from, int to) {
    std::vector<double> best(n, 1e300);
    std::vector<std::size_t> via(n, SIZE_MAX);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    best[static_cast<std::size_t>(from)] = 0;
    open.emplace(0.0, from);
    while (!open.empty()) {
      auto [d, v] = open.top();
      open.pop();
      if (d > best[static_cast<std::size_t>(v)]) continue;
      if (v == to) break;
      for (auto [w, e] : adjacent[static_cast<std::size_t>(v)]) {
        // Larger places attract roads: passing through them costs less.
        const double weight = Dist(p[static_cast<std::size_t>(v)], p[static_cast<std::size_t>(w)]) *
                              (settlements[static_cast<std::size_t>(w)].population > 20000 ? 0.85 : 1.0);
        if (d + weight < best[static_cast<std::size_t>(w)]) {
          best[static_cast<std::size_t>(w)] = d + weight;
          via[static_cast<std::size_t>(w)] = e;
          open.emplace(d + weight, w);
        }
      }
    }
    std::vector<std::size_t> out;
    for (int v = to; v != from && via[static_cast<std::size_t>(v)] != SIZE_MAX;) {
      const std::size_t e = via[static_cast<std::size_t>(v)];
      out.push_back(e);
      v = kept[e].first == v ? kept[e].second : kept[e].first;
    }
    return out;
  };
  std::vector<int> level(kept.size(), 0);  // 0 unclassified, 1 tertiary, 2 secondary, 3 primary, 4 motorway
  std::vector<std::string> number(kept.size());
  for (std::size_t e = 0; e < kept.size(); ++e) {
    const double a = settlements[static_cast<std::size_t>(kept[e].first)].population;
    const double b = settlements[static_cast<std::size_t>(kept[e].second)].population;
    if (std::min(a, b) >= 2000 || std::max(a, b) >= 10000) level[e] = 1;
  }
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return settlements[static_cast<std::size_t>(a)].population >
           settlements[static_cast<std::size_t>(b)].population;
  });
  auto raise = [&](int from, int to, int to_level, const std::string& name) {
    for (std::size_t e : path(from, to))
      if (level[e] < to_level || (level[e] == to_level && number[e].empty())) {
        level[e] = to_level;
        number[e] = name;
      }
  };
  // The settlement of each name; of several of one name the most populous (the first
  // in `order`).
  std::map<std::string, int> byName;
  for (int t : order) byName.emplace(settlements[static_cast<std::size_t>(t)].name, t);
  // Motorways of the corridors are roads of their own, one per pair of consecutive towns;
  // main roads of the corridors follow the neighbours' roads between their towns.
  std::set<std::pair<int, int>> motorwayPairs;
  std::vector<std::pair<std::pair<int, int>, std::string>> motorways;
  for (const Corridor& c : corridors) {
    std::vector<int> towns;
    for (const std::string& name : c.towns) {
      const auto it = byName.find(name);
      if (it != byName.end())
        towns.push_back(it->second);
      else if (unknown)
        unknown->push_back(name);
    }
    for (std::size_t k = 1; k < towns.size(); ++k) {
      if (c.highway != "motorway") {
        raise(towns[k - 1], towns[k], 3, c.name);
        continue;
      }
      const std::pair<int, int> pair{std::min(towns[k - 1], towns[k]), std::max(towns[k - 1], towns[k])};
      if (pair.first != pair.second && motorwayPairs.insert(pair).second)
        motorways.emplace_back(pair, c.name);
    }
  }
  if (corridors.empty()) {
    // Motorways from the largest place to the next largest towns far from it, numbered
    // clockwise from the west.
    const int capital = order[0];
    std::vector<std::pair<double, int>> spokes;
    for (std::size_t k = 1; k < n && spokes.size() < 6; ++k) {
      const int t = order[k];
      const double d = Dist(p[static_cast<std::size_t>(t)], p[static_cast<std::size_t>(capital)]);
      bool separate = d > 50;
      for (const auto& [angle, s] : spokes)
        separate = separate && Dist(p[static_cast<std::size_t>(s)], p[static_cast<std::size_t>(t)]) > 0.8 * d;
      if (separate && settlements[static_cast<std::size_t>(t)].population > 50000) {
        double angle = std::atan2(p[static_cast<std::size_t>(t)].y - p[static_cast<std::size_t>(capital)].y,
                                  p[static_cast<std::size_t>(t)].x - p[static_cast<std::size_t>(capital)].x);
        angle = std::fmod(3.14159265358979 - angle + 2 * 3.14159265358979, 2 * 3.14159265358979);
        spokes.emplace_back(angle, t);
      }
    }
    std::sort(spokes.begin(), spokes.end());
    for (std::size_t s = 0; s < spokes.size(); ++s)
      raise(capital, spokes[s].second, 4, "M" + std::to_string(s + 1));
  }
  // Main roads between large towns, secondary roads between towns: each town to its
  // nearest larger ones.
  int mainNumber = 0, secondNumber = 100;
  auto linkTowns = [&](double minimum, int to_level, int& counter, int neighbours) {
    std::vector<int> towns;
    for (int t : order)
      if (settlements[static_cast<std::size_t>(t)].population >= minimum) towns.push_back(t);
    for (std::size_t i = 1; i < towns.size(); ++i) {
      std::vector<std::pair<double, int>> larger;
      for (std::size_t j = 0; j < i; ++j)
        larger.emplace_back(
            Dist(p[static_cast<std::size_t>(towns[i])], p[static_cast<std::size_t>(towns[j])]), towns[j]);
      std::sort(larger.begin(), larger.end());
      for (int k = 0; k < neighbours && k < static_cast<int>(larger.size()); ++k) {
        ++counter;
        raise(towns[i], larger[static_cast<std::size_t>(k)].second, to_level,
              to_level == 3 ? StringPrintf("%d. sz. f\xC5\x91\xC3\xBA"
                                           "t",
                                           counter)
                            : StringPrintf("%d. sz. \xC3\xB6sszek\xC3\xB6t\xC5\x91 \xC3\xBA"
                                           "t",
                                           counter));
      }
    }
  };
  // With corridors the numbered main roads are theirs: the other links are secondary.
  linkTowns(30000, corridors.empty() ? 3 : 2, corridors.empty() ? mainNumber : secondNumber, 2);
  linkTowns(8000, 2, secondNumber, 1);

  static const char* kHighway[] = {"unclassified", "tertiary", "secondary", "primary", "motorway"};
  for (const auto& [pair, name] : motorways) {
    kept.push_back(pair);
    level.push_back(4);
    number.push_back(name);
  }
  std::vector<GeneratedRoad> roads;
  for (std::size_t e = 0; e < kept.size(); ++e) {
    const auto [a, b] = kept[e];
    // A corridor's motorway may join two neighbours that a minor road joins too: its
    // bends differ.
    const std::uint32_t seed = e >= kept.size() - motorways.size() ? 0x5bd1e995u : 0u;
    GeneratedRoad road;
    road.from = a;
    road.to = b;
    road.highway = kHighway[level[e]];
    road.name = number[e];
    const GeoPoint& ga = settlements[static_cast<std::size_t>(a)].at;
    const GeoPoint& gb = settlements[static_cast<std::size_t>(b)].at;
    road.points.push_back(ga);
    // Two gentle bends, the same for the same pair, smaller on higher classes.
    const double bend = (level[e] >= 3 ? 0.04 : 0.09);
    for (double t : {0.35, 0.7}) {
      const std::uint32_t h =
          Hash(static_cast<std::uint32_t>(a) * 3 + (t < 0.5 ? 1u : 2u), static_cast<std::uint32_t>(b)) ^ seed;
      const double offset = (static_cast<double>(h % 2001) / 1000.0 - 1.0) * bend;
      const double lon = ga.lon() + t * (gb.lon() - ga.lon()) - offset * (gb.lat() - ga.lat()) * ky / kx;
      const double lat = ga.lat() + t * (gb.lat() - ga.lat()) + offset * (gb.lon() - ga.lon()) * kx / ky;
      GeoPoint g;
      if (MakeGeoPoint(lon, lat, g)) road.points.push_back(g);
    }
    road.points.push_back(gb);
    roads.push_back(std::move(road));
  }
  return roads;
}

std::string RoadsToGeoJson(const std::vector<GeneratedRoad>& roads) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[\n";
  for (std::size_t i = 0; i < roads.size(); ++i) {
    const GeneratedRoad& r = roads[i];
    out += "{\"type\":\"Feature\",\"properties\":{\"highway\":\"" + r.highway + "\"";
    if (r.highway == "motorway") out += ",\"oneway\":\"no\"";  // one line for both carriageways
    if (!r.name.empty()) out += ",\"name\":\"" + Escape(r.name) + "\"";
    out += "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < r.points.size(); ++k)
      out += StringPrintf("%s[%.7f,%.7f]", k ? "," : "", r.points[k].lon(), r.points[k].lat());
    out += "]}}";
    out += i + 1 < roads.size() ? ",\n" : "\n";
  }
  out += "]}\n";
  return out;
}

}  // namespace koltar::import
