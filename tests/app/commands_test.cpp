#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/startup.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

TEST(CommandTable, EveryMenuItemHasItsTextAndHint) {
  int items = 0;
  for (const MenuLayout& menu : MainMenu())
    for (int id : menu.items) {
      if (id == kSeparator) continue;
      ++items;
      const CommandText* t = FindCommandText(id);
      ASSERT_NE(t, nullptr) << id;
      const bool hintless = id == cmd::kExit || id == cmd::kHelpIndex || id == cmd::kAbout;
      EXPECT_EQ(t->hint == nullptr, hintless) << id;
    }
  EXPECT_EQ(items, 30);
  EXPECT_STREQ(FindCommandText(cmd::kExit)->text, "Kilépés a &programból\tAlt+F4");
  EXPECT_STREQ(FindCommandText(cmd::kLoadLabels)->hint, "Megírás poziciók betoltése file-ból");
}

TEST(CommandTable, ToolBarsInTheirOrder) {
  using namespace cmd;
  EXPECT_EQ(
      FirstToolBar(),
      (std::vector<int>{kOpen,     kClose,  0,          kPrint,      kPreview,      0,         kNewWindow,
                        kWholeMap, kRedraw, 0,          kToolCursor, kToolPosition, kToolZoom, kToolArea,
                        kToolName, 0,       kToolLabel, 0,           kFindPlace,    0,         kSymbology}));
  EXPECT_EQ(SecondToolBar(), (std::vector<int>{kFindRoute, kShowRoute, kDeleteRoute, 0, kPositionRoute, 0,
                                               kBatchRoute, 0, kRouteParameters}));
}

TEST(CommandEnabling, WithoutAMapOnlyTheAlwaysCommands) {
  const CommandContext none;
  for (int id : {cmd::kOpen, cmd::kExit, cmd::kCascade, cmd::kTile, cmd::kArrangeIcons})
    EXPECT_TRUE(EvaluateCommand(id, none).enabled) << id;
  for (int id : {cmd::kClose, cmd::kNewWindow, cmd::kToolCursor, cmd::kToolName, cmd::kToolLabel,
                 cmd::kWholeMap, cmd::kFindRoute, cmd::kShowRoute})
    EXPECT_FALSE(EvaluateCommand(id, none).enabled) << id;
}

TEST(CommandEnabling, WithAMapWindowAndTheCurrentTool) {
  CommandContext c;
  c.mapWindowActive = true;
  c.currentTool = cmd::kToolZoom;
  EXPECT_TRUE(EvaluateCommand(cmd::kClose, c).enabled);
  EXPECT_TRUE(EvaluateCommand(cmd::kNewWindow, c).enabled);
  EXPECT_TRUE(EvaluateCommand(cmd::kToolZoom, c).checked);
  EXPECT_FALSE(EvaluateCommand(cmd::kToolCursor, c).checked);
  EXPECT_TRUE(EvaluateCommand(cmd::kToolCursor, c).enabled);
  // Route commands need a loaded road network or a route.
  EXPECT_FALSE(EvaluateCommand(cmd::kDeleteRoute, c).enabled);
}

TEST(CommandEnabling, CommandsNotBuiltYetStayDisabled) {
  CommandContext c;
  c.mapWindowActive = true;
  c.roadNetworkLoaded = true;
  c.routeExists = true;
  c.batchPlanningPossible = true;
  for (int id : {cmd::kPreview, cmd::kPrint, cmd::kPrinterSetup, cmd::kFindPlace, cmd::kSymbology,
                 cmd::kLoadLabels, cmd::kSaveLabels, cmd::kHelpIndex, cmd::kAbout})
    EXPECT_EQ(EvaluateCommand(id, c).enabled, IsCommandAvailable(id)) << id;
}

TEST(Startup, FilesBesideTheExecutable) {
  ProgramFiles f = ProgramFilesOf("E:\\PROG\\MAPVIEW.EXE");
  EXPECT_EQ(f.settings, "E:\\PROG\\MAPVIEW.INI");
  EXPECT_EQ(f.help, "E:\\PROG\\MAPVIEW.HLP");
  f = ProgramFilesOf("/opt/koltar.d/bin/mapview");
  EXPECT_EQ(f.settings, "/opt/koltar.d/bin/mapview.INI");
  const std::string deep = "/" + std::string(200, 'p') + "/koltar";
  EXPECT_EQ(ProgramFilesOf(deep).settings, deep + ".INI");  // no 128-character limit
}

TEST(Startup, PixelSizeFromTheSettingsOrTheScreen) {
  test::ScopedTestServices services;
  test::TempDir dir;
  PixelSize p = ReadPixelSize(dir.Write("a.INI", "[Screen]\nPixelSize=0.28\n"), 96, 96);
  EXPECT_DOUBLE_EQ(p.px, 0.28);
  EXPECT_DOUBLE_EQ(p.py, 0.28);
  p = ReadPixelSize(dir.Write("b.INI", "[Screen]\n"), 96, 120);
  EXPECT_DOUBLE_EQ(p.px, 25.4 / 96);
  EXPECT_DOUBLE_EQ(p.py, 25.4 / 120);
  for (const char* bad : {"abc", "0", "-0.25"}) {
    p = ReadPixelSize(dir.Write("c.INI", std::string("[Screen]\nPixelSize=") + bad + "\n"), 96, 96);
    EXPECT_DOUBLE_EQ(p.px, 25.4 / 96) << bad;
  }
  p = ReadPixelSize(dir.Model("missing.INI"), 72, 72);
  EXPECT_DOUBLE_EQ(p.px, 25.4 / 72);
}

}  // namespace
}  // namespace koltar
