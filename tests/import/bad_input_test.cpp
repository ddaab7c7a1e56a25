#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <osmium/io/any_input.hpp>
#include <osmium/io/any_output.hpp>

#include "platform/format.h"
#include "tests/import/import_support.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"
#include "tools/import/map_check.h"

namespace koltar::import {
namespace {

class Collect : public FeatureSink {
 public:
  void Add(Feature&& f) override { features.push_back(std::move(f)); }
  std::vector<Feature> features;
};

constexpr const char* kTwoWays = R"(<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6">
 <node id="1" lat="47.5" lon="19.0"/>
 <node id="2" lat="47.5" lon="19.01"/>
 <node id="3" lat="47.51" lon="19.01"/>
 <way id="10"><nd ref="1"/><nd ref="2"/><tag k="highway" v="primary"/></way>
 <way id="11"><nd ref="2"/><nd ref="3"/><tag k="highway" v="primary"/></way>
</osm>
)";

TEST(BadInput, TruncatedOsmKeepsWhatCameBefore) {
  koltar::test::TempDir dir;
  // Enough ways that the reader hands some on before it meets the cut.
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
  constexpr int kWays = 30000;
  for (int i = 1; i <= kWays + 1; ++i)
    text += StringPrintf(" <node id=\"%d\" lat=\"47.%06d\" lon=\"19.%06d\"/>\n", i, i, i);
  for (int i = 1; i <= kWays; ++i)
    text += StringPrintf(
        " <way id=\"%d\"><nd ref=\"%d\"/><nd ref=\"%d\"/><tag k=\"highway\" v=\"service\"/></way>\n", i, i,
        i + 1);
  text += "</osm>\n";
  Collect sink;
  InputCounts counts;
  std::string error;
  EXPECT_TRUE(ReadOsmFile(dir.Write("cut.osm", text.substr(0, text.size() * 9 / 10)), sink, counts, error));
  EXPECT_GT(sink.features.size(), 0u);
  EXPECT_LT(sink.features.size(), static_cast<std::size_t>(kWays));
  EXPECT_EQ(counts.unreadable, 1);
  EXPECT_FALSE(error.empty());
  // A file cut before anything could be handed on reads as nothing, reported.
  const std::string small = kTwoWays;
  Collect none;
  EXPECT_FALSE(ReadOsmFile(dir.Write("small.osm", small.substr(0, small.size() / 2)), none, counts, error));
  EXPECT_EQ(counts.unreadable, 2);
}

// A coordinate whose exponent would overflow the OSM library's parser refuses the file
// before it is parsed, in XML (also compressed, also after the first pieces read, also
// written with blanks around '=' or through a character reference) and in OPL;
// exponents that stay in range, and negative ones, read as before.
TEST(BadInput, CoordinatesWithHugeExponentsRefuseTheFile) {
  koltar::test::TempDir dir;
  auto read = [&](const std::string& name, const std::string& text, std::string& error) {
    Collect sink;
    InputCounts counts;
    const bool ok = ReadOsmFile(dir.Write(name, text), sink, counts, error);
    return ok ? static_cast<int>(sink.features.size()) : -1 - counts.unreadable;
  };
  std::string error;
  std::string huge = kTwoWays;
  huge.replace(huge.find("lon=\"19.01\""), 12, "lon = '19.0E402'");
  EXPECT_EQ(read("huge.osm", huge, error), -2);
  EXPECT_NE(error.find("coordinate out of range: '19.0E402'"), std::string::npos) << error;
  std::string padded = std::string(2 << 20, ' ') + huge.substr(huge.find("<osm"));
  padded = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + padded;
  EXPECT_EQ(read("padded.osm", padded, error), -2);
  std::string reference = kTwoWays;
  reference.replace(reference.find("lat=\"47.51\""), 11, "lat=\"4&#55;.51\"");
  EXPECT_EQ(read("reference.osm", reference, error), -2);
  EXPECT_EQ(read("opl.opl", "n1 v1 x19.0E402 y47.5\n", error), -2);
  std::string fine = kTwoWays;
  fine.replace(fine.find("lat=\"47.51\""), 11, "lat=\"0.4751E2\"");
  fine.replace(fine.find("lat=\"47.5\""), 10, "lat=\"4750E-2\"");
  EXPECT_EQ(read("fine.osm", fine, error), 2) << error;
  {
    const std::string bz2 = (dir.path() / "huge.osm.bz2").string();
    const int fd = ::open(bz2.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    auto out = osmium::io::CompressionFactory::instance().create_compressor(
        osmium::io::file_compression::bzip2, fd, osmium::io::fsync::no);
    out->write(huge);
    out->close();
  }
  Collect sink;
  InputCounts counts;
  EXPECT_FALSE(ReadOsmFile((dir.path() / "huge.osm.bz2").string(), sink, counts, error));
  EXPECT_NE(error.find("coordinate out of range"), std::string::npos) << error;
}

TEST(OsmFormats, PbfAndBzip2ReadLikeXml) {
  koltar::test::TempDir dir;
  const std::string xml = dir.Write("two.osm", kTwoWays);
  for (const char* name : {"two.osm.pbf", "two.osm.bz2"}) {
    {
      osmium::io::Reader reader{(dir.path() / "two.osm").string()};
      osmium::io::Writer writer{(dir.path() / name).string()};
      while (osmium::memory::Buffer buffer = reader.read()) writer(std::move(buffer));
      writer.close();
      reader.close();
    }
    Collect sink;
    InputCounts counts;
    std::string error;
    ASSERT_TRUE(ReadInputFile(dir.Model(name), sink, counts, error)) << name << ": " << error;
    ASSERT_EQ(sink.features.size(), 2u) << name;
    EXPECT_EQ(sink.features[1].tags.Get("highway"), "primary");
    EXPECT_EQ(sink.features[1].lines[0].back(), (GeoPoint{190100000, 475100000}));
    EXPECT_EQ(counts.unreadable, 0);
  }
  (void)xml;
}

TEST(BadInput, FilesThatAreNotDataAreRefused) {
  koltar::test::TempDir dir;
  Collect sink;
  InputCounts counts;
  std::string error;
  EXPECT_FALSE(ReadInputFile(dir.Model("missing.osm.pbf"), sink, counts, error));
  EXPECT_FALSE(ReadInputFile(dir.Write("noise.osm.pbf", std::string(300, '\x7F')), sink, counts, error));
  EXPECT_FALSE(ReadInputFile(dir.Write("noise.osm.bz2", "BZh9 not really"), sink, counts, error));
  EXPECT_FALSE(ReadInputFile(dir.Write("cut.geojson", R"({"type":"FeatureCollection","features":[{"type":)"),
                             sink, counts, error));
  EXPECT_TRUE(sink.features.empty());
  EXPECT_EQ(counts.unreadable, 3);  // the missing file is only refused
}

TEST(BadInput, BrokenGeoJsonGeometriesAreSkippedAndCounted) {
  koltar::test::TempDir dir;
  const std::string json = R"({"type":"FeatureCollection","features":[
    {"type":"Feature","properties":{"highway":"primary","lanes":2,"oneway":true,"note":null},
     "geometry":{"type":"LineString","coordinates":[[19,47],[19.1,47.1]]}},
    {"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":[[19,47]]}},
    {"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":[[19,47],[19,47]]}},
    {"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":[[[19,47],[19.1,47]]]}},
    {"type":"Feature","properties":{},"geometry":{"type":"Point","coordinates":[200,47]}},
    {"type":"Feature","properties":{},"geometry":{"type":"Point","coordinates":"here"}},
    {"type":"Feature","properties":{},"geometry":{"type":"Circle","coordinates":[19,47]}},
    {"type":"Feature","properties":{},"geometry":null},
    {"type":"Feature","properties":{"natural":"water"},
     "geometry":{"type":"Polygon","coordinates":[[[19,47],[19.1,47],[19.1,47.1]]]}}
  ]})";
  Collect sink;
  InputCounts counts;
  std::string error;
  ASSERT_TRUE(ReadGeoJsonFile(dir.Write("bad.geojson", json), sink, counts, error));
  ASSERT_EQ(sink.features.size(), 2u);
  EXPECT_EQ(counts.brokenGeometry, 7);
  // Properties that are not strings keep their JSON text; nulls are dropped.
  EXPECT_EQ(sink.features[0].tags.Get("lanes"), "2");
  EXPECT_EQ(sink.features[0].tags.Get("oneway"), "true");
  EXPECT_EQ(sink.features[0].tags.Find("note"), nullptr);
  // An open ring is closed.
  ASSERT_EQ(sink.features[1].rings.size(), 1u);
  EXPECT_EQ(sink.features[1].rings[0].points.size(), 4u);
  EXPECT_EQ(sink.features[1].rings[0].points.front(), sink.features[1].rings[0].points.back());
}

