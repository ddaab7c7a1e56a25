#include "route/cost_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/format.h"
#include "tests/route/random_seed.h"

namespace koltar {
namespace {

std::string Show(const RoadType& t) {
  return StringPrintf("[%s] %d %a %a %a", std::string(FixedText(t.name)).c_str(), t.enabled,
                      static_cast<double>(t.distanceFactor), static_cast<double>(t.speed),
                      static_cast<double>(t.unitCost));
}

TEST(CostTable, ACriterionThatSelectsNoWeightIsDistance) {
  EXPECT_EQ(CostTable().criterion(), kCriterionDistance);
  EXPECT_FALSE(CostTable().hasRoadTypes());
  EXPECT_EQ(CostTable({}, kCriterionCost).criterion(), kCriterionCost);
  EXPECT_EQ(CostTable({}, 3).criterion(), kCriterionDistance);
  CostTable table({ParseRoadType("Fő,1,1,110,15")}, kCriterionTime);
  EXPECT_EQ(table.criterion(), kCriterionTime);
  table.SetCriterion(-1);
  EXPECT_EQ(table.criterion(), kCriterionDistance);
  table.SetCriterion(kCriterionCost);
  EXPECT_EQ(table.criterion(), kCriterionCost);
  EXPECT_EQ(table.roadTypeCount(), 1);
}

// A copy is a value of its own: what is edited there reaches the table only when the
// copy is assigned back.
TEST(CostTable, ACopyIsEditedApartAndAssignedBack) {
  CostTable table({ParseRoadType("Fő,1,1,110,15"), ParseRoadType("Mellék,0,1,50,10")}, kCriterionTime);
  CostTable copy = table;
  copy.roadType(0).speed = 90.5f;
  copy.roadType(1).unitCost = 0;
  EXPECT_EQ(table.roadType(0).speed, 110.0f);
  EXPECT_EQ(table.roadType(1).unitCost, 10.0f);
  table = copy;
  EXPECT_EQ(Show(table.roadType(0)), Show(ParseRoadType("Fő,1,1,90.5,15")));
  EXPECT_EQ(Show(table.roadType(1)), Show(ParseRoadType("Mellék,0,1,50,0")));
  EXPECT_EQ(table.criterion(), kCriterionTime);
}

// The route request dialog switches the flags on its copy while the cost dialog may
// change the table itself; on OK only the flags come over.
TEST(CostTable, TakesOnlyTheEnabledFlagsOfAnEditedCopy) {
  CostTable table({ParseRoadType("Fő,1,1,110,15"), ParseRoadType("Mellék,0,1,50,10")}, kCriterionTime);
  CostTable switched = table;
  switched.roadType(0).enabled = 0;
  switched.roadType(1).enabled = 1;
  switched.SetCriterion(kCriterionCost);
  table.roadType(1).speed = 70;  // the cost dialog's change, made meanwhile
  table.TakeEnabledFlags(switched);
  EXPECT_EQ(Show(table.roadType(0)), Show(ParseRoadType("Fő,0,1,110,15")));
  EXPECT_EQ(Show(table.roadType(1)), Show(ParseRoadType("Mellék,1,1,70,10")));
  EXPECT_EQ(table.criterion(), kCriterionTime);

  // A table with fewer types changes only those it has; an empty one nothing.
  table.TakeEnabledFlags(CostTable({ParseRoadType("Fő,1,0,0,0")}));
  EXPECT_EQ(table.roadType(0).enabled, 1);
  EXPECT_EQ(table.roadType(0).speed, 110.0f);
  EXPECT_EQ(table.roadType(1).enabled, 1);
  table.TakeEnabledFlags(CostTable());
  EXPECT_EQ(table.roadType(0).enabled, 1);
}

// ---------------------------------------------------------------------------------
// COSTnn values: read as the C library's "%[^,]%*c%d,%f,%f,%f" reads them, written as
// "%s,%d,%.2f,%.2f,%.2f" writes them, whatever the locale.

RoadType ScanfRoadType(const std::string& value) {
  RoadType t;
  char name[128] = {};
  std::sscanf(value.c_str(), "%[^,]%*c%d,%f,%f,%f", name, &t.enabled, &t.distanceFactor, &t.speed,
              &t.unitCost);
  SetFixedText(t.name, name);
  return t;
}

TEST(RoadTypeText, ReadsAsTheCLibraryDoes) {
  const std::vector<std::string> values = {"Fő út,1,1,110,15",
                                           "?,0,0,0,0",
                                           "Fő út,1,2.5",
                                           "Fő út",
                                           ",1,1,1,1",
                                           "Fő út,",
                                           "Fő út,x",
                                           "Név;1,1,90,10",
                                           "Út,1,1 ,90, 10",
                                           "Út,1,+1.5e1,-3,.5",
                                           "Út,1,1.,90x,10",
                                           "Út,-7,1,2,3",
                                           "Út, 1,1,2,3",
                                           "Út,1, 1,2,3 extra",
                                           "Nagyon hosszú útnév, amely nem fér el a mezőben,1,1,1,1",
                                           "Út,1,1,inf,nan",
                                           "Út,1,1e39,2,3",
                                           "Út,1,-,2,3",
                                           "Út,1,1,,3"};
  for (const std::string& v : values) EXPECT_EQ(Show(ParseRoadType(v)), Show(ScanfRoadType(v))) << v;

  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed);
  const std::string alphabet = "0123456789,,,..-+ ";
  for (int i = 0; i < 3000; ++i) {
    std::string v = "Út,";
    const int n = std::uniform_int_distribution<int>(0, 20)(rng);
    for (int k = 0; k < n; ++k)
      v += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    ASSERT_EQ(Show(ParseRoadType(v)), Show(ScanfRoadType(v))) << v;
  }
}

TEST(RoadTypeText, WritesAsPrintfDoes) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed);
  std::vector<float> values = {0.0f,   0.001f,  0.005f, 0.015f, 0.125f,    1.0f,
                               110.0f, 30.126f, -2.5f,  1e38f,  kUnreached};
  for (int i = 0; i < 2000; ++i)
    values.push_back(std::uniform_real_distribution<float>(-1000.0f, 1000.0f)(rng));
  for (const float v : values) {
    RoadType t;
    SetFixedText(t.name, "Fő út");
    t.enabled = 1;
    t.distanceFactor = v;
    t.speed = v * 3;
    t.unitCost = 0.5f;
    ASSERT_EQ(FormatRoadType(t), StringPrintf("%s,%d,%.2f,%.2f,%.2f", "Fő út", 1, static_cast<double>(v),
                                              static_cast<double>(v * 3), 0.5));
  }
}

}  // namespace
}  // namespace koltar
