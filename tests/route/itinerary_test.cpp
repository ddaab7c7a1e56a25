#include "route/itinerary.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/binary.h"
#include "route/opt_path.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

// Entries written as "S A *A A T" ('*' marks a route point); the result lists the shown
// names, marked ones with '*'.
std::string Merged(const std::string& names) {
  std::istringstream in(names);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  MultipleNodeFilter f(static_cast<std::int32_t>(words.size()));
  for (const std::string& w : words) {
    const bool marked = w[0] == '*';
    EXPECT_TRUE(f.Add(marked ? kRoutePointMark : kNoMark, marked ? w.substr(1) : w, 0, 0, 0, 0));
  }
  f.MergeRepeatedNames();
  std::string out;
  for (std::int32_t i = 0; i < f.count(); ++i) {
    if (!f.Shown(i)) continue;
    if (!out.empty()) out += " ";
    if (f.Mark(i) == kRoutePointMark) out += '*';
    out += f.Name(i);
  }
  return out;
}

TEST(Itinerary, MergesRepeatedNames) {
  EXPECT_EQ(Merged("*S A A A *T"), "*S A *T");    // listed once, first reached
  EXPECT_EQ(Merged("*S A A *A"), "*S *A");        // the destination, with the final totals
  EXPECT_EQ(Merged("*S A *A A *T"), "*S *A *T");  // the route point is the one listed
  EXPECT_EQ(Merged("*S *A A A *T"), "*S *A *T");
  EXPECT_EQ(Merged("*S A *A *A *T"), "*S *A *A *T");  // two route points both stay
  EXPECT_EQ(Merged("*S S S *T"), "*S *T");            // the start is never hidden
  EXPECT_EQ(Merged("*S A B A *T"), "*S A B A *T");    // only neighbours merge
  EXPECT_EQ(Merged("*S *S"), "*S *S");
  EXPECT_EQ(Merged("*S"), "*S");
  EXPECT_EQ(Merged("*S a A *T"), "*S a A *T");  // letter case counts
}

TEST(Itinerary, EntriesAreSeventyBytes) {
  MultipleNodeFilter f(2);
  const std::string longName(60, 'x');
  ASSERT_TRUE(f.Add(kRoutePointMark, longName, 17, 1.5f, 0.25f, 30.0f));
  ASSERT_TRUE(f.Add(kNoMark, "Bükk", -1, 0, 0, 0));
  EXPECT_FALSE(f.Add(kNoMark, "full", 0, 0, 0, 0));
  EXPECT_EQ(f.count(), 2);
  EXPECT_EQ(f.Name(0), std::string(48, 'x'));
  const std::uint8_t* r = f.Record(0);
  EXPECT_EQ(ReadI32(r), 1);
  EXPECT_EQ(r[4], 0xBB);
  EXPECT_EQ(r[5 + 47], 'x');
  EXPECT_EQ(r[53], 0);
  EXPECT_EQ(ReadI32(r + 54), 17);
  EXPECT_EQ(ReadF32(r + 58), 1.5f);
  EXPECT_EQ(ReadF32(r + 62), 0.25f);
  EXPECT_EQ(ReadF32(r + 66), 30.0f);
  EXPECT_EQ(f.Record(1) - r, 70);
}

class ItineraryEntry : public test::ServicesTest {};

TEST_F(ItineraryEntry, WithoutItineraryOrPastItsEnd) {
  test::RouteNet net("type main 1 1 90 10\nAlma -- x 100 main\nx -- Bükk 100 main\n");
  ItineraryItem item;
  item.name = "old";
  EXPECT_EQ(net.path().routeState().GetItineraryEntry(0, item), 0);
  EXPECT_EQ(item.mark, ' ');
  EXPECT_EQ(item.name, "");
  EXPECT_EQ(item.settlement, -1);
  EXPECT_EQ(item.distance, 0.0f);

  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 2);
  ASSERT_NE(net.path().routeState().itinerary(), nullptr);
  EXPECT_EQ(net.path().routeState().itinerary()->count(), 2);  // the junction adds nothing
  EXPECT_EQ(net.path().routeState().GetItineraryEntry(1, item), 1);
  EXPECT_EQ(item.mark, kRoutePointMark);
  EXPECT_EQ(item.name, "Bükk");
  EXPECT_EQ(item.settlement, 1);
  EXPECT_EQ(item.distance, 200.0f);
  EXPECT_FLOAT_EQ(item.time, 0.2f / 90);
  EXPECT_FLOAT_EQ(item.cost, 2.0f);
  EXPECT_EQ(net.path().routeState().GetItineraryEntry(2, item), 0);
  EXPECT_EQ(net.path().routeState().GetItineraryEntry(-1, item), 0);

  net.path().routeState().DeleteRoute();
  EXPECT_EQ(net.path().routeState().stepCount(), 0);
  EXPECT_EQ(net.path().routeState().itinerary(), nullptr);
}

// A route that starts at a junction lists the junction first, without a name.
TEST_F(ItineraryEntry, StartAtAJunction) {
  test::RouteNet net("type main 1 1 90 10\nx -- Alma 100 main\n");
  net.Request({"x", "Alma"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_EQ(net.Itinerary(), "» 0, »Alma 100");
  ItineraryItem item;
  EXPECT_EQ(net.path().routeState().GetItineraryEntry(0, item), 1);
  EXPECT_EQ(item.settlement, -1);
}

}  // namespace
}  // namespace koltar