TEST(BadInput, NothingToShowWritesNoMap) {
  koltar::test::TempDir dir;
  MapBuilder builder(test::DefaultConfig());
  Feature bench;
  bench.tags.Add("amenity", "bench");
  bench.lines.push_back({GeoPoint{190000000, 470000000}});
  builder.Add(std::move(bench));
  BuildSummary summary;
  std::string error;
  EXPECT_FALSE(builder.Write(dir.path(), "t.map", "T", summary, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "t.map"));
}

// The files of a folder with their bytes; hidden ones (a stage folder) are listed too.
std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.is_directory()) {
      files[entry.path().filename().string()] = "(folder)";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// An import is written into a stage folder and moved into place: a failure at any step
// leaves no map under the final name (a new folder does not appear at all; in an existing
// one the map description is missing and other files stay), nor a stage folder; without
// a failure the map is the one an undisturbed import writes.
TEST(BadInput, AFailedImportLeavesNoHalfMap) {
  koltar::test::TempDir dir;
  const std::string input = dir.Write("two.osm", kTwoWays);
  BuildSummary summary;
  InputCounts counts;
  ASSERT_TRUE(test::Import({input}, dir.path() / "ref", summary, counts));
  const auto reference = FolderFiles(dir.path() / "ref");
  ASSERT_TRUE(reference.count("t.map"));
  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "into an existing folder" : "into a new folder");
    const std::filesystem::path out = dir.path() / "maps";
    const int steps = koltar::test::SweepWriteFaults(
        [&] {
          std::filesystem::remove_all(out);
          if (existing) {
            std::filesystem::create_directories(out);
            std::ofstream(out / "keep.txt") << "mine";
          }
        },
        [&] { return test::Import({input}, out, summary, counts); },
        [&](bool ok, const koltar::test::ScopedWriteFault& fault) {
          auto files = FolderFiles(out);
          if (existing) {
            EXPECT_EQ(files["keep.txt"], "mine");
            files.erase("keep.txt");
          }
          if (ok) {
            EXPECT_EQ(files, reference);
          } else if (existing) {
            EXPECT_FALSE(files.count("t.map")) << fault.failedStep();
          } else {
            EXPECT_FALSE(std::filesystem::exists(out)) << fault.failedStep();
          }
          // Nothing but the input, the reference and the output folder.
          EXPECT_EQ(FolderFiles(dir.path()).size(), std::filesystem::exists(out) ? 3u : 2u);
        },
        /*every=*/existing ? 30 : 7);
    EXPECT_GT(steps, 20);
  }
}

