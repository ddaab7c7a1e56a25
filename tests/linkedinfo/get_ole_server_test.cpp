#include "linkedinfo/get_ole_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace koltar {
namespace {

std::vector<std::string> Names(const GetOLEServer& chooser) {
  std::vector<std::string> names;
  for (std::int32_t row = 0; row < chooser.count(); ++row) names.push_back(chooser.name(row));
  return names;
}

TEST(GetOLEServer, ApplicationsOfTheTypeFirstThenTheOthersEachSorted) {
  const GetOLEServer chooser("/doc/a.txt", {{"z.desktop", "zene", false},
                                            {"e.desktop", "Szerkesztő", true},
                                            {"b.desktop", "böngésző", false},
                                            {"a.desktop", "Arc", false},
                                            {"n.desktop", "jegyzet", true},
                                            {"d.desktop", "Arc", false},  // a name listed already
                                            {"x.desktop", "", false}});
  EXPECT_EQ(Names(chooser), (std::vector<std::string>{"jegyzet", "Szerkesztő", "Arc", "böngésző", "zene"}));
  EXPECT_EQ(chooser.entry(2).id, "a.desktop");
  EXPECT_EQ(chooser.filePath(), "/doc/a.txt");
}

TEST(GetOLEServer, OkOnlyWithSelectionAndDoubleClickChooses) {
  GetOLEServer chooser("/doc/a.txt", {{"a.desktop", "A", false}, {"b.desktop", "B", true}});
  EXPECT_EQ(chooser.selected(), -1);
  EXPECT_FALSE(chooser.okEnabled());
  chooser.Accept();
  EXPECT_EQ(chooser.result(), "");
  chooser.Select(1);
  EXPECT_TRUE(chooser.okEnabled());
  chooser.Select(5);
  EXPECT_FALSE(chooser.okEnabled());
  EXPECT_FALSE(chooser.DoubleClick(-1));
  ASSERT_TRUE(chooser.DoubleClick(1));
  chooser.Accept();
  EXPECT_EQ(chooser.result(), "a.desktop");  // B opens the type and stands first
}

}  // namespace
}  // namespace koltar
