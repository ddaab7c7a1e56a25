// The place search dialog's behaviour without a window: what its lists hold, what a
// typed name chooses and offers, the road segments, and what OK stores or refuses.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/find_point.h"
#include "categories/line.h"
#include "categories/point.h"
#include "platform/help.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

// The names of the list's entries, in list order.
Lines Names(const PlaceNameList& list) {
  Lines out;
  for (std::int32_t i = 0; i < list.size(); ++i) out.emplace_back(list[i].name);
  return out;
}

Lines HintNames(const FindPoint& dialog) {
  Lines out;
  for (std::int32_t entry : dialog.hints()) out.emplace_back(dialog.names()[entry].name);
  return out;
}

// A map with two point categories (settlements without house numbers, streets with
// them), a line and an area category, and the dialog on it.
class FindPointTest : public test::CategoryTest {
 protected:
  FindPointTest()
      : towns(writer.AddPoints("Települések", {"Város", "Falu", "Tanya"})),
        streets(writer.AddPoints("Utcák", {"Utca"})),
        roads(writer.AddLines("Utak", {"Főút", "Mellékút"})),
        waters(writer.AddAreas("Vizek", {"Tó"})) {
    data.smallestScale = 100;
    data.largestScale = 50000000;
    data.displayScale = 25000;
  }

  // House-number range of a street segment.
  std::int32_t Segment(std::string_view name, std::int16_t first, std::int16_t last, bool starts = false,
                       char firstLetter = ' ', char lastLetter = ' ') {
    const std::int32_t i = streets.Add(1, {static_cast<std::int32_t>(streets.records.size()) * 10, 0}, name);
    streets.SetHouseRange(
        i, {static_cast<std::uint8_t>(2 | (starts ? 1 : 0)), first, firstLetter, last, lastLetter});
    return i;
  }

  // Loads the categories and opens the dialog on them.
  FindPoint& Open(std::size_t capacity = PlaceNameList::kMaxEntries) {
    const std::string file = WriteMap();
    const std::string directory = GetPathDirectory(file);
    townCategory = std::make_unique<MPoint>("Települések", directory, file);
    streetCategory = std::make_unique<MPoint>("Utcák", directory, file);
    roadCategory = std::make_unique<MLine>("Utak", directory, file);
    waterCategory = std::make_unique<MArea>("Vizek", directory, file);
    return Reopen(capacity);
  }
  FindPoint& Reopen(std::size_t capacity = PlaceNameList::kMaxEntries) {
    PlaceCategories categories;
    categories.points = {townCategory.get(), streetCategory.get()};
    categories.lines = {roadCategory.get()};
    categories.areas = {waterCategory.get()};
    dialog = std::make_unique<FindPoint>(categories, data, &owner, capacity);
    dialog->Open();
    return *dialog;
  }

  PointCategoryWriter& towns;
  PointCategoryWriter& streets;
  PolyCategoryWriter& roads;
  PolyCategoryWriter& waters;
  std::unique_ptr<MPoint> townCategory, streetCategory;
  std::unique_ptr<MLine> roadCategory;
  std::unique_ptr<MArea> waterCategory;
  FindPointData data;
  int owner = 0;
  std::unique_ptr<FindPoint> dialog;
};

const std::string kNothingChosen = "KOLTAR32|EXCLAMATION|Nincs objektum kiválasztva a térkép pozicionáláshoz";

TEST_F(FindPointTest, OpeningListsEveryKindInMapOrderAndTheScale) {
  towns.Add(1, {0, 0}, "Szeged");
  towns.Add(2, {10, 0}, "Algyő");
  towns.Add(1, {20, 0}, "");  // no name: not listed
  towns.Add(2, {30, 0}, "Szeged");
  roads.Add(1, {{0, 0}, {100, 0}}, "M5");
  FindPoint& d = Open();

  EXPECT_EQ(d.categoryTexts(), (Lines{"Települések", "Utcák", "Utak", "Vizek"}));
  EXPECT_EQ(d.categoryChoice(), 0);
  EXPECT_EQ(d.layerTexts(), (Lines{"[Minden elem]", "Város", "Falu", "Tanya"}));
  EXPECT_EQ(d.layerChoice(), 0);
  // Without house numbers every named point is listed, duplicates included, unsorted.
  EXPECT_EQ(Names(d.names()), (Lines{"Szeged", "Algyő", "Szeged"}));
  EXPECT_EQ(d.names()[2].record, 3);
  EXPECT_FALSE(d.houseNumbersEnabled());
  EXPECT_TRUE(d.scaleEnabled());
  EXPECT_EQ(d.chosenName(), -1);
  EXPECT_FALSE(d.okEnabled());
  EXPECT_EQ(d.rangeText(), "Megengedett tartomány:  1 : 100   -  1 : 50 000 000 ");
  EXPECT_EQ(d.scaleText(), "25000");
  EXPECT_EQ(services.waitCursor.begins, 1);  // the name list is filled under the wait cursor
  EXPECT_EQ(services.waitCursor.depth, 0);

  // Layers: only that layer's objects; a layer without objects lists none.
  d.LayerChanged(1);
  EXPECT_EQ(Names(d.names()), (Lines{"Szeged"}));
  d.LayerChanged(2);
  EXPECT_EQ(Names(d.names()), (Lines{"Algyő", "Szeged"}));
  EXPECT_EQ(d.names()[1].record, 3);
  d.LayerChanged(3);
  EXPECT_TRUE(d.names().empty());
  d.LayerChanged(0);
  EXPECT_EQ(d.names().size(), 3);

  // Lines and areas ask for no scale; an empty category lists nothing.
  d.CategoryChanged(2);
  EXPECT_EQ(d.layerTexts(), (Lines{"[Minden elem]", "Főút", "Mellékút"}));
  EXPECT_EQ(Names(d.names()), (Lines{"M5"}));
  EXPECT_FALSE(d.scaleEnabled());
  d.CategoryChanged(3);
  EXPECT_TRUE(d.names().empty());
  EXPECT_FALSE(d.okEnabled());
  EXPECT_FALSE(d.Accept());
  EXPECT_EQ(Messages(), (Lines{kNothingChosen}));
  EXPECT_EQ(services.messages.messages()[0].owner, &owner);
}

