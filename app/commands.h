#pragma once
// The program's commands: numbers, menu texts, hints, the menu and tool-bar layout, and
// when each command is enabled. Plain data and rules, no windows.

#include <string_view>
#include <vector>

namespace koltar {

namespace cmd {
inline constexpr int kOpenDefault = 1000;  // internal, posted at start-up
inline constexpr int kOpen = 1001;
inline constexpr int kClose = 1002;
inline constexpr int kPreview = 1003;
inline constexpr int kPrint = 1004;
inline constexpr int kPrinterSetup = 1005;
inline constexpr int kNewWindow = 1006;
inline constexpr int kToolCursor = 1007;
inline constexpr int kToolName = 1008;
inline constexpr int kToolPosition = 1009;
inline constexpr int kToolZoom = 1010;
inline constexpr int kToolArea = 1011;
inline constexpr int kWholeMap = 1012;
inline constexpr int kRedraw = 1013;
inline constexpr int kFindPlace = 1014;
inline constexpr int kSymbology = 1015;
inline constexpr int kToolLabel = 1016;
inline constexpr int kLoadLabels = 1017;
inline constexpr int kSaveLabels = 1018;
inline constexpr int kFindRoute = 1019;
inline constexpr int kShowRoute = 1020;
inline constexpr int kDeleteRoute = 1021;
inline constexpr int kPositionRoute = 1022;
inline constexpr int kBatchRoute = 1023;
inline constexpr int kRouteParameters = 1024;
inline constexpr int kHelpIndex = 1025;
inline constexpr int kAbout = 1026;
// Route points at the middle of the active map window (the map window's own menu sets
// them at the clicked place).
inline constexpr int kRouteFromHere = 1031;
inline constexpr int kRouteToHere = 1032;
inline constexpr int kRouteVia = 1033;
// The linked information of the object under the name tool (the map window's own menu).
inline constexpr int kAttachInfo = 1101;
inline constexpr int kShowInfo = 1102;
inline constexpr int kRemoveInfo = 1103;
inline constexpr int kExit = 1999;
inline constexpr int kCascade = 24361;
inline constexpr int kTile = 24362;
inline constexpr int kArrangeIcons = 24364;
}  // namespace cmd

inline constexpr int kSeparator = 0;

// Texts are UTF-8 (this is user-interface code); "&" marks the accelerator letter.
struct CommandText {
  int id;
  const char* text;
  const char* hint;  // nullptr: none
};

struct SubMenuLayout {
  const char* title;
  std::vector<int> items;  // command numbers
};

struct MenuLayout {
  const char* title;
  std::vector<int> items;                    // command numbers, kSeparator between groups
  std::vector<SubMenuLayout> subMenus = {};  // after the items, each after a separator
};

const std::vector<CommandText>& CommandTexts();
const CommandText* FindCommandText(int id);
const std::vector<MenuLayout>& MainMenu();

// The two tool bars, kSeparator between groups.
const std::vector<int>& FirstToolBar();
const std::vector<int>& SecondToolBar();

// The mouse tools: one radio group, exactly one of them chosen.
bool IsToolCommand(int id);

// What the enabling rules look at.
struct CommandContext {
  bool mapWindowActive = false;
  bool roadNetworkLoaded = false;      // the active map's road network has nodes and edges
  bool batchPlanningPossible = false;  // settlement category unset or without house numbers
  bool routeExists = false;            // the active map's road network holds a route
  bool viaPointPossible = false;       // its request has a start, a destination and room
  int currentTool = cmd::kToolCursor;
};

struct CommandStatus {
  bool enabled = false;
  bool checked = false;
};

// Enabled and checked state of a command. Commands whose work is not built yet are
// never enabled (see IsCommandAvailable).
CommandStatus EvaluateCommand(int id, const CommandContext& context);

// True for the commands this build carries out.
bool IsCommandAvailable(int id);

}  // namespace koltar
