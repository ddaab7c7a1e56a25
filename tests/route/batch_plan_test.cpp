#include "route/batch_plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "route/opt_path.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kHeader = "Település                      Távolság  Idő   Költség";
const std::string kEquals(54, '=');
const std::string kDashes(54, '-');

// Alma - Bükk - Cser on a main road; Dió only reachable over a closed road, Erdő
// nowhere.
constexpr const char* kNet =
    "type main   1 1 90 10\n"
    "type closed 0 1 90 10\n"
    "Alma -- Bükk 1500 main\n"
    "Bükk -- x     500 main\n"
    "x    -- Cser 1000 main\n"
    "Cser -- Dió  1000 closed\n"
    "Erdő -> q      10 main\n";

class BatchPlan : public test::ServicesTest {
 protected:
  BatchResult Run(std::string_view source) {
    return GenerateBatchRoutes(net.path(), net.towns(), net.roads(), SplitTextLines(source));
  }
  // The lines after the header and the '=' rule.
  static Lines Body(const BatchResult& r) {
    EXPECT_GE(r.lines.size(), 2u);
    if (r.lines.size() < 2) return {};
    EXPECT_EQ(r.lines[0], kHeader);
    EXPECT_EQ(r.lines[1], kEquals);
    return Lines(r.lines.begin() + 2, r.lines.end());
  }

  test::RouteNet net{kNet};
};

TEST_F(BatchPlan, BlockGivesItsTitleAndOneLinePerShownEntry) {
  // The last name has no line end and is still the destination.
  const BatchResult r = Run("[Első út]\r\nAlma\r\nCser");
  EXPECT_EQ(r.errorText, "");
  EXPECT_EQ(Body(r), (Lines{"[Első út]", "\xBB Alma                             0.0  00:00     0.0",
                            "  Bükk                             1.5  00:01    15.0",
                            "\xBB Cser                             3.0  00:02    30.0"}));
}

TEST_F(BatchPlan, RulesStandOnlyBetweenBlocks) {
  const BatchResult r =
      Run("Lines before the first title are ignored\n"
          "[1]\n\nAlma\n\nBükk\n"
          "[2]\nBükk\nAlma\n");
  EXPECT_EQ(r.errorText, "");
  const Lines body = Body(r);
  ASSERT_EQ(body.size(), 7u);
  EXPECT_EQ(body[0], "[1]");
  EXPECT_EQ(body[3], kDashes);
  EXPECT_EQ(body[4], "[2]");
  EXPECT_EQ(body[6].substr(0, 6), "\xBB Alma");
}

TEST_F(BatchPlan, TextWithoutTitlePlansNothing) {
  const BatchResult r = Run("Alma\nCser\n");
  EXPECT_EQ(r.lines, (Lines{kHeader, kEquals}));
  EXPECT_EQ(r.errorText, "");
  EXPECT_EQ(Run("").lines, (Lines{kHeader, kEquals}));
}

TEST_F(BatchPlan, FirstProblemEndsTheRunAsTheLastLine) {
  struct Case {
    const char* source;
    Lines body;
  };
  const std::string oneName = "Az útvonal kezdő-, vagy végpontja nincs megadva.";
  const Case cases[] = {
      // One name: the rule follows as lines are left, then the message.
      {"[1]\nAlma\n[2]\nAlma\nBükk\n", {"[1]", kDashes, oneName}},
      {"[1]\nAlma\n", {"[1]", oneName}},
      // Names are compared whole and with letter case; reading stops at once.
      {"[1]\nAlma\nbükk\nCser\n[2]\nAlma\nBükk\n",
       {"[1]", "'bükk' település nem található a program adatbázisában."}},
      {"[1]\nAlma \nBükk\n", {"[1]", "'Alma ' település nem található a program adatbázisában."}},
      // A leg without route: the block's itinerary is not written.
      {"[1]\nAlma\nDió\n[2]\nAlma\nBükk\n",
       {"[1]", kDashes, "'Alma' és 'Dió' között nincs a keresési feltételeket kielégítő útvonal."}},
      {"[1]\nAlma\nBükk\n[2]\nErdő\nAlma\n",
       {"[1]", "\xBB Alma                             0.0  00:00     0.0",
        "\xBB Bükk                             1.5  00:01    15.0", kDashes, "[2]",
        "'Erdő' és 'Alma' között nincs a keresési feltételeket kielégítő útvonal."}},
  };
  for (const Case& c : cases) {
    const BatchResult r = Run(c.source);
    EXPECT_EQ(Body(r), c.body) << c.source;
    EXPECT_EQ(r.errorText, c.body.back()) << c.source;
  }
}

