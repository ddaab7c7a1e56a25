#include "app/commands.h"

#include <algorithm>

namespace koltar {

const std::vector<CommandText>& CommandTexts() {
  static const std::vector<CommandText> texts = {
      {cmd::kOpen, "Térkép &megnyitása", "Új térkép megnyitása"},
      {cmd::kClose, "Térkép &lezárása", "Térkép lezárása"},
      {cmd::kPreview, "Nyomtatási &kép", "Nyomtatási kép megjelenítése"},
      {cmd::kPrint, "&Nyomtatás...", "Térkép és útvonalterv nyomtatása"},
      {cmd::kPrinterSetup, "Nyomtató &beállítás...", "Nyomtató beállítás"},
      {cmd::kExit, "Kilépés a &programból\tAlt+F4", nullptr},
      {cmd::kToolCursor, "&Kurzor", "Kurzor (funkció nélkül)"},
      {cmd::kToolName, "Né&v megjelenítés", "Objektum nevének megjelenítése"},
      {cmd::kToolPosition, "&Pozicionálás", "Megjelenített terület középpontjának kijelölése"},
      {cmd::kToolZoom, "&Nagyítás/Kicsinyítés", "Nagyítás (bal gomb) / kicsinyítés (jobb gomb)"},
      {cmd::kToolArea, "Terület &kijelölés", "Nagyítás kijelölt terület alapján"},
      {cmd::kFindPlace, "Terület kere&sése...", "Térkép pozicionálása a kiválasztott helyhez (helységhez)"},
      {cmd::kWholeMap, "&Teljes terület", "A teljes térkép megjelenítése az ablakban"},
      {cmd::kRedraw, "Újra &rajzolás", "Az aktív ablak újra rajzolása"},
      {cmd::kFindRoute, "Optimális út &keresése...", "Optimális út keresése"},
      {cmd::kBatchRoute, "Több út egyidejű keresése...",
       "Optimális út keresése (kötegelt feldolgozás módban)"},
      {cmd::kShowRoute, "Optimális út &megjelenítése...", "Optimális út megjelenítése listában"},
      {cmd::kDeleteRoute, "Optimális út &törlése", "Optimális út törlése"},
      {cmd::kRouteParameters, "Paraméterek &beállítása...", "Paraméterek beállítása optimális út kereséshez"},
      {cmd::kPositionRoute, "Térkép &pozicionálása", "Térkép pozicionálása optimális út megjelenítéséhez"},
      {cmd::kRouteFromHere, "Útvonal &innen",
       "Az útvonal kiindulási helye a térkép közepéhez legközelebbi település"},
      {cmd::kRouteToHere, "Útvonal i&de", "Az útvonal célja a térkép közepéhez legközelebbi település"},
      {cmd::kRouteVia, "&Köztes pont",
       "Köztes pont az útvonalon a térkép közepéhez legközelebbi településnél"},
      {cmd::kAttachInfo, "Kiegészítő információk csatolása...", nullptr},
      {cmd::kShowInfo, "Kiegészítő információk megjelenítése", nullptr},
      {cmd::kRemoveInfo, "Kiegészítő információk törlése", nullptr},
      {cmd::kToolLabel, "Új &pozició beállítása", "Megírás poziciók interaktív beállítása"},
      {cmd::kLoadLabels, "Poziciók &betöltése...", "Megírás poziciók betoltése file-ból"},
      {cmd::kSaveLabels, "Poziciók &mentése", "Megírás poziciók mentése file-ba"},
      {cmd::kSymbology, "Térkép tulajdonságok...",
       "Térkép megjelenítési tulajdonságainak (szín, betűtípus, stb.) beállítása"},
      {cmd::kNewWindow, "Új &ablak", "Új ablak létrehozása"},
      {cmd::kCascade, "&Lépcsőzetes elrendezés", "Ablakok lépcsőzetes elrendezése"},
      {cmd::kTile, "&Mozaik elrendezés", "Ablakok mozaik elrendezése"},
      {cmd::kArrangeIcons, "&Ikonok elrendezése", "Ikonok elrendezése a program ablak alján"},
      {cmd::kHelpIndex, "&Súgó index...", nullptr},
      {cmd::kAbout, "&Névjegy...", nullptr},
  };
  return texts;
}

const CommandText* FindCommandText(int id) {
  for (const CommandText& t : CommandTexts())
    if (t.id == id) return &t;
  return nullptr;
}

const std::vector<MenuLayout>& MainMenu() {
  using namespace cmd;
  static const std::vector<MenuLayout> menu = {
      {"&File", {kOpen, kClose, kSeparator, kPreview, kPrint, kPrinterSetup, kSeparator, kExit}},
      {"&Nézet",
       {kToolCursor, kSeparator, kToolName, kSeparator, kToolPosition, kToolZoom, kToolArea, kSeparator,
        kFindPlace, kSeparator, kWholeMap, kRedraw}},
      {"Útvonal &tervezés",
       {kFindRoute, kBatchRoute, kShowRoute, kDeleteRoute, kSeparator, kRouteParameters, kSeparator,
        kPositionRoute},
       {{"Útvonalpont a térkép &közepén", {kRouteFromHere, kRouteToHere, kRouteVia}}}},
      {"Megírás &pozícionálás", {kToolLabel, kSeparator, kLoadLabels, kSaveLabels}},
      {"&Beállítások", {kSymbology}},
      {"&Ablak", {kNewWindow, kSeparator, kCascade, kTile, kArrangeIcons}},
      {"&Súgó", {kHelpIndex, kSeparator, kAbout}},
  };
  return menu;
}

const std::vector<int>& FirstToolBar() {
  using namespace cmd;
  static const std::vector<int> bar = {
      kOpen,     kClose,     kSeparator, kPrint,      kPreview,      kSeparator, kNewWindow,
      kWholeMap, kRedraw,    kSeparator, kToolCursor, kToolPosition, kToolZoom,  kToolArea,
      kToolName, kSeparator, kToolLabel, kSeparator,  kFindPlace,    kSeparator, kSymbology};
  return bar;
}

const std::vector<int>& SecondToolBar() {
  using namespace cmd;
  static const std::vector<int> bar = {kFindRoute, kShowRoute,  kDeleteRoute, kSeparator,      kPositionRoute,
                                       kSeparator, kBatchRoute, kSeparator,   kRouteParameters};
  return bar;
}

bool IsToolCommand(int id) {
  using namespace cmd;
  return id == kToolCursor || id == kToolName || id == kToolPosition || id == kToolZoom || id == kToolArea ||
         id == kToolLabel;
}

bool IsCommandAvailable(int id) {
  using namespace cmd;
  static const int available[] = {kOpenDefault, kOpen,          kClose,        kNewWindow,    kToolCursor,
                                  kToolName,    kToolPosition,  kToolZoom,     kToolArea,     kToolLabel,
                                  kExit,        kCascade,       kTile,         kArrangeIcons, kHelpIndex,
                                  kAbout,       kWholeMap,      kRedraw,       kLoadLabels,   kSaveLabels,
                                  kDeleteRoute, kPositionRoute, kSymbology,    kFindPlace,    kShowRoute,
                                  kPreview,     kPrint,         kPrinterSetup, kBatchRoute};
  static const int routePlanning[] = {kFindRoute, kRouteParameters, kRouteFromHere, kRouteToHere, kRouteVia};
  return std::find(std::begin(available), std::end(available), id) != std::end(available) ||
         std::find(std::begin(routePlanning), std::end(routePlanning), id) != std::end(routePlanning);
}

CommandStatus EvaluateCommand(int id, const CommandContext& c) {
  using namespace cmd;
  CommandStatus s;
  switch (id) {
    case kOpen:
    case kPrinterSetup:
    case kLoadLabels:
    case kSaveLabels:
    case kHelpIndex:
    case kAbout:
    case kExit:
    case kCascade:
    case kTile:
    case kArrangeIcons: s.enabled = true; break;
    case kClose:
    case kPreview:
    case kPrint:
    case kNewWindow:
    case kWholeMap:
    case kRedraw:
    case kFindPlace:
    case kSymbology: s.enabled = c.mapWindowActive; break;
    case kToolCursor:
    case kToolName:
    case kToolPosition:
    case kToolZoom:
    case kToolArea:
    case kToolLabel:
      s.enabled = c.mapWindowActive;
      s.checked = c.currentTool == id;
      break;
    case kFindRoute:
    case kRouteParameters:
    case kRouteFromHere:
    case kRouteToHere: s.enabled = c.mapWindowActive && c.roadNetworkLoaded; break;
    case kRouteVia: s.enabled = c.mapWindowActive && c.roadNetworkLoaded && c.viaPointPossible; break;
    case kBatchRoute: s.enabled = c.mapWindowActive && c.roadNetworkLoaded && c.batchPlanningPossible; break;
    case kShowRoute:
    case kDeleteRoute:
    case kPositionRoute: s.enabled = c.mapWindowActive && c.routeExists; break;
    default: break;
  }
  if (!IsCommandAvailable(id)) s.enabled = false;
  return s;
}

}  // namespace koltar