TEST(MapCheck, FindsWhatIsWrong) {
  koltar::test::TempDir dir;
  BuildSummary summary;
  InputCounts counts;
  ASSERT_TRUE(test::Import({dir.Write("two.osm", kTwoWays)}, dir.path(), summary, counts));
  ASSERT_TRUE(CheckMap(dir.Model("t.map")).empty());
  // Unsorted edges, a node index past the table, a name offset past the name table, a
  // coordinate run past COORDFILE.
  const std::string edgesName = ReadProfileString("\xDAtvonal", "EDGEFILE", "", 260, dir.Model("t.map"));
  std::string edges = dir.Read(edgesName);
  ASSERT_GE(edges.size(), 32u);
  std::string swapped =
      edges.substr(edges.size() - 16) + edges.substr(16, edges.size() - 32) + edges.substr(0, 16);
  WriteI32(swapped.data() + 4, 1000);
  dir.Write(edgesName, swapped);
  const std::string roadsName = ReadProfileString("Utak", "DATAFILE", "", 260, dir.Model("t.map"));
  std::string roads = dir.Read(roadsName);
  WriteI32(roads.data() + 4, 100000);
  dir.Write(roadsName, roads);
  ForgetProfileFiles();
  const std::vector<std::string> problems = CheckMap(dir.Model("t.map"));
  auto has = [&](const std::string& part) {
    for (const std::string& p : problems)
      if (p.find(part) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(has("not sorted by from node"));
  EXPECT_TRUE(has("node index outside the node table"));
  EXPECT_TRUE(has("outside COORDFILE"));
}

}  // namespace
}  // namespace koltar::import
