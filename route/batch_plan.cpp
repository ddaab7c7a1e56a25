#include "route/batch_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "route/opt_path.h"
#include "route/road_data.h"
#include "route/route_search.h"

namespace koltar {
namespace {

constexpr const char* kHeader = "Település                      Távolság  Idő   Költség";
constexpr std::size_t kRuleWidth = 54;

bool IsTitle(const std::string& line) { return !line.empty() && line[0] == '['; }

// One run over the lines of a source text.
class BatchRun {
 public:
  BatchRun(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
           const std::vector<std::string>& source)
      : path_(path), state_(path.routeState()), towns_(towns), roads_(roads), source_(source) {}

  BatchResult Run() {
    BatchResult result;
    result.lines.emplace_back(kHeader);
    result.lines.emplace_back(kRuleWidth, '=');
    state_.DeleteRoute();
    std::string& error = result.errorText;
    while (LinesLeft() && !EscapePressed() && error.empty()) {
      error = ReadBlock(result.lines);
      if (!error.empty()) break;
      const std::int32_t points = state_.request().routePointCount();
      if (points >= 2) {
        state_.DeleteRoute();
        SearchRoute(path_, towns_, roads_, error, searcher_);
        if (state_.stepCount() > 0 && error.empty()) {
          const std::vector<std::string> lines = ItineraryLines(state_);
          result.lines.insert(result.lines.end(), lines.begin(), lines.end());
        }
      } else if (points == 1) {
        error = "Az útvonal kezdő-, vagy végpontja nincs megadva.";
      }
      if (LinesLeft()) result.lines.emplace_back(kRuleWidth, '-');
    }
    if (!error.empty()) result.lines.push_back(error);
    state_.DeleteRoute();
    return result;
  }

 private:
  bool LinesLeft() const { return next_ < source_.size(); }

  // Reads the next block into the route points, its title into `lines`; returns the
  // problem that ends the run, or "".
  std::string ReadBlock(std::vector<std::string>& lines) {
    RouteRequest& request = state_.request();
    request.ClearRoutePoints();
    while (LinesLeft() && !IsTitle(source_[next_])) ++next_;
    if (!LinesLeft()) return {};
    lines.push_back(source_[next_++]);
    for (; LinesLeft() && !IsTitle(source_[next_]); ++next_) {
      const std::string& name = source_[next_];
      if (name.empty()) continue;
      std::string error = AddRoutePointByName(path_.graph(), request, towns_, name);
      if (!error.empty()) return error;
    }
    return {};
  }

  MOptPath& path_;
  RouteState& state_;
  const SettlementNames& towns_;
  const RoadData& roads_;
  const std::vector<std::string>& source_;
  std::size_t next_ = 0;
  std::unique_ptr<RouteSearcher> searcher_;  // one for the whole run
};

// The request the run overwrites block by block (route points, default start), put
// back when the run is over.
class SavedRequest {
 public:
  explicit SavedRequest(RouteState& state) : state_(state), request_(state.request()) {}
  ~SavedRequest() { state_.request() = request_; }
  SavedRequest(const SavedRequest&) = delete;
  SavedRequest& operator=(const SavedRequest&) = delete;

 private:
  RouteState& state_;
  RouteRequest request_;
};

}  // namespace

BatchResult GenerateBatchRoutes(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                                const std::vector<std::string>& source) {
  const SavedRequest saved(path.routeState());
  // One operation around the whole run, so that an ESC pressed during a search still
  // holds when the run asks before the next block.
  ProgressStart(kRoutePlanningProgress);
  BatchResult result = BatchRun(path, towns, roads, source).Run();
  ProgressEnd();
  return result;
}

std::string AddRoutePointByName(const RoadGraph& graph, RouteRequest& request, const SettlementNames& towns,
                                std::string_view name) {
  const std::int32_t node = graph.FindNodeOfPoint(towns.FindByName(name));
  if (node < 0)
    return StringPrintf("'%.*s' település nem található a program adatbázisában.",
                        static_cast<int>(name.size()), name.data());
  if (!request.AddRoutePoint(node, name))
    return StringPrintf("Egy útvonalon belül a csomópontok száma nem lehet több, mint %d.", kMaxRoutePoints);
  return {};
}

std::string FormatRouteTime(float hours) {
  // The hours must fit the "%02d" field's integer; an impassable or unknown total does
  // not, and has no time to show.
  if (!(hours >= 0.0f && hours < 2147483647.0f)) return "--:--";
  const int whole = static_cast<int>(hours);
  const int minutes = static_cast<int>(static_cast<double>(hours - static_cast<float>(whole)) * 60.0);
  return StringPrintf("%02d:%02d", whole, minutes);
}

std::string FormatBatchLine(const ItineraryItem& item) {
  return StringPrintf("%c %-30.30s %5.1f  %s  %6.1lf", item.mark, item.name.c_str(),
                      static_cast<double>(item.distance) * 0.001, FormatRouteTime(item.time).c_str(),
                      static_cast<double>(item.cost));
}

std::vector<std::string> ItineraryLines(const RouteState& state) {
  std::vector<std::string> lines;
  ItineraryItem item;
  for (std::int32_t i = 0; i <= state.stepCount(); ++i)
    if (state.GetItineraryEntry(i, item)) lines.push_back(FormatBatchLine(item));
  return lines;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(std::string_view fileName, const char* mode) {
  return File(std::fopen(LocalFileName(fileName).c_str(), mode));
}

void ShowFileProblem(const char* format, std::string_view fileName, WindowHandle owner = nullptr) {
  ShowMessage(StringPrintf(format, std::string(fileName).c_str()), MessageKind::Exclamation, owner);
}

}  // namespace

bool ReadBatchSource(std::string_view fileName, std::string& text, WindowHandle owner) {
  text.clear();
  File file = OpenFile(fileName, "rb");
  if (!file) {
    ShowFileProblem(kFileNotOpenedFormat, fileName, owner);
    return false;
  }
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, n);
  if (std::ferror(file.get())) {
    ShowFileProblem(kReadErrorFormat, fileName, owner);
    return false;
  }
  return true;
}

std::string BatchSourceText(std::string bytes) {
  const bool valid = IsValidUtf8(bytes);
  if (valid && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  const bool ascii =
      std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && valid) return Utf8ToCp1250(bytes);
  return bytes;
}

bool WriteBatchResult(std::string_view fileName, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\n");
  // Written beside the file and put in its place once complete, so that a failed write
  // leaves the previous result file as it was.
  ReplacementFile file;
  if (!file.Create(LocalFileName(fileName))) {
    ShowFileProblem(kFileNotOpenedFormat, fileName);
    return false;
  }
  const bool ok = file.Write(text.data(), static_cast<std::int64_t>(text.size())) ==
                      static_cast<std::int64_t>(text.size()) &&
                  file.Commit();
  if (!ok) ShowFileProblem(kWriteErrorFormat, fileName);
  return ok;
}

}  // namespace koltar
