#include "tools/import/map_check.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "geometry/geometry.h"
#include "geometry/records.h"
#include "platform/binary.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/profile.h"

namespace koltar::import {
namespace {

// Record i of a file read whole (its size checked by the caller).
const std::uint8_t* RecordAt(const std::string& file, std::size_t i, std::int32_t size) {
  return reinterpret_cast<const std::uint8_t*>(file.data()) + i * static_cast<std::size_t>(size);
}

class Checker {
 public:
  Checker(std::string mapFile, int limit)
      : mapFile_(std::move(mapFile)), directory_(GetPathDirectory(mapFile_)), limit_(limit) {}

  std::string Read(const std::string& section, const std::string& key) {
    return ReadProfileString(section, key, "", 304, mapFile_);
  }

  // The whole file named in `section`'s `key`; `present` false when the key is empty or
  // the file cannot be read.
  std::string File(const std::string& section, const std::string& key, bool required,
                   bool* present = nullptr) {
    const std::string name = Read(section, key);
    if (present) *present = false;
    if (name.empty()) {
      if (required) Problem(section + ": " + key + " is missing");
      return {};
    }
    std::ifstream in(LocalFileName(ResolveFileName(directory_, name)), std::ios::binary);
    if (!in) {
      Problem(section + ": " + key + " " + name + " cannot be read");
      return {};
    }
    if (present) *present = true;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void Problem(std::string text) {
    if (static_cast<int>(problems.size()) < limit_) problems.push_back(std::move(text));
  }

  // Name offsets must start a zero-ended name inside the table.
  void CheckName(const std::string& where, std::int32_t offset, const std::string& names, bool present) {
    if (offset < 0) return;
    if (!present || static_cast<std::size_t>(offset) >= names.size() ||
        names.find('\0', static_cast<std::size_t>(offset)) == std::string::npos)
      Problem(where + ": name offset " + std::to_string(offset) + " outside the name table");
  }

  void CheckLayer(const std::string& where, int layer, int layers) {
    if (layer < 1 || layer > layers)
      Problem(where + ": layer " + std::to_string(layer) + " outside 1.." + std::to_string(layers));
  }

  long long Point(const std::string& c) {
    const std::string data = File(c, "DATAFILE", true);
    bool hasNames = false, hasEntities = false;
    const std::string names = File(c, "NAMEFILE", true, &hasNames);
    const std::string entities = File(c, "ENTITYFILE", false, &hasEntities);
    const int layers = ReadProfileInt(c, "NLAYER", 0, mapFile_);
    if (data.size() % PointRecord::kSize != 0) Problem(c + ": DATAFILE length is not a multiple of 16");
    const std::size_t n = data.size() / PointRecord::kSize;
    if (hasEntities && entities.size() != n * EntityRecord::kSize)
      Problem(c + ": ENTITYFILE does not hold one record per point");
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t* p = RecordAt(data, i, PointRecord::kSize);
      const std::string where = c + " record " + std::to_string(i);
      CheckLayer(where, RecordLayer(p), layers);
      CheckName(where, ReadI32(p + PointRecord::kNameOffset), names, hasNames);
    }
    return static_cast<long long>(n);
  }

  long long Poly(const std::string& c, bool area) {
    const std::string data = File(c, "DATAFILE", true);
    const std::string coords = File(c, "COORDFILE", true);
    bool hasNames = false;
    const std::string names = File(c, "NAMEFILE", false, &hasNames);
    const int layers = ReadProfileInt(c, "NLAYER", 0, mapFile_);
    if (data.size() % PolyRecord::kSize != 0) Problem(c + ": DATAFILE length is not a multiple of 32");
    if (coords.size() % CoordRecord::kSize != 0) Problem(c + ": COORDFILE length is not a multiple of 8");
    const std::size_t n = data.size() / PolyRecord::kSize, points = coords.size() / CoordRecord::kSize;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t* p = RecordAt(data, i, PolyRecord::kSize);
      const std::string where = c + " record " + std::to_string(i);
      CheckLayer(where, RecordLayer(p), layers);
      CheckName(where, ReadI32(p + PolyRecord::kNameOffset), names, hasNames);
      const int count = PolyRecord::PointCount(p);
      const std::int64_t first = PolyRecord::FirstPoint(p);
      if (count < (area ? 4 : 2) || first < 0 || first + count > static_cast<std::int64_t>(points)) {
        Problem(where + ": coordinate run " + std::to_string(first) + "+" + std::to_string(count) +
                " outside COORDFILE of " + std::to_string(points) + " points");
        continue;
      }
      MapRect bounds = MapRect::Empty();
      const auto point = [&](std::int64_t k) {
        return CoordRecord::Read(RecordAt(coords, static_cast<std::size_t>(first + k), CoordRecord::kSize));
      };
      for (int k = 0; k < count; ++k) {
        const MapPoint q = point(k);
        bounds = bounds.United(MapRect::Of(q.x, q.y, q.x, q.y));
      }
      if (!(bounds == PolyRecord::Bounds(p))) Problem(where + ": bounding rectangle differs from its points");
      if (area && !(point(0) == point(count - 1))) Problem(where + ": ring is not closed");
    }
    return static_cast<long long>(n);
  }

