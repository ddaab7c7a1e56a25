#include "route/opt_path_batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using Button = OptPathBatch::Button;
using Lines = std::vector<std::string>;

const std::string kHeader =
    "Település                      Távolság  Idő   Költség\r\n" + std::string(54, '=') + "\r\n";

// Alma to Cser: 2.5 km straight on a slow road, or 3 km faster through Bükk.
constexpr const char* kNet =
    "type main 1 1 90 10\n"
    "type slow 1 1 10 10\n"
    "Alma -- Bükk 1500 main\n"
    "Bükk -- x     500 main\n"
    "x    -- Cser 1000 main\n"
    "Alma -- Cser 2500 slow\n";

class BatchDialog : public test::ServicesTest {
 protected:
  OptPathBatch Open(OptPathBatch::FileChoosers choosers = {}) {
    return OptPathBatch(net.path(), net.towns(), net.roads(), std::move(choosers), owner);
  }
  // The settlements of the result text's itinerary lines, "Alma Cser".
  static std::string Route(const std::string& result) {
    std::string names;
    for (const std::string& line : TextLines(result)) {
      if (line.size() < 32 || (line[0] != ' ' && line[0] != '\xBB') || line[1] != ' ') continue;
      std::string name = line.substr(2, 30);
      name.erase(name.find_last_not_of(' ') + 1);
      names += (names.empty() ? "" : " ") + name;
    }
    return names;
  }

  test::RouteNet net{kNet};
  test::TempDir dir;
  int ownerWindow = 0;
  WindowHandle owner = &ownerWindow;
};

TEST_F(BatchDialog, OpensOnTheRememberedFilesAndTheCriterion) {
  net.path().SetBatchSourceFile("/data/utak.dat");
  net.path().SetBatchTargetFile("/data/tervek.txt");
  net.path().costTable().SetCriterion(kCriterionCost);
  OptPathBatch dialog = Open();
  EXPECT_EQ(dialog.sourceFile(), "/data/utak.dat");
  EXPECT_EQ(dialog.targetFile(), "/data/tervek.txt");
  EXPECT_EQ(dialog.criterion(), kCriterionCost);
  EXPECT_FALSE(dialog.Enabled(Button::Generate));
  EXPECT_FALSE(dialog.Enabled(Button::Save));
  dialog.SetSourceText("[1]");
  EXPECT_TRUE(dialog.Enabled(Button::Generate));
  dialog.SetResultText("x");
  EXPECT_TRUE(dialog.Enabled(Button::Save));
}

