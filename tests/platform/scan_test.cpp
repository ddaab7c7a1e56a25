// The description-value scanner against the C library's sscanf, which it must read
// alike (in the C locale), and under a locale with a decimal comma, where sscanf would
// not.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/format.h"
#include "platform/scan.h"

namespace koltar {
namespace {

// The C library's reading of "%d,%d,%d" and ours agree, value by value, on the texts of
// colours and ranges that files hold and on damaged ones.
TEST(ScanValues, IntegersAsSscanfReadsThem) {
  for (const char* text : {"0,0,255", " 12 , 7,9", "12,x,9", "", "   ", "-5,+6,007", "4294967297,1,2",
                           "99999999999999999999999,1", ",1,2", "1,,2", "12abc"}) {
    int a = -1, b = -1, c = -1;
    const int expected = std::sscanf(text, "%d,%d,%d", &a, &b, &c);
    int x = -1, y = -1, z = -1;
    EXPECT_EQ(ScanValues(text, "%d,%d,%d", x, y, z), expected) << text;
    EXPECT_EQ(x, a) << text;
    EXPECT_EQ(y, b) << text;
    EXPECT_EQ(z, c) << text;
  }
}

TEST(ScanValues, LongsSaturateIntoThirtyTwoBits) {
  std::int32_t a = 0, b = 0;
  EXPECT_EQ(ScanValues("4294967297,-99999999999", "%ld,%ld", a, b), 2);
  EXPECT_EQ(a, 2147483647);
  EXPECT_EQ(b, -2147483647 - 1);
  std::int64_t wide = 0;
  EXPECT_EQ(ScanValues("-99999999999", "%lld", wide), 1);
  EXPECT_EQ(wide, -99999999999LL);
}

TEST(ScanValues, RealsAsSscanfReadsThem) {
  for (const char* text :
       {"12.5", " -0.25", "1e3", "inf", "nan", "1e400", "1e-400", ".5", "5.", "x", "+-1", "3,5"}) {
    double a = -7;
    const int expected = std::sscanf(text, "%lf", &a);
    double x = -7;
    EXPECT_EQ(ScanValues(text, "%lf", x), expected) << text;
    if (std::isnan(a))
      EXPECT_TRUE(std::isnan(x)) << text;
    else
      EXPECT_EQ(x, a) << text;
    float f = -7, g = -7;
    std::sscanf(text, "%f", &f);
    ScanValues(text, "%f", g);
    if (std::isnan(f))
      EXPECT_TRUE(std::isnan(g)) << text;
    else
      EXPECT_EQ(g, f) << text;
  }
}

TEST(ScanValues, FieldsAsSscanfReadsThem) {
  for (const char* text : {"Arial CE,0,0,0,1,0,0,12.5,0", "Arial CE,0,0", ",1,2", "LINE,Utak", "x", "",
                           "AREA,Ter,rest of it", "  TEXT  ,  Nevek  ,  a b"}) {
    char a[120] = "?", b[120] = "?", c[120] = "?";
    const int expected = std::sscanf(text, "%[^,]%*c%[^,]%*c%s", a, b, c);
    std::string x = "?", y = "?", z = "?";
    EXPECT_EQ(ScanValues(text, "%[^,]%*c%[^,]%*c%s", x, y, z), expected) << text;
    EXPECT_EQ(x, a) << text;
    EXPECT_EQ(y, b) << text;
    EXPECT_EQ(z, c) << text;
  }
  std::string face;
  EXPECT_EQ(ScanValues("abcdef,1", "%3[^,]", face), 1);
  EXPECT_EQ(face, "abc");
}

TEST(ScanValues, WrongOutputTypeStopsReading) {
  float f = 0;
  std::int32_t n = 0;
  EXPECT_EQ(ScanValues("1,2", "%d,%d", n, f), 1);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(f, 0.0f);
}

// With a locale that writes a decimal comma, the C library reads "12.5" as 12 and
// writes 12.5 as "12,5"; the scanner and StringPrintf keep the decimal point.
TEST(ScanValues, DecimalPointWhateverTheLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "hu_HU.UTF-8"), nullptr)
      << "the hu_HU.UTF-8 locale is missing (scripts/bootstrap.sh makes it)";
  double c = 0;
  std::sscanf("12.5", "%lf", &c);
  EXPECT_EQ(c, 12.0);  // the locale is in force
  double x = 0;
  EXPECT_EQ(ScanValues("12.5", "%lf", x), 1);
  EXPECT_EQ(x, 12.5);
  EXPECT_EQ(StringPrintf("%.1lf,%5.1f", 12.5, 3.25), "12.5,  3.2");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace koltar