TEST_F(BatchPlan, AtMostThirtyTwoNamesInABlock) {
  std::string source = "[Oda-vissza]\n";
  for (int i = 0; i < 16; ++i) source += "Alma\nBükk\n";
  BatchResult r = Run(source);
  EXPECT_EQ(r.errorText, "");
  EXPECT_EQ(Body(r).size(), 33u);  // title and 32 entries

  r = Run(source + "Alma\n");
  EXPECT_EQ(Body(r),
            (Lines{"[Oda-vissza]", "Egy útvonalon belül a csomópontok száma nem lehet több, mint 32."}));
  // The name is looked up first.
  r = Run(source + "Alom\n");
  EXPECT_EQ(r.errorText, "'Alom' település nem található a program adatbázisában.");
}

TEST_F(BatchPlan, NamesArePaddedOrCutToThirtyCharacters) {
  test::RouteNet longNames(
      "type main 1 1 90 10\n"
      "Aaaaaaaaaabbbbbbbbbbccccccccccdddd -- Rövid 2360 main\n");
  const BatchResult r =
      GenerateBatchRoutes(longNames.path(), longNames.towns(), longNames.roads(),
                          SplitTextLines("[x]\nAaaaaaaaaabbbbbbbbbbccccccccccdddd\nRövid\n"));
  EXPECT_EQ(Body(r), (Lines{"[x]", "\xBB Aaaaaaaaaabbbbbbbbbbcccccccccc   0.0  00:00     0.0",
                            "\xBB Rövid                            2.4  00:01    23.6"}));
}

TEST_F(BatchPlan, UsesTheNetworksCriterion) {
  test::RouteNet twoWays(
      "type fast 1 1 120 10\n"
      "type slow 1 1 20 10\n"
      "Alma -- Bükk 1000 slow\n"
      "Alma -- Cser 1000 fast\n"
      "Cser -- Bükk 1000 fast\n");
  const auto run = [&] {
    return GenerateBatchRoutes(twoWays.path(), twoWays.towns(), twoWays.roads(),
                               SplitTextLines("[x]\nAlma\nBükk"));
  };
  twoWays.path().costTable().SetCriterion(kCriterionDistance);
  EXPECT_EQ(Body(run()).size(), 3u);
  twoWays.path().costTable().SetCriterion(kCriterionTime);
  const Lines body = Body(run());
  ASSERT_EQ(body.size(), 4u);
  EXPECT_EQ(body[2].substr(0, 6), "  Cser");
}

TEST_F(BatchPlan, RoutePointsComeBackAndNoRouteIsLeft) {
  net.Request({"Cser", "x", "Alma"});
  ASSERT_EQ(Run("[1]\nAlma\nBükk\n").errorText, "");
  EXPECT_EQ(net.path().routeState().stepCount(), 0);
  EXPECT_EQ(net.path().routeState().itinerary(), nullptr);
  ASSERT_EQ(net.path().routeState().request().routePointCount(), 3);
  EXPECT_EQ(net.path().routeState().request().routePoint(0).node, net.Node("Cser"));
  EXPECT_EQ(std::string(FixedText(net.path().routeState().request().routePoint(1).name)), "x");
  EXPECT_EQ(net.path().routeState().request().routePoint(2).node, net.Node("Alma"));
}

