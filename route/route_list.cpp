#include "route/route_list.h"

#include <new>

#include "platform/files.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/paths.h"
#include "route/batch_plan.h"
#include "route/route_state.h"

namespace koltar {
namespace {

constexpr std::size_t kWholeNameLength = 30;
constexpr std::size_t kCutNameLength = 27;
constexpr const char* kHeader = "\tTelepülés\tTávolság\tIdő\tKöltség";

void ShowFileProblem(const char* format, std::string_view fileName, WindowHandle owner) {
  ShowMessage(StringPrintf(format, std::string(fileName).c_str()), MessageKind::Exclamation, owner);
}

std::string ExportText(const std::vector<RouteListLine>& lines, std::string_view lineEnd) {
  std::size_t size = std::string_view(kHeader).size() + lineEnd.size();
  for (const RouteListLine& line : lines) size += line.text.size() + lineEnd.size();
  std::string text;
  text.reserve(size);
  text.append(kHeader).append(lineEnd);
  for (const RouteListLine& line : lines) text.append(line.text).append(lineEnd);
  return text;
}

}  // namespace

std::string RouteListName(std::string_view name) {
  if (name.size() <= kWholeNameLength) return std::string(name);
  return std::string(name.substr(0, kCutNameLength)) + "...";
}

std::string FormatRouteListLine(const ItineraryItem& item) {
  return StringPrintf("%c\t%s\t%5.1f\t%s\t%6.1lf", item.mark, RouteListName(item.name).c_str(),
                      static_cast<double>(item.distance) * 0.001, FormatRouteTime(item.time).c_str(),
                      static_cast<double>(item.cost));
}

std::vector<RouteListLine> RouteListLines(const RouteState& state) {
  std::vector<RouteListLine> lines;
  if (state.stepCount() <= 0) return lines;
  ItineraryItem item;
  for (std::int32_t i = 0; i <= state.stepCount(); ++i) {
    if (!state.GetItineraryEntry(i, item)) continue;
    lines.push_back(RouteListLine{FormatRouteListLine(item), item.settlement, item.mark == kRoutePointMark});
  }
  return lines;
}

std::string RouteClipboardText(const std::vector<RouteListLine>& lines) { return ExportText(lines, "\r\n"); }

std::string RouteFileText(const std::vector<RouteListLine>& lines, std::string_view lineEnd) {
  return ExportText(lines, lineEnd);
}

bool WriteExportFile(std::string_view fileName, std::string_view bytes, ReplacementFile& file,
                     WindowHandle owner) {
  if (!file.Create(LocalFileName(fileName))) {
    ShowFileProblem(kFileNotOpenedFormat, fileName, owner);
    return false;
  }
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (file.Write(bytes.data(), size) != size) {
    file.Discard();
    ShowFileProblem(kWriteErrorFormat, fileName, owner);
    return false;
  }
  if (!file.Commit()) {
    ShowFileProblem(kWriteErrorFormat, fileName, owner);
    return false;
  }
  return true;
}

bool SaveRouteList(std::string_view fileName, const std::vector<RouteListLine>& lines, ReplacementFile& file,
                   WindowHandle owner) {
  std::string text;
  try {
    text = RouteFileText(lines);
  } catch (const std::bad_alloc&) {
    ShowNoMemory(owner);
    return false;
  }
  if (!WriteExportFile(fileName, text, file, owner)) return false;
  ShowMessage(StringPrintf("Optimális út kiírva '%s' file-ba.", std::string(fileName).c_str()),
              MessageKind::Information, owner);
  return true;
}

bool SaveRouteList(std::string_view fileName, const std::vector<RouteListLine>& lines, WindowHandle owner) {
  ReplacementFile file;
  return SaveRouteList(fileName, lines, file, owner);
}

}  // namespace koltar