  long long Text(const std::string& c) {
    const std::string data = File(c, "DATAFILE", true);
    bool hasNames = false;
    const std::string names = File(c, "NAMEFILE", true, &hasNames);
    const int layers = ReadProfileInt(c, "NLAYER", 0, mapFile_);
    if (data.size() % TextRecord::kSize != 0) Problem(c + ": DATAFILE length is not a multiple of 64");
    const std::size_t n = data.size() / TextRecord::kSize;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t* p = RecordAt(data, i, TextRecord::kSize);
      const std::string where = c + " record " + std::to_string(i);
      CheckLayer(where, RecordLayer(p), layers);
      if (ReadI32(p + TextRecord::kNameOffset) < 0) Problem(where + ": label without a text");
      CheckName(where, ReadI32(p + TextRecord::kNameOffset), names, hasNames);
    }
    return static_cast<long long>(n);
  }

  std::vector<std::string> problems;
  std::string mapFile_;
  std::string directory_;
  int limit_;
};

}  // namespace

std::vector<std::string> CheckMap(const std::string& mapFile, MapCheckCounts* counts, int limit) {
  Checker k(mapFile, limit);
  MapCheckCounts local;
  MapCheckCounts& n = counts ? *counts : local;
  {
    std::ifstream probe(LocalFileName(mapFile));
    if (!probe) return {"the map file " + mapFile + " cannot be read"};
  }
  const int count = ReadProfileInt("CATEGORIES", "N", 0, mapFile);
  if (count <= 0) k.Problem("CATEGORIES: N is missing");
  std::map<std::string, std::string> typeOf;
  std::map<std::string, long long> recordsOf;
  std::string optPath;
  for (int i = 1; i <= count; ++i) {
    const std::string line = k.Read("CATEGORIES", StringPrintf("%s%02d", "CATEGORY", i));
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) {
      k.Problem("CATEGORIES: bad line " + line);
      continue;
    }
    const std::string type = line.substr(0, comma), name = line.substr(comma + 1);
    if (name.size() > 31) k.Problem("category name longer than 31 characters: " + name);
    if (typeOf.count(name)) k.Problem("two categories named " + name);
    typeOf[name] = type;
    const int layers = ReadProfileInt(name, "NLAYER", 0, mapFile);
    for (int l = 1; l <= layers; ++l)
      if (k.Read(name, StringPrintf("%s%02d", "LAYER", l)).size() > 31)
        k.Problem(name + ": layer name longer than 31");
    if (type == "POINT")
      n.points += recordsOf[name] = k.Point(name);
    else if (type == "LINE")
      n.lines += recordsOf[name] = k.Poly(name, false);
    else if (type == "AREA")
      n.areas += recordsOf[name] = k.Poly(name, true);
    else if (type == "TEXT")
      n.texts += recordsOf[name] = k.Text(name);
    else if (type == "OPTPATH")
      optPath = name;
    else
      k.Problem("unknown category type " + type);
  }
  const std::string town = k.Read("CONNECTIONS", "TOWNCATEGORY");
  const std::string road = k.Read("CONNECTIONS", "ROADCATEGORY");
  if (!optPath.empty()) {
    if (typeOf[town] != "POINT") k.Problem("TOWNCATEGORY does not name a point category");
    if (typeOf[road] != "LINE") k.Problem("ROADCATEGORY does not name a line category");
    const std::string nodes = k.File(optPath, "NODEFILE", true);
    const std::string edges = k.File(optPath, "EDGEFILE", true);
    if (nodes.size() % NodeRecord::kSize != 0) k.Problem("NODEFILE length is not a multiple of 4");
    if (edges.size() % EdgeRecord::kSize != 0) k.Problem("EDGEFILE length is not a multiple of 16");
    n.nodes = static_cast<long long>(nodes.size() / NodeRecord::kSize);
    n.edges = static_cast<long long>(edges.size() / EdgeRecord::kSize);
    for (long long i = 0; i < n.nodes; ++i) {
      const std::int32_t r =
          NodeRecord::Settlement(RecordAt(nodes, static_cast<std::size_t>(i), NodeRecord::kSize));
      if (r >= recordsOf[town])
        k.Problem("node " + std::to_string(i) + " names settlement record " + std::to_string(r));
    }
    const int types = ReadProfileInt(optPath, "NCOST", 0, mapFile);
    if (types != ReadProfileInt(road, "NLAYER", 0, mapFile))
      k.Problem("NCOST differs from the road category's NLAYER");
    std::string roadData;
    if (typeOf[road] == "LINE") roadData = k.File(road, "DATAFILE", true);
    std::int32_t previous = -2147483647;
    for (long long i = 0; i < n.edges; ++i) {
      const std::uint8_t* p = RecordAt(edges, static_cast<std::size_t>(i), EdgeRecord::kSize);
      const std::int32_t from = EdgeRecord::From(p), to = EdgeRecord::To(p), object = EdgeRecord::Road(p),
                         length = EdgeRecord::Length(p);
      const std::string where = "edge " + std::to_string(i);
      if (from < 0 || from >= n.nodes || to < 0 || to >= n.nodes)
        k.Problem(where + ": node index outside the node table");
      if (from < previous) k.Problem(where + ": EDGEFILE is not sorted by from node");
      previous = from;
      if (object >= recordsOf[road]) k.Problem(where + ": road object outside the road category");
      if (length < 0) k.Problem(where + ": negative length");
      if (object >= 0 && (static_cast<std::size_t>(object) + 1) * PolyRecord::kSize <= roadData.size()) {
        const int layer =
            RecordLayer(RecordAt(roadData, static_cast<std::size_t>(object), PolyRecord::kSize));
        if (layer < 1 || layer > types) k.Problem(where + ": road type outside the cost table");
      }
    }
    // Every settlement must be reachable from every other over the road types enabled
    // by default: from the first bound node forward, and back to it.
    std::vector<char> enabled(static_cast<std::size_t>(std::max(types, 0)) + 1, 0);
    for (int t = 1; t <= types; ++t) {
      const std::string cost = k.Read(optPath, StringPrintf("%s%02d", "COST", t));
      const std::size_t comma = cost.find(',');
      enabled[static_cast<std::size_t>(t)] =
          comma != std::string::npos && cost.compare(comma + 1, 1, "1") == 0;
    }
    if (k.problems.empty() && n.nodes > 0) {
      std::vector<std::vector<std::int32_t>> out(static_cast<std::size_t>(n.nodes)),
          in(static_cast<std::size_t>(n.nodes));
      for (long long i = 0; i < n.edges; ++i) {
        const std::uint8_t* p = RecordAt(edges, static_cast<std::size_t>(i), EdgeRecord::kSize);
        const std::int32_t from = EdgeRecord::From(p), to = EdgeRecord::To(p), object = EdgeRecord::Road(p);
        if (object >= 0 && !enabled[static_cast<std::size_t>(RecordLayer(
                               RecordAt(roadData, static_cast<std::size_t>(object), PolyRecord::kSize)))])
          continue;
        out[static_cast<std::size_t>(from)].push_back(to);
        in[static_cast<std::size_t>(to)].push_back(from);
      }
      const auto settlementOf = [&](long long i) {
        return NodeRecord::Settlement(RecordAt(nodes, static_cast<std::size_t>(i), NodeRecord::kSize));
      };
      std::int32_t start = -1;
      for (long long i = 0; i < n.nodes && start < 0; ++i)
        if (settlementOf(i) >= 0) start = static_cast<std::int32_t>(i);
      auto reach = [&](const std::vector<std::vector<std::int32_t>>& arcs) {
        std::vector<char> seen(arcs.size(), 0);
        std::vector<std::int32_t> work{start};
        seen[static_cast<std::size_t>(start)] = 1;
        while (!work.empty()) {
          const std::int32_t v = work.back();
          work.pop_back();
          for (std::int32_t w : arcs[static_cast<std::size_t>(v)])
            if (!seen[static_cast<std::size_t>(w)]) {
              seen[static_cast<std::size_t>(w)] = 1;
              work.push_back(w);
            }
        }
        return seen;
      };
      if (start >= 0) {
        const std::vector<char> forward = reach(out), backward = reach(in);
        long long unreachable = 0;
        for (long long i = 0; i < n.nodes; ++i)
          if (settlementOf(i) >= 0 &&
              !(forward[static_cast<std::size_t>(i)] && backward[static_cast<std::size_t>(i)]))
            ++unreachable;
        if (unreachable > 0)
          k.Problem(std::to_string(unreachable) +
                    " settlement nodes cannot be reached over the enabled road types");
      }
    }
  }
  // Symbol bitmaps named by the symbology.
  const std::string symbology = k.Read("MAP", "CARTOSYMB");
  if (!symbology.empty()) {
    const std::string symFile = ResolveFileName(GetPathDirectory(mapFile), symbology);
    std::ifstream in(LocalFileName(symFile));
    if (!in) k.Problem("symbology file " + symbology + " cannot be read");
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("BITMAP=", 0) != 0) continue;
      const std::string file = line.substr(7, line.find(',') - 7);
      std::ifstream bmp(LocalFileName(ResolveFileName(GetPathDirectory(symFile), file)));
      if (!bmp) k.Problem("symbol bitmap " + file + " is missing");
    }
  }
  return k.problems;
}

}  // namespace koltar::import