TEST_F(BatchDialog, LoadsTheNamedFileAsLinesOfTheEdit) {
  OptPathBatch dialog = Open({[] { return std::optional<std::string>("not asked"); }, nullptr});
  // Code page 1250 with bare line feeds, the last line without one.
  dialog.SetSourceFile(dir.Write("utak.dat", "[1]\nAlma\n\nBükk"));
  dialog.Load();
  EXPECT_EQ(dialog.sourceText(), "[1]\r\nAlma\r\n\r\nBükk\r\n");
  // UTF-8 (with a byte order mark) is read as such; ASCII is the same either way.
  dialog.SetSourceFile(dir.Write("utf8.dat", "\xEF\xBB\xBF[2]\r\nB\xC3\xBCkk\r\n"));
  dialog.Load();
  EXPECT_EQ(dialog.sourceText(), "[2]\r\nBükk\r\n");
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(BatchDialog, LoadAsksForAFileOnlyWithoutName) {
  int asked = 0;
  std::optional<std::string> answer;
  OptPathBatch dialog = Open({[&] {
                                ++asked;
                                return answer;
                              },
                              nullptr});
  dialog.SetSourceText("kept");
  dialog.Load();  // cancelled: nothing changes
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(dialog.sourceText(), "kept");
  answer = dir.Write("chosen.dat", "[c]\n");
  dialog.Load();
  EXPECT_EQ(dialog.sourceFile(), *answer);
  EXPECT_EQ(dialog.sourceText(), "[c]\r\n");
}

TEST_F(BatchDialog, MissingSourceFileIsToldAndEmptiesTheText) {
  OptPathBatch dialog = Open();
  dialog.SetSourceText("[1]\r\n");
  dialog.SetSourceFile(dir.Model("nincs.dat"));
  dialog.Load();
  EXPECT_EQ(dialog.sourceText(), "");
  ASSERT_EQ(services.messages.messages().size(), 1u);
  EXPECT_EQ(services.messages.Transcript()[0],
            "KOLTAR32|EXCLAMATION|'" + dir.Model("nincs.dat") + "' file nem nyitható meg.");
  EXPECT_EQ(services.messages.messages()[0].owner, owner);
}

TEST_F(BatchDialog, RunsWithTheShownCriterionAndLeavesTheNetworkAsItWas) {
  net.Request({"Cser", "Bükk"});
  OptPathBatch dialog = Open();
  dialog.SetSourceText("[1]\r\nAlma\r\nCser\r\n");
  dialog.Generate();
  EXPECT_EQ(Route(dialog.resultText()), "Alma Cser");
  EXPECT_EQ(dialog.resultText().substr(0, kHeader.size()), kHeader);
  dialog.SetCriterion(kCriterionTime);
  dialog.Generate();
  EXPECT_EQ(Route(dialog.resultText()), "Alma Bükk Cser");
  // The network keeps its own criterion until the dialog closes, and no route.
  EXPECT_EQ(net.path().costTable().criterion(), kCriterionDistance);
  EXPECT_EQ(net.path().routeState().stepCount(), 0);
  ASSERT_EQ(net.path().routeState().request().routePointCount(), 2);
  EXPECT_EQ(net.path().routeState().request().routePoint(0).node, net.Node("Cser"));
}

TEST_F(BatchDialog, RoadTypeSwitchesActOnTheNetworkAtOnce) {
  OptPathBatch dialog = Open();
  ASSERT_EQ(dialog.roadTypeCount(), 2);
  EXPECT_EQ(dialog.roadTypeName(1), "slow");
  dialog.ToggleRoadType(1);
  EXPECT_EQ(net.path().costTable().roadType(1).enabled, 0);
  dialog.SetSourceText("[1]\r\nAlma\r\nCser\r\n");
  dialog.Generate();
  EXPECT_EQ(Route(dialog.resultText()), "Alma Bükk Cser");
  dialog.DisableAllRoadTypes();
  dialog.Generate();
  EXPECT_EQ(Route(dialog.resultText()), "");
  EXPECT_NE(dialog.resultText().find("nincs a keresési feltételeket kielégítő útvonal."), std::string::npos);
  dialog.EnableAllRoadTypes();
  EXPECT_TRUE(dialog.roadTypeEnabled(0) && dialog.roadTypeEnabled(1));
}

TEST_F(BatchDialog, OneEscapeStopsTheWholeRun) {
  OptPathBatch dialog = Open();
  dialog.SetSourceText("[1]\r\nAlma\r\nCser\r\n[2]\r\nBükk\r\nCser\r\n");
  services.progress.PressEscAtPoll(2);  // during the first block's search
  dialog.Generate();
  EXPECT_EQ(dialog.resultText(), kHeader + "[1]\r\n" + std::string(54, '-') + "\r\n");
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(BatchDialog, SavesAtomicallyInCodePage1250WithCrLf) {
  OptPathBatch dialog = Open();
  dialog.SetResultText("Település\r\n\xBB Győr\nvége\r\n");
  const std::string target = dir.Model("terv.txt");
  dialog.SetTargetFile(target);
  EXPECT_TRUE(dialog.Save());  // a new file: no question
  EXPECT_EQ(dir.Read("terv.txt"), "Település\r\n\xBB Győr\r\nvége\r\n");
  EXPECT_TRUE(services.messages.messages().empty());

  // An existing file: asked first; No keeps it, Yes replaces it.
  dialog.SetResultText("új\r\n");
  services.messages.Answer(MessageAnswer::No);
  EXPECT_FALSE(dialog.Save());
  ASSERT_EQ(services.messages.messages().size(), 1u);
  EXPECT_EQ(services.messages.Transcript()[0],
            "KOLTAR32|QUESTION|'" + target + "' file már létezik. Felülírható?");
  EXPECT_EQ(dir.Read("terv.txt"), "Település\r\n\xBB Győr\r\nvége\r\n");
  services.messages.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(dialog.Save());
  EXPECT_EQ(dir.Read("terv.txt"), "új\r\n");
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(BatchDialog, SaveWithoutNameAsksAndTellsAFileThatCannotBeMade) {
  std::optional<std::string> answer;
  OptPathBatch dialog = Open({nullptr, [&] { return answer; }});
  dialog.SetResultText("x\r\n");
  EXPECT_FALSE(dialog.Save());  // cancelled
  EXPECT_EQ(dialog.targetFile(), "");
  answer = dir.Model("nincs/terv.txt");
  EXPECT_FALSE(dialog.Save());
  EXPECT_EQ(dialog.targetFile(), *answer);
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + *answer + "' file nem nyitható meg."}));
}

TEST_F(BatchDialog, CloseStoresTheChoicesAndPutsTheRoutePointsBack) {
  net.Request({"Bükk", "Cser"});
  {
    OptPathBatch dialog = Open();
    dialog.SetSourceFile("be.dat");
    dialog.SetTargetFile("ki.txt");
    dialog.SetCriterion(kCriterionTime);
    dialog.SetCriterion(7);  // not one of the list's: ignored
    // Something else overwrote the request meanwhile.
    net.Request({"Alma", "x", "Cser"});
    dialog.Close();
  }
  EXPECT_EQ(net.path().batchSourceFile(), "be.dat");
  EXPECT_EQ(net.path().batchTargetFile(), "ki.txt");
  EXPECT_EQ(net.path().costTable().criterion(), kCriterionTime);
  ASSERT_EQ(net.path().routeState().request().routePointCount(), 2);
  EXPECT_EQ(net.path().routeState().request().routePoint(0).node, net.Node("Bükk"));
}

TEST(BatchSource, Utf8IsConvertedAndEverythingElseIsCodePage1250) {
  EXPECT_EQ(BatchSourceText("[1]\nGy\xC5\x91r\n"), "[1]\nGyőr\n");
  EXPECT_EQ(BatchSourceText("\xEF\xBB\xBF[1]"), "[1]");
  EXPECT_EQ(BatchSourceText("Győr"), "Győr");  // code page 1250 bytes are no valid UTF-8
  EXPECT_EQ(BatchSourceText("plain"), "plain");
}

}  // namespace
}  // namespace koltar
