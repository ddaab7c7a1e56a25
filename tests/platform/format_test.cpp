#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/binary.h"
#include "platform/format.h"

namespace koltar {
namespace {

TEST(FormatGroupedNumber, GroupsOfThreeAndAClosingBlank) {
  EXPECT_EQ(FormatGroupedNumber(50000000), "50 000 000 ");
  EXPECT_EQ(FormatGroupedNumber(950), "950 ");
  EXPECT_EQ(FormatGroupedNumber(0), "0 ");
  EXPECT_EQ(FormatGroupedNumber(1000), "1 000 ");
  EXPECT_EQ(FormatGroupedNumber(123456), "123 456 ");
  EXPECT_EQ(FormatGroupedNumber(2147483647), "2 147 483 647 ");
}

TEST(FormatGroupedNumber, NegativeNumbersGroupTheirDigits) {
  EXPECT_EQ(FormatGroupedNumber(-950), "-950 ");
  EXPECT_EQ(FormatGroupedNumber(-1234), "-1 234 ");
  EXPECT_EQ(FormatGroupedNumber(std::numeric_limits<std::int32_t>::min()), "-2 147 483 648 ");
}

TEST(StringPrintf, FixedWidthsCountBytes) {
  // "Győr" is four bytes in code page 1250.
  EXPECT_EQ(StringPrintf("%-6.6s|", "Gy\xF5r"), "Gy\xF5r  |");
  EXPECT_EQ(StringPrintf("%5.1f", 12.25), " 12.2");
  EXPECT_EQ(StringPrintf("%s", ""), "");
}

TEST(BinaryAccess, LittleEndianAtAnyOffset) {
  const unsigned char bytes[] = {0xFF, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F};
  EXPECT_EQ(ReadI16(bytes + 1), 0x1234);
  EXPECT_EQ(ReadI16(bytes + 4), -1);
  EXPECT_EQ(ReadI32(bytes + 3), -2);
  EXPECT_EQ(ReadU32(bytes + 1), 0xFFFE1234u);
  EXPECT_EQ(ReadF32(bytes + 7), 1.0f);
}

TEST(BinaryAccess, WritesReadBack) {
  unsigned char bytes[9] = {};
  WriteI32(bytes + 1, -123456789);
  WriteI16(bytes + 5, -2);
  EXPECT_EQ(ReadI32(bytes + 1), -123456789);
  EXPECT_EQ(ReadI16(bytes + 5), -2);
  WriteF32(bytes + 3, 1e38f);
  EXPECT_EQ(ReadF32(bytes + 3), 1e38f);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[8], 0);
}

}  // namespace
}  // namespace koltar