TEST_F(FindPointTest, WithoutCategoriesOkAlwaysReportsNothingChosen) {
  FindPoint empty(PlaceCategories{}, data, &owner);
  empty.Open();
  EXPECT_TRUE(empty.categoryTexts().empty());
  EXPECT_TRUE(empty.layerTexts().empty());
  empty.NameTyped("Szeged");
  EXPECT_FALSE(empty.Accept());  // the scale, 25000, passes its check
  EXPECT_EQ(Messages(), (Lines{kNothingChosen}));
  EXPECT_EQ(data.type, -1);
}

TEST_F(FindPointTest, TypedNamesChooseOnlyWholeNamesAndOfferLooseHints) {
  towns.Add(1, {0, 0}, "Pécsvárad");
  towns.Add(1, {0, 0}, "Pécs");
  towns.Add(1, {0, 0}, "Győrújbarát");
  towns.Add(1, {0, 0}, "Győr");
  towns.Add(1, {0, 0}, "Székesfehérvár");
  FindPoint& d = Open();

  // The list's prefix search finds Pécsvárad first, whose whole text differs.
  d.NameTyped("Pécs");
  EXPECT_EQ(d.chosenName(), -1);
  EXPECT_FALSE(d.okEnabled());
  // The hints put the whole-name match first; taking it chooses that very entry.
  EXPECT_EQ(HintNames(d), (Lines{"Pécs", "Pécsvárad"}));
  d.HintChosen(0);
  EXPECT_EQ(d.chosenName(), 1);
  EXPECT_EQ(d.nameText(), "Pécs");
  EXPECT_TRUE(d.okEnabled());
  EXPECT_TRUE(d.hints().empty());

  // Another letter case chooses the entry, and offers nothing more.
  d.NameTyped("SZÉKESFEHÉRVÁR");
  EXPECT_EQ(d.chosenName(), 4);
  EXPECT_TRUE(d.hints().empty());

  // Without accents nothing is chosen, but the names are offered.
  d.NameTyped("gyor");
  EXPECT_EQ(d.chosenName(), -1);
  EXPECT_EQ(HintNames(d), (Lines{"Győr", "Győrújbarát"}));
  d.NameTyped("szekesfeh");
  EXPECT_EQ(HintNames(d), (Lines{"Székesfehérvár"}));
  d.NameTyped("Budapest");
  EXPECT_TRUE(d.hints().empty());
  // Choosing in the list puts the name into the field.
  d.NameChosen(3);
  EXPECT_EQ(d.nameText(), "Győr");
  EXPECT_TRUE(d.okEnabled());
  d.NameChosen(-1);
  EXPECT_FALSE(d.okEnabled());
}

TEST_F(FindPointTest, StreetsGiveOneEntryAndTheirSegments) {
  const std::int32_t fo = Segment("Fő utca", 1, 11, true);
  Segment("FŐ UTCA", 2, 20);   // letter case ignored: the same street
  streets.Add(1, {0, 0}, "");  // a record without a name does not end the run
  Segment("Fő utca", 13, 31);
  Segment("Fő utca", 12, 14, false, 'a', ' ');
  Segment("Kossuth tér", 3, 3, true);
  const std::int32_t again = Segment("Fő utca", 40, 50, true);  // comes again later: another entry
  FindPoint& d = Open();
  d.CategoryChanged(1);

  EXPECT_TRUE(d.houseNumbersEnabled());
  EXPECT_EQ(Names(d.names()), (Lines{"Fő utca", "Kossuth tér", "Fő utca"}));
  EXPECT_EQ(d.names()[0].record, fo);
  EXPECT_EQ(d.names()[2].record, again);

  d.NameTyped("fő utca");
  EXPECT_EQ(d.chosenName(), 0);
  EXPECT_EQ(d.segments(), (Lines{"1  - 11 ", "2  - 20 ", "13  - 31 ", "12a - 14 "}));
  d.HouseNumberTyped("15");
  // Typing again empties the segments and the house number.
  d.NameTyped("fő utc");
  EXPECT_TRUE(d.segments().empty());
  EXPECT_EQ(d.houseNumber(), "");
  d.NameChosen(1);
  EXPECT_EQ(d.segments(), (Lines{"3 "}));
}

