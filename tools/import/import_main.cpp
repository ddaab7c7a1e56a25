// koltar-import: builds a map in the program's format from OpenStreetMap and GeoJSON
// files. Usage:
//   koltar-import [--config FILE] [--name NAME] [--no-streets] [--declutter] [--wide-rivers] [--no-check]
//                 -o DIR/NAME.map INPUT...
//   koltar-import --print-config
//   koltar-import --help|--version
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"
#include "tools/import/map_builder.h"
#include "tools/import/map_check.h"
#include "tools/import/readers.h"

namespace {

using koltar::import::BuildSummary;

// Reading progress on standard error: a line per tenth of a long file.
class ProgressSink : public koltar::import::MapBuilder {
 public:
  using MapBuilder::MapBuilder;
  void Start(const std::string& file) {
    file_ = file;
    shown_ = 0;
  }
  void Progress(double fraction) override {
    const int tenth = static_cast<int>(fraction * 10);
    if (tenth > shown_ && tenth < 10) {
      shown_ = tenth;
      std::fprintf(stderr, "  %s: %d%%\n", file_.c_str(), tenth * 10);
    }
  }

 private:
  std::string file_;
  int shown_ = 0;
};

// The usage that --help prints; the manual page (packaging/man/koltar-import.1.scd)
// agrees, as a test checks.
constexpr const char* kUsage =
    "Usage: koltar-import [--config FILE] [--name NAME] [--no-streets] [--declutter] [--wide-rivers] "
    "[--no-check] -o "
    "DIR/NAME.map INPUT...\n"
    "       koltar-import --print-config\n"
    "       koltar-import --help|--version\n"
    "INPUT: .osm, .osm.bz2, .osm.pbf (OpenStreetMap) or .json, .geojson (GeoJSON)\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int Help() {
  std::fputs(kUsage, stdout);
  std::fputs(
      "\n"
      "Writes a map for koltar, its symbology and every category's files, from\n"
      "OpenStreetMap and GeoJSON data.\n"
      "  -o DIR/NAME.map  the map description file to write; the others go beside it\n"
      "  --config FILE    the tag rules to use instead of the built-in ones\n"
      "  --name NAME      the map's name (by default the file's)\n"
      "  --no-streets     no streets in the settlements category\n"
      "  --declutter      at small scales only the settlement labels that do not\n"
      "                   overlap the label of a larger place\n"
      "  --wide-rivers    rivers of 50 km and more drawn wide enough to be seen at\n"
      "                   small scales\n"
      "  --no-check       no check of the written map\n"
      "  --print-config   print the built-in tag rules, to edit\n"
      "  --help           show this help and exit\n"
      "  --version        show the version and exit\n",
      stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  std::string configFile, output, name;
  bool check = true, noStreets = false, declutter = false, wideRivers = false;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") return Help();
    if (arg == "--version") {
      std::printf("koltar-import %s\n", KOLTAR_VERSION);
      return 0;
    }
    if (arg == "--print-config") {
      const std::string_view text = koltar::import::DefaultConfigText();
      std::fwrite(text.data(), 1, text.size(), stdout);
      return 0;
    }
    if ((arg == "--config" || arg == "-o" || arg == "--name") && i + 1 < argc) {
      (arg == "--config" ? configFile : arg == "-o" ? output : name) = argv[++i];
    } else if (arg == "--no-streets") {
      noStreets = true;
    } else if (arg == "--no-check") {
      check = false;
    } else if (arg == "--declutter") {
      declutter = true;
    } else if (arg == "--wide-rivers") {
      wideRivers = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      inputs.push_back(arg);
    }
  }
  if (output.empty() || inputs.empty()) return Usage();

