// The place search's speed on a real map, the Gothenburg sample: filling the name list
// of a category (the dialog's category change: its layers and every name, with the
// search keys), and one typed character (the whole-name rule's prefix search and the
// hints that ignore accents), on the settlement and street category, on the road
// category, whose every named record is a name of the list, and on a point category of
// 50 000 named places made beside it from the sample's names (numbered where they
// repeat).
//
//   place_bench [--map FILE.map] [--places N] [benchmark options]
//
// The map is copied into a scratch folder first, as closing it writes its settings
// back. Best run from a Release build.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/find_point.h"
#include "categories/line.h"
#include "categories/point.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

constexpr const char* kPlaces = "Helyek";

class Sample {
 public:
  Sample(const std::filesystem::path& mapFile, std::int32_t places) {
    std::string folder = (std::filesystem::temp_directory_path() / "koltar-place-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    dir_ = folder;
    std::filesystem::copy(mapFile.parent_path(), dir_ / "sample", std::filesystem::copy_options::recursive);
    map_ = std::make_unique<MMap>(ModelFileName(dir_ / "sample" / mapFile.filename()));
    WritePlaces(places);
    placesMap_ = std::make_unique<MMap>(ModelFileName(dir_ / "places" / "places.map"));
  }
  ~Sample() {
    map_.reset();
    placesMap_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const MMap& map(bool places) const { return places ? *placesMap_ : *map_; }

 private:
  // A map of one point category with `count` named places, the sample's names in turn,
  // " 2", " 3"... after a name the second time round.
  void WritePlaces(std::int32_t count) {
    std::vector<std::string> names;
    for (const std::unique_ptr<MapCategory>& c : map_->drawOrder())
      for (std::int32_t i = 0; i < c->recordCount(); ++i)
        if (const std::optional<std::string_view> name = c->StoredName(i); name && !name->empty())
          names.emplace_back(*name);
    if (names.empty()) names.emplace_back("Hely");
    MapWriter writer(dir_ / "places", "places.map");
    writer.name = "Helyek";
    writer.unit = 1;
    PointCategoryWriter& places = writer.AddPoints(kPlaces, {"Hely"});
    for (std::int32_t i = 0; i < count; ++i) {
      const std::size_t round = static_cast<std::size_t>(i) / names.size();
      std::string name = names[static_cast<std::size_t>(i) % names.size()];
      if (round > 0) name.append(" ").append(std::to_string(round + 1));
      places.Add(1, {i % 1000, i / 1000}, name);
    }
    if (!writer.Write()) std::abort();
  }

  std::filesystem::path dir_;
  std::unique_ptr<MMap> map_;
  std::unique_ptr<MMap> placesMap_;
};

const Sample* sample = nullptr;

// Every point, line and area category of the map, as the program hands them to the
// dialog.
PlaceCategories Categories(const MMap& map) {
  PlaceCategories out;
  for (const std::unique_ptr<MapCategory>& c : map.drawOrder()) {
    if (c->kind() == CategoryKind::Point) out.points.push_back(static_cast<const MPoint*>(c.get()));
    if (c->kind() == CategoryKind::Line) out.lines.push_back(static_cast<const MLine*>(c.get()));
    if (c->kind() == CategoryKind::Area) out.areas.push_back(static_cast<const MArea*>(c.get()));
  }
  return out;
}

// The dialog on the sample, and the entry of the category list named `category` (the
// first entry when there is none).
struct Dialog {
  Dialog(const MMap& map, std::string_view category) : find(Categories(map), data) {
    data.smallestScale = 100;
    data.largestScale = 50000000;
    data.displayScale = 25000;
    find.Open();
    for (std::size_t i = 0; i < find.categoryTexts().size(); ++i)
      if (find.categoryTexts()[i] == category) entry = static_cast<std::int32_t>(i);
  }
  FindPointData data;
  FindPoint find;
  std::int32_t entry = 0;
};

enum Category { kTowns, kRoads, kPlaces50k };

// The dialog on the settlement and street category (TOWNCATEGORY), the road category
// (ROADCATEGORY) or the generated places.
std::unique_ptr<Dialog> DialogOn(std::int64_t category) {
  const MMap& map = sample->map(category == kPlaces50k);
  std::string name = kPlaces;
  if (category == kTowns) name = map.points()[static_cast<std::size_t>(map.townCategory())]->name();
  if (category == kRoads) name = map.lines()[static_cast<std::size_t>(map.roadCategory())]->name();
  return std::make_unique<Dialog>(map, name);
}

void BM_Fill(benchmark::State& state) {
  const std::unique_ptr<Dialog> dialog = DialogOn(state.range(0));
  for (auto _ : state) {
    dialog->find.CategoryChanged(dialog->entry);
    benchmark::DoNotOptimize(dialog->find.names().size());
  }
  state.counters["names"] = dialog->find.names().size();
}

// Each iteration types one character more of the text, starting again after its end:
// the dialog's work per key press.
void BM_Keystroke(benchmark::State& state, const char* text) {
  const std::unique_ptr<Dialog> dialog = DialogOn(state.range(0));
  dialog->find.CategoryChanged(dialog->entry);
  const std::string typed(text);
  std::size_t length = 0;
  std::size_t hints = 0;
  for (auto _ : state) {
    length = length % typed.size() + 1;
    dialog->find.NameTyped(std::string_view(typed).substr(0, length));
    hints += dialog->find.hints().size();
  }
  state.counters["names"] = dialog->find.names().size();
  state.counters["hints/key"] = static_cast<double>(hints) / static_cast<double>(state.iterations());
}

void Register() {
  for (const char* category : {"towns", "roads", "places50k"}) {
    const std::int64_t arg = std::string_view(category) == "towns"   ? kTowns
                             : std::string_view(category) == "roads" ? kRoads
                                                                     : kPlaces50k;
    benchmark::RegisterBenchmark(("Fill/" + std::string(category)).c_str(), BM_Fill)
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond);
    // A name that is there, typed without its accents, and one that matches nothing, so
    // that both searches go through the whole list.
    benchmark::RegisterBenchmark(("Keystroke/" + std::string(category) + "/linnegatan").c_str(), BM_Keystroke,
                                 "linnegatan")
        ->Arg(arg)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("Keystroke/" + std::string(category) + "/nothing").c_str(), BM_Keystroke,
                                 "qqqqqqqq")
        ->Arg(arg)
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) {
  std::filesystem::path mapFile =
      std::filesystem::path(KOLTAR_SOURCE_DIR) / "data/samples/gothenburg/gothenburg.map";
  std::int32_t places = 50000;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--map" && i + 1 < argc)
      mapFile = argv[++i];
    else if (std::string(argv[i]) == "--places" && i + 1 < argc)
      places = std::max(1, std::atoi(argv[++i]));
    else
      rest.push_back(argv[i]);
  }
  if (!std::filesystem::exists(mapFile)) {
    std::fprintf(stderr, "place_bench: no map %s\n", mapFile.c_str());
    return 1;
  }
  koltar::Program().pixel = koltar::PixelSize{};
  koltar::Sample loaded(mapFile, places);
  koltar::sample = &loaded;
  koltar::Register();
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
