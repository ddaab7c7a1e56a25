#include "route/opt_path.h"

#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"

namespace koltar {
namespace {

constexpr int kFileNameCapacity = 260;
constexpr int kLayerCapacity = 32;
constexpr int kCostCapacity = 80;
constexpr int kStartCapacity = 80;

}  // namespace

MOptPath::MOptPath(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName)
    : categoryName_(categoryName.substr(0, kShortTextSize - 1)),
      descriptionFile_(ResolveFileName(mapDirectory, mapFileName)) {
  descriptionExisted_ = FileExists(descriptionFile_);
  if (!descriptionExisted_)
    ShowMessage(StringPrintf(kFileNotOpenedFormat, descriptionFile_.c_str()), MessageKind::Exclamation);

  std::string nodeFile = ResolveFileName(mapDirectory, ReadKey("NODEFILE", "", kFileNameCapacity));
  std::string edgeFile = ResolveFileName(mapDirectory, ReadKey("EDGEFILE", "", kFileNameCapacity));
  graph_ = RoadGraph(std::move(nodeFile), std::move(edgeFile));
  LoadLayers();
  LoadCostTable();
  LoadSettings();
}

MOptPath::~MOptPath() { Save(); }

std::string MOptPath::ReadKey(const char* key, std::string_view defaultText, int capacity) const {
  return ReadProfileString(categoryName_, key, defaultText, capacity, descriptionFile_);
}

// False, after saying so, for a count the description file cannot hold.
bool MOptPath::CountFits(const char* key, std::int32_t count) const {
  if (CountFitsProfile(count, descriptionFile_)) return true;
  ShowMessage(StringPrintf(kBadCountFormat, key, static_cast<long>(count), categoryName_.c_str(),
                           descriptionFile_.c_str()),
              MessageKind::Exclamation);
  return false;
}

void MOptPath::LoadLayers() {
  const std::int32_t count = ReadProfileInt(categoryName_, "NLAYER", 0, descriptionFile_);
  if (count <= 0 || !CountFits("NLAYER", count)) return;
  try {
    layers_.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  for (std::int32_t i = 1; i <= count; ++i)
    layers_.push_back(ReadKey(StringPrintf("%s%02d", "LAYER", i).c_str(), "", kLayerCapacity));
}

void MOptPath::LoadCostTable() {
  const std::int32_t count = ReadProfileInt(categoryName_, "NCOST", 0, descriptionFile_);
  if (count <= 0 || !CountFits("NCOST", count)) return;
  std::vector<RoadType> types;
  try {
    types.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  for (std::int32_t i = 1; i <= count; ++i)
    types.push_back(
        ParseRoadType(ReadKey(StringPrintf("%s%02d", "COST", i).c_str(), "?,0,0,0,0", kCostCapacity)));
  costs_ = CostTable(std::move(types), costs_.criterion());
}

void MOptPath::LoadSettings() {
  // The criterion selects a weight; a value that selects none is read as distance.
  costs_.SetCriterion(ReadProfileInt(categoryName_, "DEFAULTCOSTTYPE", 0, descriptionFile_));

  const std::string start = ReadKey("DEFAULTSTARTNODE", "-1", kStartCapacity);
  std::int64_t node = -1;
  std::string name;
  const int read = ScanValues(start, "%lld,%[^~]", node, name);
  if (read >= 1) {
    const bool valid = node >= -1 && node <= std::numeric_limits<std::int32_t>::max();
    state_.request().SetDefaultStart(valid ? static_cast<std::int32_t>(node) : -1, read == 2 ? name : "");
  }
  batchSourceFile_ = ReadKey("BATCHSOURCEFILE", "", kFileNameCapacity);
  batchTargetFile_ = ReadKey("BATCHTARGETFILE", "", kFileNameCapacity);
}

void MOptPath::Save() const {
  // Writing to a description file that was not there would create a stray file that
  // holds nothing but these settings.
  if (!descriptionExisted_) return;
  // All settings in one replacement of the file: a failed write leaves it as it was,
  // and says so.
  std::vector<ProfileEntry> entries;
  const auto write = [&](const std::string& key, const std::string& value) {
    entries.push_back(ProfileEntry{categoryName_, key, value});
  };
  write("DEFAULTCOSTTYPE", StringPrintf("%d", costs_.criterion()));
  for (std::int32_t i = 0; i < costs_.roadTypeCount(); ++i)
    write(StringPrintf("%s%02d", "COST", i + 1), FormatRoadType(costs_.roadType(i)));
  const RouteRequest& request = state_.request();
  write("DEFAULTSTARTNODE", StringPrintf("%ld,%s", static_cast<long>(request.defaultStartNode()),
                                         std::string(request.defaultStartName()).c_str()));
  write("BATCHSOURCEFILE", batchSourceFile_);
  write("BATCHTARGETFILE", batchTargetFile_);
  if (!WriteProfileStrings(entries, descriptionFile_))
    ShowMessage(StringPrintf(kWriteErrorFormat, descriptionFile_.c_str()), MessageKind::Exclamation);
}

void MOptPath::Bind(const SettlementNames& towns, const RoadData& roads) {
  graph_.Bind(towns, roads, costs_);
}

void MOptPath::ComputeEdgeWeights(const RoadData& roads) { graph_.ComputeEdgeWeights(costs_, roads); }

MapRect MOptPath::GetRouteBounds(const RoadData& roads) const {
  MapRect bounds = MapRect::Empty();
  for (const RouteStep& step : state_.steps()) {
    const std::optional<EdgeEntry> edge = graph_.EdgeOfStep(step);
    if (edge && roads.Usable(edge->road)) bounds = bounds.United(roads.Bounds(edge->road));
  }
  return bounds;
}

}  // namespace koltar