  std::string configText(koltar::import::DefaultConfigText());
  if (!configFile.empty()) {
    std::ifstream in(configFile, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "koltar-import: cannot read %s\n", configFile.c_str());
      return 1;
    }
    configText.assign(std::istreambuf_iterator<char>(in), {});
  }
  koltar::import::ImportConfig config;
  std::string error;
  if (!koltar::import::ParseConfig(configText, config, error)) {
    std::fprintf(stderr, "koltar-import: %s: %s\n",
                 configFile.empty() ? "built-in settings" : configFile.c_str(), error.c_str());
    return 1;
  }

  if (noStreets) config.streetLayer.clear();
  config.declutterLabels = declutter;
  config.wideRivers = wideRivers;
  const std::filesystem::path outPath(output);
  if (name.empty()) name = outPath.stem().string();
  ProgressSink builder(config);
  koltar::import::InputCounts counts;
  for (const std::string& input : inputs) {
    std::fprintf(stderr, "reading %s\n", input.c_str());
    builder.Start(input);
    std::string readError;
    if (!koltar::import::ReadInputFile(input, builder, counts, readError)) {
      std::fprintf(stderr, "koltar-import: %s\n", readError.c_str());
      return 1;
    }
    if (!readError.empty())
      std::fprintf(stderr, "koltar-import: %s (kept what was read before)\n", readError.c_str());
  }
  std::fprintf(stderr, "building %s\n", output.c_str());
  BuildSummary summary;
  const std::filesystem::path directory = outPath.has_parent_path() ? outPath.parent_path() : ".";
  if (!builder.Write(directory, outPath.filename().string(), name, summary, error)) {
    std::fprintf(stderr, "koltar-import: %s\n", error.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  std::printf("%s\n", output.c_str());
  for (const auto& c : summary.categories) {
    // Padded by characters, not bytes, so that the columns line up in UTF-8.
    std::size_t characters = 0;
    for (char ch : c.name) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
    const std::string padding(characters < 24 ? 24 - characters : 0, ' ');
    std::printf("  %-8s %s%s %10lld %s\n", c.kind.c_str(), c.name.c_str(), padding.c_str(),
                static_cast<long long>(c.objects), c.kind == "OPTPATH" ? "edges" : "objects");
  }
  std::printf("  settlements %lld, streets %lld, house-number ranges %lld from %lld addresses\n",
              static_cast<long long>(summary.settlements), static_cast<long long>(summary.streets),
              static_cast<long long>(summary.houseRanges), static_cast<long long>(summary.addresses));
  std::printf("  road graph: %lld nodes, %lld edges\n", static_cast<long long>(summary.nodes),
              static_cast<long long>(summary.edges));
  std::printf("  names: %lld transliterated to code page 1250, %lld cut to their field\n",
              static_cast<long long>(summary.namesTransliterated), static_cast<long long>(summary.namesCut));
  std::printf(
      "  skipped: %lld features with no use for their tags, %lld broken geometries, %lld unreadable inputs\n",
      static_cast<long long>(summary.unusedFeatures),
      static_cast<long long>(counts.brokenGeometry + summary.brokenGeometry),
      static_cast<long long>(counts.unreadable));
  if (summary.unboundSettlements > 0)
    std::printf("  %lld settlements or streets have no road node\n",
                static_cast<long long>(summary.unboundSettlements));
  std::printf(
      "  projection: transverse Mercator, central meridian %.2f, origin latitude %.2f; UNIT %d m, "
      "ORIGIN %d,%d\n",
      summary.centralMeridian, summary.originLatitude, summary.unit, summary.originX, summary.originY);
  std::printf("  time: %.1f s\n", seconds);

  if (check) {
    const std::string mapFile = koltar::ModelFileName(std::filesystem::absolute(outPath));
    const std::vector<std::string> problems = koltar::import::CheckMap(mapFile);
    for (const std::string& p : problems)
      std::fprintf(stderr, "check: %s\n", koltar::Cp1250ToUtf8(p).c_str());
    if (!problems.empty()) return 1;
    std::printf("  check: consistent\n");
  }
  return 0;
}
