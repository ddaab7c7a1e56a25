#include "map/show_opt_path.h"

#include <algorithm>
#include <new>

#include "categories/point.h"
#include "map/map_links.h"
#include "map/mmap.h"
#include "platform/clipboard.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/message_texts.h"
#include "platform/scan.h"
#include "platform/services.h"
#include "route/opt_path.h"

namespace koltar {

const char kNoLinkedInfoText[] = "Kapcsolt információ nem jeleníthető meg.";

namespace {

constexpr int kHelpTopic = 5;
// The scale field holds at most 39 characters.
constexpr std::size_t kScaleTextLimit = 39;

// The scale field as a decimal integer: blanks, a sign, digits up to the first other
// character; 0 when there are none.
std::int32_t ReadScale(std::string_view text) {
  std::int32_t value = 0;
  (void)ScanValues(text.substr(0, kScaleTextLimit), "%ld", value);
  return value;
}

}  // namespace

LinkedInfoShower LinkedInfoOf(MMap& map, MLinkedInfo::ChooserRunner choose) {
  if (!map.linkedInfo().HasStore()) return nullptr;
  return [&map, choose = std::move(choose)](std::int32_t settlement, WindowHandle owner) {
    ShowSettlementLink(map, settlement, choose, owner);
  };
}

ShowOptPath::ShowOptPath(MMap& map, RouteListWindow& window, RouteListScales& scales,
                         LinkedInfoShower linkedInfo, WindowHandle owner)
    : map_(map), window_(window), scales_(scales), linkedInfo_(std::move(linkedInfo)), owner_(owner) {}

const std::vector<std::string>& ShowOptPath::ColumnHeadings() {
  static const std::vector<std::string> headings = {"Csomópontok:", "Távolság\n[km]", "Idő\n[óra:perc]",
                                                    "Költség\n[Ft]"};
  return headings;
}

bool ShowOptPath::Open() {
  lines_.clear();
  selected_ = -1;
  if (const MOptPath* network = map_.roadNetwork()) {
    try {
      lines_ = RouteListLines(network->routeState());
    } catch (const std::bad_alloc&) {
      ShowMessage("Az 'Optimális út megjelenítés' dialógus doboz nem hozható létre (nincs elég memória).",
                  MessageKind::Stop, owner_);
      return false;
    }
  }
  rangeText_ =
      StringPrintf("Megengedett tartomány:  1 : %s  -  1 : %s", FormatGroupedNumber(scales_.smallest).c_str(),
                   FormatGroupedNumber(scales_.largest).c_str());
  scaleText_ = StringPrintf("%ld", static_cast<long>(scales_.positioning));
  window_.HideMarker();
  return true;
}

void ShowOptPath::ScaleTyped(std::string_view text) {
  scaleText_ = std::string(text.substr(0, kScaleTextLimit));
  scales_.positioning = ReadScale(scaleText_);
}

void ShowOptPath::Select(std::int32_t row) {
  selected_ = row >= 0 && static_cast<std::size_t>(row) < lines_.size() ? row : -1;
  if (selected_ < 0) return;
  const std::int32_t towns = map_.townCategory();
  if (towns < 0 || static_cast<std::size_t>(towns) >= map_.points().size()) return;
  const MPoint& category = *map_.points()[static_cast<std::size_t>(towns)];
  const std::int32_t settlement = lines_[static_cast<std::size_t>(selected_)].settlement;
  if (settlement < 0 || settlement >= category.recordCount()) return;
  window_.PositionOnSettlement(scales_.positioning, category.GetPosition(settlement));
}

void ShowOptPath::DoubleClick(std::int32_t row) {
  Select(row);
  if (!linkedInfo_) {
    ShowMessage(kNoLinkedInfoText, MessageKind::Exclamation, owner_);
    return;
  }
  if (selected_ < 0) return;
  linkedInfo_(lines_[static_cast<std::size_t>(selected_)].settlement, owner_);
}

bool ShowOptPath::Copy() {
  std::string text;
  try {
    text = RouteClipboardText(lines_);
  } catch (const std::bad_alloc&) {
    ShowNoMemory(owner_);
    return false;
  }
  return Clipboard().SetText(text);
}

bool ShowOptPath::Save(std::string_view fileName) { return SaveRouteList(fileName, lines_, owner_); }

bool ShowOptPath::Export(RouteFormat format, std::string_view fileName) {
  if (!ExportRoute(map_, format, fileName, owner_)) return false;
  ShowMessage(StringPrintf("Optimális út kiírva '%s' file-ba.", std::string(fileName).c_str()),
              MessageKind::Information, owner_);
  return true;
}

void ShowOptPath::ShowHelp() const { Help().ShowContext(Program().helpFile, kHelpTopic); }

bool ShowOptPath::Accept() {
  const std::int32_t scale = ReadScale(scaleText_);
  if (scale < scales_.smallest || scale > scales_.largest) {
    ShowMessage(StringPrintf("Value is not in the range %ld to %ld.", static_cast<long>(scales_.smallest),
                             static_cast<long>(scales_.largest)),
                MessageKind::Exclamation, owner_);
    return false;
  }
  scales_.positioning = std::clamp(scale, scales_.smallest, scales_.largest);
  window_.HideMarker();
  return true;
}

void ShowOptPath::Close() { window_.HideMarker(); }

}  // namespace koltar
