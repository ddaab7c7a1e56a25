#pragma once
// ShowOptPath: the behaviour of the route list dialog ("Optimális út"), without a
// window. It lists the itinerary of the map's last route (route/route_list.h), positions
// the map window on a settlement when its line is selected (the dialog stays open, so
// the user can step through the route), opens a settlement's linked information on a
// double click, copies the list to the clipboard, saves it as text, exports the route
// as GPX or GeoJSON (map/route_export.h), and edits the scale at which the window
// shows a settlement.
//
// A window shows this state and forwards the user's actions; messages are shown with
// owner() as their owner.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "linkedinfo/linkedinfo.h"
#include "map/route_export.h"
#include "platform/messages.h"
#include "route/route_list.h"

namespace koltar {

class MMap;

// The map window the route list was opened from.
class RouteListWindow {
 public:
  virtual ~RouteListWindow() = default;
  // Sets the scale (the window rounds and limits it), centres on `at`, shows the
  // position marker there only (an earlier one hidden first) and draws anew.
  virtual void PositionOnSettlement(std::int32_t scale, MapPoint at) = 0;
  virtual void HideMarker() = 0;
};

// The scales the dialog exchanges with its command: the map's allowed range, and the
// scale at which a settlement is shown (the map's find scale), edited in the dialog.
struct RouteListScales {
  std::int32_t smallest = 100;
  std::int32_t largest = 50000000;
  std::int32_t positioning = 25000;
};

// Shows the linked information of settlement object `settlement` (of the settlement
// category).
using LinkedInfoShower = std::function<void(std::int32_t settlement, WindowHandle owner)>;

// How the route list reaches a map's linked information (ShowSettlementLink, choosing an
// application with `choose` where the file's type has none): null when the map keeps no
// linked information, and the double click says so.
LinkedInfoShower LinkedInfoOf(MMap& map, MLinkedInfo::ChooserRunner choose);

// "Kapcsolt információ nem jeleníthető meg.": a double click where the map has no linked
// information.
extern const char kNoLinkedInfoText[];

class ShowOptPath {
 public:
  // The map and the window must outlive the dialog; `scales` is the caller's.
  ShowOptPath(MMap& map, RouteListWindow& window, RouteListScales& scales,
              LinkedInfoShower linkedInfo = nullptr, WindowHandle owner = nullptr);

  WindowHandle owner() const { return owner_; }
  void SetOwner(WindowHandle owner) { owner_ = owner; }

  // The opening: the list lines of the route, the range text and the scale field; the
  // window's marker hidden. False (after "Az 'Optimális út megjelenítés' dialógus doboz
  // nem hozható létre (nincs elég memória).", stop icon) when the list cannot be
  // filled: the dialog closes then.
  [[nodiscard]] bool Open();

  const std::vector<RouteListLine>& lines() const { return lines_; }
  // The selected line; -1 for none.
  std::int32_t selected() const { return selected_; }
  // "Megengedett tartomány:  1 : <smallest>  -  1 : <largest>" (grouped numbers).
  const std::string& rangeText() const { return rangeText_; }
  const std::string& scaleText() const { return scaleText_; }
  // The column headings above the list, as the dialog shows them (code page 1250).
  static const std::vector<std::string>& ColumnHeadings();

  // The scale field became `text`: its integer value is the positioning scale at once.
  void ScaleTyped(std::string_view text);
  // Line `row` was selected (-1: none): the window is positioned on its settlement.
  void Select(std::int32_t row);
  // A double click on line `row`: the settlement's linked information, or
  // kNoLinkedInfoText (exclamation icon) when the map has none.
  void DoubleClick(std::int32_t row);
  // "Másol": the clipboard text (RouteClipboardText) on the clipboard; false when there
  // was no memory for it (after "Nincs elég memória.") or the clipboard refused it.
  bool Copy();
  // "Ment..." once a file is chosen (a model file name): SaveRouteList.
  bool Save(std::string_view fileName);
  // "Kivitel GPX-be...", "Kivitel GeoJSON-ba..." once a file is chosen: ExportRoute,
  // then "Optimális út kiírva '%s' file-ba." (information icon).
  bool Export(RouteFormat format, std::string_view fileName);
  // "Súgó": help topic 5.
  void ShowHelp() const;

  // OK: false, staying open, after "Value is not in the range %ld to %ld." when the
  // scale field is outside the allowed range. Otherwise the positioning scale,
  // limited to the range, is stored in the record; the marker is hidden.
  [[nodiscard]] bool Accept();
  // Closing in any other way: the marker is hidden.
  void Close();

 private:
  MMap& map_;
  RouteListWindow& window_;
  RouteListScales& scales_;
  LinkedInfoShower linkedInfo_;
  WindowHandle owner_;
  std::vector<RouteListLine> lines_;
  std::int32_t selected_ = -1;
  std::string rangeText_;
  std::string scaleText_;
};

}  // namespace koltar
