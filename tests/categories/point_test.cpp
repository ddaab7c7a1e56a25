#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "categories/point.h"
#include "categories/record_array.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

std::string Range(HouseRange r) {
  std::uint8_t bytes[EntityRecord::kSize] = {};
  bytes[0] = r.flags;
  WriteI16(bytes + 2, r.first);
  bytes[4] = static_cast<std::uint8_t>(r.firstLetter);
  WriteI16(bytes + 5, r.last);
  bytes[7] = static_cast<std::uint8_t>(r.lastLetter);
  return FormatHouseRange(bytes);
}

TEST(HouseRangeText, BlankLettersStayInTheText) {
  EXPECT_EQ(Range({2, 12, ' ', 12, ' '}), "12 ");
  EXPECT_EQ(Range({2, 1, ' ', 99, ' '}), "1  - 99 ");
  EXPECT_EQ(Range({2, 12, 'a', 14, 'b'}), "12a - 14b");
  EXPECT_EQ(Range({2, 12, 'b', 12, 'a'}), "12b");  // last below first: the first alone
  EXPECT_EQ(Range({2, 7, '\0', 9, ' '}), "7");     // a zero letter ends the text
}

class Points : public test::CategoryTest {
 protected:
  Points() : towns(writer.AddPoints("Települések", {"Város", "Falu"})) {}
  PointCategoryWriter& towns;
};

TEST_F(Points, RecordsNamesAndExtent) {
  towns.infoFile = "info.hlp";
  towns.Add(1, {100, 200}, "Szeged");
  towns.Add(2, {-50, 900}, "");
  towns.Add(2, {300, -10}, "Szeged");        // two records may share a name
  towns.dataTail = std::string(10, '\x7f');  // a trailing partial record is ignored
  MPoint points = Load<MPoint>("Települések");

  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(points.recordCount(), 3);
  EXPECT_EQ(points.layerCount(), 2);
  EXPECT_EQ(points.LayerName(1), "Falu");
  EXPECT_EQ(points.infoFile(), File("info.hlp"));
  EXPECT_EQ(points.GetExtent(), MapRect::Of(-50, 900, 300, -10));
  EXPECT_EQ(points.GetPosition(1), (MapPoint{-50, 900}));
  EXPECT_EQ(points.GetPosition(3), (MapPoint{0, 0}));
  EXPECT_EQ(points.GetObjectName(0, true), "Szeged");
  EXPECT_EQ(points.GetObjectName(1, false), "");  // negative name offset
  EXPECT_EQ(points.GetObjectName(7, false), "");
  EXPECT_EQ(points.FindByName("Szeged"), 0);
  EXPECT_EQ(points.FindByName("szeged"), -1);  // letter case counts
  EXPECT_EQ(points.FindByName(""), -1);        // records without a name are not found
  EXPECT_FALSE(points.hasHouseNumbers());
  EXPECT_EQ(points.EntityRecordAt(0), nullptr);
}

TEST_F(Points, EmptyCategoriesAndMissingFiles) {
  MPoint empty = Load<MPoint>("Települések");
  EXPECT_EQ(empty.GetExtent(), MapRect::Empty());
  EXPECT_EQ(empty.HitTest({0, 0}), std::nullopt);
  EXPECT_TRUE(Messages().empty());

  MPoint noMap("Települések", MapDirectory(), File("nincs.map"));
  EXPECT_EQ(noMap.recordCount(), 0);
  EXPECT_EQ(noMap.layerCount(), 0);
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|'" + File("nincs.map") + "' file nem nyitható meg."}));

  // A section without keys: DATAFILE and NAMEFILE name the map directory itself.
  services.messages.Clear();
  MPoint noSection("Máshol", MapDirectory(), writer.MapFileName());
  const std::string unnamed = "KOLTAR32|EXCLAMATION|'" + MapDirectory() + "' file nem nyitható meg.\n";
  EXPECT_EQ(Messages(), (Lines{unnamed, unnamed}));
  EXPECT_EQ(noSection.layerCount(), 0);
}