TEST_F(FindPointTest, HouseNumbersPickTheSegmentOnOk) {
  const std::int32_t street = Segment("Fő utca", 1, 11, true);
  const std::int32_t even = Segment("Fő utca", 2, 20);
  const std::int32_t odd = Segment("Fő utca", 13, 31);
  const std::int32_t letters = Segment("Fő utca", 12, 14, false, 'a', 'b');
  FindPoint& d = Open();
  d.CategoryChanged(1);
  auto okWith = [&](const char* house) {
    d.NameChosen(0);
    d.HouseNumberTyped(house);
    EXPECT_TRUE(d.Accept()) << house;
    return data.object;
  };
  EXPECT_EQ(okWith("12"), even);
  EXPECT_EQ(okWith("15"), odd);
  EXPECT_EQ(okWith("12a"), letters);  // 12/a written as 12a: above 12, the last match wins
  EXPECT_EQ(okWith("12/a"), even);    // read as 12 and '/', below 12a
  EXPECT_EQ(okWith("99"), odd);       // outside every range: the nearest odd one
  EXPECT_EQ(okWith(""), street);      // no number: the odd segment with the smallest first
  EXPECT_EQ(data.type, 1);
  EXPECT_EQ(data.category, 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FindPointTest, ScaleOutsideTheRangeKeepsTheDialogOpen) {
  towns.Add(1, {0, 0}, "Szeged");
  roads.Add(1, {{0, 0}, {100, 0}}, "M5");
  FindPoint& d = Open();
  d.NameTyped("Szeged");
  for (const char* scale : {"50", "50000001", "", "-300"}) {
    d.ScaleTyped(scale);
    EXPECT_FALSE(d.Accept()) << scale;
  }
  EXPECT_EQ(Messages(), Lines(4, "KOLTAR32|EXCLAMATION|Value is not in the range 100 to 50000000."));
  EXPECT_EQ(data.type, -1);  // nothing stored yet

  d.ScaleTyped("  +12000x");  // blanks, a sign, the digits up to the first other character
  ASSERT_TRUE(d.Accept());
  EXPECT_EQ(data.displayScale, 12000);
  EXPECT_EQ(data.type, 1);
  EXPECT_EQ(data.category, 0);
  EXPECT_EQ(data.object, 0);

  // A line asks for no scale: its range is not checked.
  d.CategoryChanged(2);
  d.NameTyped("m5");
  d.ScaleTyped("50");
  ASSERT_TRUE(d.Accept());
  EXPECT_EQ(data.type, 2);
  EXPECT_EQ(data.category, 0);
  EXPECT_EQ(data.object, 0);
}

TEST_F(FindPointTest, ReopeningStartsAfreshAtTheHandedScale) {
  towns.Add(1, {0, 0}, "Szeged");
  Segment("Fő utca", 1, 11, true);
  FindPoint& d = Open();
  d.CategoryChanged(1);
  d.LayerChanged(1);
  d.NameTyped("Fő utca");
  d.HouseNumberTyped("5");
  d.ScaleTyped("5000");
  ASSERT_TRUE(d.Accept());

  // The command makes the scale the map's find scale and hands it in next time; the
  // category, layer, name and house number are not remembered.
  data.type = data.category = data.object = -1;
  data.displayScale = 5000;
  FindPoint& again = Reopen();
  EXPECT_EQ(again.categoryChoice(), 0);
  EXPECT_EQ(again.layerChoice(), 0);
  EXPECT_EQ(again.nameText(), "");
  EXPECT_EQ(again.chosenName(), -1);
  EXPECT_EQ(again.houseNumber(), "");
  EXPECT_EQ(again.scaleText(), "5000");
  EXPECT_EQ(Names(again.names()), (Lines{"Szeged"}));
}

TEST_F(FindPointTest, AFullNameListSaysHowManyItTook) {
  for (const char* name : {"A", "B", "C"}) towns.Add(1, {0, 0}, name);
  FindPoint& d = Open(2);
  EXPECT_EQ(Names(d.names()), (Lines{"A", "B"}));
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|A kiválasztott kategória 3 elemet tartalmaz, ebből\na "
                               "keresési listába csak 2 elemet lehetett felvenni."}));
}

TEST_F(FindPointTest, HelpOpensTheFirstTopic) {
  struct Recorder final : HelpService {
    void ShowIndex(const std::string&) override {}
    void ShowContext(const std::string& file, int context) override {
      calls.push_back(file + " " + std::to_string(context));
    }
    void ShowKeyword(const std::string&, const std::string&) override {}
    void Quit() override {}
    std::vector<std::string> calls;
  } help;
  InstalledServices().help = &help;
  Program().helpFile = "koltar.HLP";
  Open().ShowHelp();
  EXPECT_EQ(help.calls, (Lines{"koltar.HLP 1"}));
  InstalledServices().help = nullptr;
}

}  // namespace
}  // namespace koltar
