#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/startup.h"
#include "platform/paths.h"
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

TEST(CommandEnabling, BatchPlanningNeedsTheNetworkAndPlainSettlementNames) {
  CommandContext c;
  c.mapWindowActive = true;
  c.roadNetworkLoaded = true;
  c.batchPlanningPossible = true;
  EXPECT_TRUE(EvaluateCommand(cmd::kBatchRoute, c).enabled);
  c.batchPlanningPossible = false;  // settlements with house numbers
  EXPECT_FALSE(EvaluateCommand(cmd::kBatchRoute, c).enabled);
  c.batchPlanningPossible = true;
  c.roadNetworkLoaded = false;
  EXPECT_FALSE(EvaluateCommand(cmd::kBatchRoute, c).enabled);
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

TEST(Startup, CommandLineOptionsAndMaps) {
  using Action = CommandLine::Action;
  CommandLine c = ParseCommandLine({});
  EXPECT_EQ(c.action, Action::Run);
  EXPECT_TRUE(c.files.empty());
  c = ParseCommandLine({"a.map", "dir/b.map", "-"});
  EXPECT_EQ(c.action, Action::Run);
  EXPECT_EQ(c.files, (std::vector<std::string>{"a.map", "dir/b.map", "-"}));
  // Help and version win, wherever they stand; "--" makes the rest file names.
  EXPECT_EQ(ParseCommandLine({"a.map", "--help"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"-h"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"--bogus", "--version"}).action, Action::Version);
  c = ParseCommandLine({"--", "--help", "-x.map"});
  EXPECT_EQ(c.action, Action::Run);
  EXPECT_EQ(c.files, (std::vector<std::string>{"--help", "-x.map"}));
  c = ParseCommandLine({"a.map", "-platform", "xcb"});
  EXPECT_EQ(c.action, Action::Error);
  EXPECT_EQ(c.error, "-platform");
  // The help names every option it knows.
  EXPECT_NE(CommandLineHelp().find("--help"), std::string_view::npos);
  EXPECT_NE(CommandLineHelp().find("--version"), std::string_view::npos);
  EXPECT_EQ(VersionText().rfind("koltar ", 0), 0u);
}

TEST(Startup, BuildTreeKeepsTheSettingsBesideTheExecutable) {
  test::TempDir dir;
  dir.Write("build/app/koltar", "");
  dir.Write("build/share/koltar/koltar.INI", "[MAP]\n");  // not in bin/: no installed layout
  const ProgramFiles f = LocateProgramFiles(dir.path() / "build/app/koltar", dir.path() / "config");
  EXPECT_EQ(f.settings, dir.Model("build/app/koltar.INI"));
  EXPECT_EQ(f.help, dir.Model("build/app/koltar.HLP"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "config"));
  EXPECT_FALSE(ProgramPlaceOf(dir.path() / "usr/bin/koltar").installed);  // no installed default
}

TEST(Startup, InstalledProgramMakesTheUserSettingsFromTheDefaultOnce) {
  test::ScopedTestServices services;
  test::TempDir dir;
  dir.Write("usr/bin/koltar", "");
  dir.Write("usr/share/koltar/koltar.INI", "[MAP]\nDEFAULT=samples/hungary/hungary.map\n[Screen]\n");
  const ProgramPlace place = ProgramPlaceOf(dir.path() / "usr/bin/koltar");
  ASSERT_TRUE(place.installed);
  EXPECT_EQ(place.dataDirectory, dir.path() / "usr/share/koltar");

  const std::filesystem::path config = dir.path() / "home/.config/koltar";
  ProgramFiles f = LocateProgramFiles(dir.path() / "usr/bin/koltar", config);
  EXPECT_EQ(f.settings, dir.Model("home/.config/koltar/koltar.INI"));
  EXPECT_EQ(LocalFileName(f.help), dir.path() / "usr/share/koltar/koltar.HLP");
  // The default map named in full; the rest as installed.
  EXPECT_EQ(dir.Read("home/.config/koltar/koltar.INI"),
            "[MAP]\nDEFAULT=" + dir.Model("usr/share/koltar") + "/samples/hungary/hungary.map\n[Screen]\n");

  // From then on the file is the user's: it is not made anew.
  dir.Write("home/.config/koltar/koltar.INI", "[MAP]\nDEFAULT=/maps/mine.map\n");
  f = LocateProgramFiles(dir.path() / "usr/bin/koltar", config);
  EXPECT_EQ(dir.Read("home/.config/koltar/koltar.INI"), "[MAP]\nDEFAULT=/maps/mine.map\n");

  // The welcome screen's files of the data directory are named in full too.
  dir.Write(
      "usr/share/koltar/koltar.INI",
      "[MAP]\nDEFAULT=/srv/maps/a.map\n[WELCOME]\nPICTURE=welcome/w.bmp\nDISPLAYTIME=2\nSOUND=/snd/w.wav\n");
  ASSERT_TRUE(MakeUserSettings(dir.path() / "welcome/koltar.INI", dir.path() / "usr/share/koltar/koltar.INI",
                               place.dataDirectory));
  EXPECT_EQ(dir.Read("welcome/koltar.INI"),
            "[MAP]\nDEFAULT=/srv/maps/a.map\n[WELCOME]\nPICTURE=" + dir.Model("usr/share/koltar") +
                "/welcome/w.bmp\nDISPLAYTIME=2\nSOUND=/snd/w.wav\n");

  // A default that names its map in full is copied as it is.
  dir.Write("usr/share/koltar/koltar.INI", "[MAP]\nDEFAULT=/srv/maps/a.map\n");
  ASSERT_TRUE(MakeUserSettings(dir.path() / "other/koltar.INI", dir.path() / "usr/share/koltar/koltar.INI",
                               place.dataDirectory));
  EXPECT_EQ(dir.Read("other/koltar.INI"), "[MAP]\nDEFAULT=/srv/maps/a.map\n");
  // Where the user's folder cannot be made, the installed default is read instead.
  dir.Write("blocked", "");
  f = LocateProgramFiles(dir.path() / "usr/bin/koltar", dir.path() / "blocked/koltar");
  EXPECT_EQ(LocalFileName(f.settings), dir.path() / "usr/share/koltar/koltar.INI");
}

}  // namespace
}  // namespace koltar