class HouseNumbers : public Points {
 protected:
  // Adds a street segment with a range.
  std::int32_t Segment(std::string_view name, std::int16_t first, std::int16_t last, bool starts = false,
                       char firstLetter = ' ', char lastLetter = ' ') {
    const std::int32_t i = towns.Add(1, {0, 0}, name);
    towns.SetHouseRange(
        i, {static_cast<std::uint8_t>(2 | (starts ? 1 : 0)), first, firstLetter, last, lastLetter});
    return i;
  }
};

TEST_F(HouseNumbers, ExactMatchesOnTheirSide) {
  towns.Add(1, {5, 5}, "Szeged");
  const std::int32_t street = Segment("Fő utca", 1, 11, true);
  Segment("FŐ UTCA", 2, 20);  // the name is compared without letter case
  Segment("Fő utca", 13, 31);
  Segment("Fő utca", 6, 9);
  Segment("Fő utca", 40, 30);  // last below first: holds only 40
  Segment("Fő utca", 50, 52, false, 'a', ' ');
  MPoint points = Load<MPoint>("Települések");

  EXPECT_EQ(points.FindHouseNumber(street, "12"), 2);  // even number, even range 2-20
  EXPECT_EQ(points.FindHouseNumber(street, "11"), 1);  // odd: 1-11
  EXPECT_EQ(points.FindHouseNumber(street, "7"), 4);   // mixed parity 6-9, the last match wins
  EXPECT_EQ(points.FindHouseNumber(street, "40"), 5);
  EXPECT_EQ(points.FindHouseNumber(street, "52"), 6);   // 50/a ... 52
  EXPECT_EQ(points.FindHouseNumber(street, "50b"), 6);  // 50/b lies above 50/a
  EXPECT_EQ(points.GetObjectName(street, true), "Fő utca 1  - 11 ");
  EXPECT_EQ(points.GetObjectName(street, false), "Fő utca");
  EXPECT_EQ(points.GetObjectName(2, true), "FŐ UTCA 2  - 20 ");
  EXPECT_EQ(points.GetObjectName(5, true), "Fő utca 40 ");
  // Not a street start: the first record comes back.
  EXPECT_EQ(points.FindHouseNumber(2, "12"), 2);
  EXPECT_EQ(points.FindHouseNumber(0, "12"), 0);
}

TEST_F(HouseNumbers, NearestSegmentOnTheSameSide) {
  const std::int32_t street = Segment("Kossuth utca", 2, 20, true);
  Segment("Kossuth utca", 1, 9);
  Segment("Kossuth utca", 3, 5);
  towns.Add(1, {0, 0}, "");  // a record without a name ends the street
  Segment("Kossuth utca", 15, 15);
  MPoint points = Load<MPoint>("Települések");

  EXPECT_EQ(points.FindHouseNumber(street, "15"), 2);  // odd; 3-5 is nearer than 1-9
  EXPECT_EQ(points.FindHouseNumber(street, "22"), 0);  // even: only 2-20
  EXPECT_EQ(points.FindHouseNumber(street, ""), 1);    // -1: the odd segment with the smallest first
  EXPECT_EQ(points.FindHouseNumber(street, "abc"), 1);
  EXPECT_EQ(points.FindHouseNumber(street, "99999999999"), 2);  // far beyond every range, no overflow
  EXPECT_EQ(points.FindHouseNumber(4, "15"), 4);                // its own run of one
}

TEST_F(HouseNumbers, EqualDistancesKeepTheEarliest) {
  const std::int32_t street = Segment("Petőfi tér", 3, 3, true);
  Segment("Petőfi tér", 7, 7);
  MPoint points = Load<MPoint>("Települések");
  EXPECT_EQ(points.FindHouseNumber(street, "5"), 0);
}

TEST_F(HouseNumbers, WithoutEntityFileTheFirstComesBack) {
  towns.Add(1, {0, 0}, "Fő utca");
  towns.Add(1, {0, 0}, "Fő utca");
  MPoint points = Load<MPoint>("Települések");
  EXPECT_EQ(points.FindHouseNumber(0, "12"), 0);
  EXPECT_EQ(points.FindHouseNumber(-3, "12"), -3);
  EXPECT_EQ(points.GetObjectName(0, true), "Fő utca");
}

}  // namespace
}  // namespace koltar