// One ESC stops the run, also when the search is the loop that sees it.
TEST_F(BatchPlan, EscapeDuringASearchEndsTheRunSilently) {
  services.progress.PressEscAtPoll(2);  // 1: before block 1; 2: before its first leg
  const BatchResult r = Run("[1]\nAlma\nBükk\n[2]\nAlma\nBükk\n");
  EXPECT_EQ(Body(r), (Lines{"[1]", kDashes}));
  EXPECT_EQ(r.errorText, "");
  EXPECT_EQ(services.progress.depth(), 0);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST(RouteTime, HoursAndTruncatedMinutes) {
  EXPECT_EQ(FormatRouteTime(0.0f), "00:00");
  EXPECT_EQ(FormatRouteTime(1.999f), "01:59");
  EXPECT_EQ(FormatRouteTime(0.5f), "00:30");
  EXPECT_EQ(FormatRouteTime(0.25f), "00:15");
  EXPECT_EQ(FormatRouteTime(123.75f), "123:45");
  // A total over an impassable road (speed 0) has no time.
  EXPECT_EQ(FormatRouteTime(kUnreached), "--:--");
  EXPECT_EQ(FormatRouteTime(std::numeric_limits<float>::infinity()), "--:--");
  EXPECT_EQ(FormatRouteTime(std::nanf("")), "--:--");
}

TEST(BatchText, LinesOfAMultiLineText) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitTextLines("a\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitTextLines(""), (Lines{""}));
  EXPECT_EQ(SplitTextLines("a\rb\r"), (Lines{"a\rb\r"}));  // only a CR before a LF ends a line
  EXPECT_EQ(JoinTextLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

class BatchFiles : public test::ServicesTest {
 protected:
  test::TempDir dir;
};

TEST_F(BatchFiles, ResultWrittenLineByLineAndSourceReadWhole) {
  const std::string file = dir.Model("terv.txt");
  ASSERT_TRUE(WriteBatchResult(file, {kHeader, "", "\xBB Alma"}));
  EXPECT_EQ(dir.Read("terv.txt"), std::string(kHeader) + "\n\n\xBB Alma\n");
  std::string text;
  ASSERT_TRUE(ReadBatchSource(file, text));
  EXPECT_EQ(text, dir.Read("terv.txt"));
  EXPECT_TRUE(services.messages.messages().empty());
}

// A result file is replaced whole: a failure at any step of the write leaves the
// previous plan byte for byte and says which file could not be written.
TEST_F(BatchFiles, AFailedWriteLeavesThePreviousResult) {
  const std::string file = dir.Model("terv.txt");
  const std::string planned = std::string(kHeader) + "\n\xBB Alma\n";
  const int steps = test::SweepWriteFaults(
      [&] {
        dir.Write("terv.txt", "previous plan\n");
        services.messages.Clear();
      },
      [&] {
        return WriteBatchResult(file, {kHeader, "\xBB Alma"});
      },
      [&](bool ok, const test::ScopedWriteFault& fault) {
        EXPECT_EQ(dir.Read("terv.txt"), ok ? planned : "previous plan\n");
        const std::string text = fault.failedStep() == "Open" ? "'" + file + "' file nem nyitható meg."
                                                              : "\xCDrás hiba '" + file + "' file-ban.";
        EXPECT_EQ(services.messages.Transcript(), ok ? Lines{} : Lines{"KOLTAR32|EXCLAMATION|" + text});
      });
  EXPECT_EQ(steps, 5);
}

TEST_F(BatchFiles, FilesThatCannotBeOpened) {
  const std::string missing = dir.Model("nincs/terv.txt");
  EXPECT_FALSE(WriteBatchResult(missing, {"x"}));
  std::string text = "old";
  EXPECT_FALSE(ReadBatchSource(missing, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + missing + "' file nem nyitható meg.",
                   "KOLTAR32|EXCLAMATION|'" + missing + "' file nem nyitható meg."}));
  // A folder opens but cannot be read.
  EXPECT_FALSE(ReadBatchSource(dir.Model(), text));
  EXPECT_EQ(services.messages.Transcript().back(),
            "KOLTAR32|EXCLAMATION|Olvasás hiba '" + dir.Model() + "' file-ban.");
}

}  // namespace
}  // namespace koltar
