// The cost settings dialog's behaviour: its list lines, the fields of the selected road
// type, when a typed value is taken, and what OK and cancelling leave in the table.

#include "route/set_cost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/help.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

class RecordingHelp final : public HelpService {
 public:
  void ShowIndex(const std::string&) override {}
  void ShowContext(const std::string&, int context) override { contexts.push_back(context); }
  void ShowKeyword(const std::string&, const std::string&) override {}
  void Quit() override {}
  std::vector<int> contexts;
};

RoadType Type(const char* name, float speed, float cost) {
  RoadType t;
  SetFixedText(t.name, name);
  t.enabled = 1;
  t.distanceFactor = 1;
  t.speed = speed;
  t.unitCost = cost;
  return t;
}

class SetCostTest : public test::ServicesTest {
 protected:
  CostTable table{{Type("Főút", 90, 20), Type("Földút", 20, 5)}, kCriterionTime};
};

TEST_F(SetCostTest, ListLinesAndTheSelectedTypesFields) {
  SetCost dialog(table);
  ASSERT_EQ(dialog.lineCount(), 2);
  EXPECT_EQ(dialog.Line(0), "Főút\t  90.00\t  20.00");
  EXPECT_EQ(dialog.selected(), -1);
  EXPECT_EQ(dialog.label(), "");
  dialog.Select(1);
  EXPECT_EQ(dialog.label(), "Földút:");
  EXPECT_EQ(dialog.speedText(), "20.00");
  EXPECT_EQ(dialog.costText(), "5.00");
  dialog.Select(-1);
  EXPECT_EQ(dialog.label(), "");
  EXPECT_EQ(dialog.speedText(), "");
  EXPECT_EQ(dialog.costText(), "");
}

// A field's text is taken when it loses the focus: read as a number ("abc" is 0), shown
// with two decimals in the list, kept whole in the table. The list is filled again and
// loses its selection, while further edits still go to the same road type.
TEST_F(SetCostTest, LeavingAFieldStoresItsNumber) {
  SetCost dialog(table);
  dialog.Select(0);
  const int version = dialog.listVersion();
  dialog.EditSpeed("12.345");
  EXPECT_EQ(dialog.Line(0), "Főút\t  90.00\t  20.00");  // not taken yet
  dialog.LeaveSpeed();
  EXPECT_EQ(dialog.Line(0), "Főút\t  12.35\t  20.00");
  EXPECT_GT(dialog.listVersion(), version);
  EXPECT_EQ(dialog.listSelection(), -1);
  EXPECT_EQ(dialog.selected(), 0);
  EXPECT_EQ(dialog.speedText(), "12.345");
  dialog.EditCost("abc");
  dialog.LeaveCost();
  EXPECT_EQ(dialog.Line(0), "Főút\t  12.35\t   0.00");
  dialog.EditCost("7,5 Ft");  // a decimal comma, and text after the number
  dialog.LeaveCost();
  dialog.Accept();
  EXPECT_FLOAT_EQ(table.roadType(0).speed, 12.345f);
  EXPECT_FLOAT_EQ(table.roadType(0).unitCost, 7.5f);
  EXPECT_FLOAT_EQ(table.roadType(1).speed, 20);
  EXPECT_EQ(table.criterion(), kCriterionTime);
}

// Text typed and confirmed with Enter while its field has the focus (OK pressed without
// leaving the field), or typed before another line is chosen, is taken too.
TEST_F(SetCostTest, TextNotYetTakenIsTakenByOkAndBySelectingAnotherType) {
  SetCost dialog(table);
  dialog.Select(0);
  dialog.EditSpeed("100");
  dialog.Select(1);
  EXPECT_EQ(dialog.Line(0), "Főút\t 100.00\t  20.00");
  EXPECT_EQ(dialog.speedText(), "20.00");
  dialog.EditCost("6");
  dialog.Accept();
  EXPECT_FLOAT_EQ(table.roadType(0).speed, 100);
  EXPECT_FLOAT_EQ(table.roadType(1).unitCost, 6);
}

TEST_F(SetCostTest, CancellingLeavesTheTableAsItWas) {
  {
    SetCost dialog(table);
    for (std::int32_t i = 0; i < 2; ++i) {
      dialog.Select(i);
      dialog.EditSpeed("0");
      dialog.LeaveSpeed();
      dialog.EditCost("-3");
      dialog.LeaveCost();
    }
  }  // closed without OK
  EXPECT_FLOAT_EQ(table.roadType(0).speed, 90);
  EXPECT_FLOAT_EQ(table.roadType(1).unitCost, 5);
  // Editing without a selected type changes nothing.
  SetCost dialog(table);
  dialog.EditSpeed("55");
  dialog.LeaveSpeed();
  dialog.Accept();
  EXPECT_FLOAT_EQ(table.roadType(0).speed, 90);
  EXPECT_FLOAT_EQ(table.roadType(1).speed, 20);
}

TEST_F(SetCostTest, FieldNumbersAndHelpTopic) {
  EXPECT_FLOAT_EQ(ReadFieldNumber("  42.5"), 42.5f);
  EXPECT_FLOAT_EQ(ReadFieldNumber(""), 0);
  EXPECT_FLOAT_EQ(ReadFieldNumber("-8"), -8);                       // accepted; the type is impassable then
  EXPECT_FLOAT_EQ(ReadFieldNumber(std::string(39, ' ') + "5"), 0);  // past the 39 characters read
  RecordingHelp help;
  InstalledServices().help = &help;
  SetCost(table).ShowHelp();
  EXPECT_EQ(help.contexts, std::vector<int>{3});
}

}  // namespace
}  // namespace koltar
