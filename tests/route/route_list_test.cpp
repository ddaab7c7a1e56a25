#include "route/route_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "route/route_state.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kHeader = "\tTelepülés\tTávolság\tIdő\tKöltség";

ItineraryItem Item(char mark, std::string name, float metres, float hours, float cost) {
  ItineraryItem item;
  item.mark = mark;
  item.name = std::move(name);
  item.distance = metres;
  item.time = hours;
  item.cost = cost;
  return item;
}

TEST(RouteListLine, NamesLongerThanThirtyCharactersAreCut) {
  const std::string thirty(30, 'a');
  EXPECT_EQ(RouteListName(thirty), thirty);
  EXPECT_EQ(RouteListName(thirty + "b"), std::string(27, 'a') + "...");
  EXPECT_EQ(FormatRouteListLine(Item(' ', thirty + "bc", 0, 0, 0)),
            " \t" + std::string(27, 'a') + "...\t  0.0\t00:00\t   0.0");
}

TEST(RouteListLine, FieldsAndTimeTruncatedToMinutes) {
  EXPECT_EQ(FormatRouteListLine(Item(kRoutePointMark, "Szeged", 171234.0f, 1.999f, 12345.67f)),
            "\xBB\tSzeged\t171.2\t01:59\t12345.7");
  EXPECT_EQ(FormatRouteListLine(Item(' ', "Kecskemét", 940.0f, 0.5f, 3.0f)),
            " \tKecskemét\t  0.9\t00:30\t   3.0");
  // A total that is no time has none to show.
  EXPECT_EQ(FormatRouteListLine(Item(' ', "X", 0, 1e38f, 0)).find("--:--"), 10u);
}

class RouteList : public test::ServicesTest {
 protected:
  std::vector<RouteListLine> Planned() {
    net.Request({"Alma", "Cser"});
    EXPECT_GT(net.Plan(kCriterionDistance), 0);
    return RouteListLines(net.path().routeState());
  }

  static std::string Texts(const std::vector<RouteListLine>& lines) {
    std::string out;
    for (const RouteListLine& l : lines)
      out += l.text + "@" + std::to_string(l.settlement) + (l.requested ? "!" : "") + "\n";
    return out;
  }

  test::RouteNet net{
      "type main 1 1 90 10\n"
      "Alma -- Bükk 1500 main\n"
      "Bükk -- x     500 main\n"
      "x    -- Cser 1000 main\n"};
  test::TempDir files;
};

TEST_F(RouteList, OneLinePerShownEntryWithItsSettlement) {
  EXPECT_EQ(Texts(Planned()),
            "\xBB\tAlma\t  0.0\t00:00\t   0.0@0!\n"
            " \tBükk\t  1.5\t00:01\t  15.0@1\n"
            "\xBB\tCser\t  3.0\t00:02\t  30.0@2!\n");
  net.path().routeState().DeleteRoute();
  EXPECT_TRUE(RouteListLines(net.path().routeState()).empty());
}

TEST_F(RouteList, SavedFileHoldsTheTextAndSaysSo) {
  const std::string name = files.Model("utvonal.txt");
  ASSERT_TRUE(SaveRouteList(name, Planned()));
  EXPECT_EQ(files.Read("utvonal.txt").substr(0, 10), "\tTelep\xFCl\xE9s");  // code page 1250
  EXPECT_EQ(files.Read("utvonal.txt"), RouteFileText(Planned()));
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|INFORMATION|Optimális út kiírva '" + name + "' file-ba."}));
  // Without a route only the header is written.
  ASSERT_TRUE(SaveRouteList(name, {}));
  EXPECT_EQ(files.Read("utvonal.txt"), std::string(kHeader) + "\n");
}

// Writes as the real file does until `limit` bytes, then fails.
class FailingFile : public ReplacementFile {
 public:
  explicit FailingFile(std::int64_t limit) : limit_(limit) {}
  std::int64_t Write(const void* bytes, std::int64_t count) override {
    return ReplacementFile::Write(bytes, std::min(count, limit_));
  }

 private:
  std::int64_t limit_;
};

TEST_F(RouteList, FailuresAreReportedAndLeaveTheOldFile) {
  const std::string missing = files.Model("nincs/utvonal.txt");
  EXPECT_FALSE(SaveRouteList(missing, Planned()));
  const std::string old = files.Write("regi.txt", "régi tartalom");
  FailingFile failing(10);
  EXPECT_FALSE(SaveRouteList(old, Planned(), failing));
  EXPECT_EQ(files.Read("regi.txt"), "régi tartalom");
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + missing + "' file nem nyitható meg.",
                   "KOLTAR32|EXCLAMATION|Írás hiba '" + old + "' file-ban."}));
  // Nothing but the old file is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.path()), {}), 1);
}

// A failure at any step of the save (open, write, sync, close, rename) leaves the old
// file byte for byte, and only a save that succeeded says it did.
TEST_F(RouteList, EveryWriteStepThatFailsLeavesTheOldFile) {
  const std::string name = files.Model("regi.txt");
  const std::string saved = RouteFileText(Planned());
  const int steps = test::SweepWriteFaults(
      [&] {
        files.Write("regi.txt", "régi tartalom");
        services.messages.Clear();
      },
      [&] { return SaveRouteList(name, Planned()); },
      [&](bool ok, const test::ScopedWriteFault& fault) {
        EXPECT_EQ(files.Read("regi.txt"), ok ? saved : "régi tartalom");
        const std::string told = ok ? "KOLTAR32|INFORMATION|Optimális út kiírva '" + name + "' file-ba."
                                 : fault.failedStep() == "Open"
                                     ? "KOLTAR32|EXCLAMATION|'" + name + "' file nem nyitható meg."
                                     : "KOLTAR32|EXCLAMATION|Írás hiba '" + name + "' file-ban.";
        EXPECT_EQ(services.messages.Transcript(), Lines{told});
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.path()), {}), 1);
      });
  EXPECT_GE(steps, 4);
}

}  // namespace
}  // namespace koltar
