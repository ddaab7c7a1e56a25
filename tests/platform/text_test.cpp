#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/u8.h"

namespace koltar {
namespace {

// "Árvíztűrő tükörfúrógép" in code page 1250 and in UTF-8.
// (Plain literals of core code are compiled to code page 1250; u8 literals stay UTF-8.)
const std::string kCp1250 = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";
const std::string kUtf8 = test::U8(u8"Árvíztűrő tükörfúrógép");

TEST(Cp1250Conversion, HungarianTextRoundTrips) {
  EXPECT_EQ(Cp1250ToUtf8(kCp1250), kUtf8);
  EXPECT_EQ(Utf8ToCp1250(kUtf8), kCp1250);
}

TEST(Cp1250Conversion, EveryDefinedByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    if (Cp1250ToUnicode(static_cast<unsigned char>(b)) == 0xFFFD) continue;
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(one)), one) << "byte " << b;
  }
}

TEST(Cp1250Conversion, UndefinedBytesAndForeignCharacters) {
  // 0x81, 0x83, 0x88, 0x90 and 0x98 are undefined in the code page.
  for (int b : {0x81, 0x83, 0x88, 0x90, 0x98})
    EXPECT_EQ(Cp1250ToUtf8(std::string(1, static_cast<char>(b))), "\xEF\xBF\xBD");
  EXPECT_EQ(Cp1250ToUtf8("\x80\x8A\xA3\xFF"), test::U8(u8"€ŠŁ˙"));
  // (Test macros quote their arguments as plain literals, so characters outside the
  // code page stay out of them.)
  const std::string foreign = test::U8(u8"Göteborg å 東");
  const std::string aRing = test::U8(u8"å");
  EXPECT_EQ(Utf8ToCp1250(foreign), "G\xF6teborg ? ?");
  EXPECT_FALSE(FitsCp1250(aRing));
  EXPECT_TRUE(FitsCp1250(test::U8(u8"Győr")));
}

TEST(Cp1250Transliteration, LettersOutsideTheCodePageBecomeTheirNearestLetters) {
  int changed = -1;
  const std::string swedish = test::U8(u8"Ålesund Øresund Æbeltoft Straße Españã");
  EXPECT_EQ(Utf8ToCp1250Transliterated(swedish, &changed),
            "Alesund Oresund AEbeltoft Stra\xDF"
            "e Espana");
  EXPECT_EQ(changed, 5);  // Å Ø Æ ñ ã; ß is in the code page
  // Romanian comma letters become the cedilla letters the code page has; Hungarian stays.
  const std::string romanian = test::U8(u8"Ștefan Țara Győr");
  EXPECT_EQ(Utf8ToCp1250Transliterated(romanian, &changed),
            "\xAAtefan \xDE"
            "ara Gy\xF5r");
  EXPECT_EQ(changed, 2);
  const std::string mixed = test::U8(u8"œuvre ı 東京");
  EXPECT_EQ(Utf8ToCp1250Transliterated(mixed, &changed), "oeuvre i ??");
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(Utf8ToCp1250Transliterated("a\xC3", &changed), "a?");
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(Utf8ToCp1250Transliterated(kUtf8, &changed), kCp1250);
  EXPECT_EQ(changed, 0);
}

TEST(Cp1250Conversion, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");          // cut sequence
  EXPECT_EQ(Utf8ToCp1250("\xC0\xAF"), "??");       // overlong form
  EXPECT_EQ(Utf8ToCp1250("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_EQ(Utf8ToCp1250("\xFF"
                         "b"),
            "?b");
}

TEST(Cp1250Case, HungarianAndCentralEuropeanPairs) {
  EXPECT_EQ(Cp1250ToUpper("\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB"),
            "\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB");  // áéíóöőúüű
  EXPECT_EQ(Cp1250ToUpper("\x9A\x9C\x9D\x9E\x9F\xB3\xB9\xBA\xBE\xBF"),
            "\x8A\x8C\x8D\x8E\x8F\xA3\xA5\xAA\xBC\xAF");  // šśťžźłąşľż
  EXPECT_EQ(Cp1250ToLower('\xD5'), '\xF5');
  // No partners: ß, ÷, ×, µ, the digits.
  EXPECT_EQ(Cp1250ToUpper("\xDF\xF7\xB5"
                          "9"),
            "\xDF\xF7\xB5"
            "9");
  EXPECT_EQ(Cp1250ToLower('\xD7'), '\xD7');
}

TEST(Cp1250Case, ComparisonsFoldLetters) {
  EXPECT_TRUE(EqualsNoCase("telep\xFCl\xE9sek", "TELEP\xDCL\xC9SEK"));
  EXPECT_FALSE(EqualsNoCase("\xF5", "\xF6"));  // ő is not ö
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_TRUE(StartsWithNoCase("\xC9rd", "\xE9r"));
  EXPECT_FALSE(StartsWithNoCase("\xE9", "\xE9r"));
  EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
}

// Search keys ignore letter case and accents, so that a name typed without accents
// finds the name that has them; the whole code page maps as its letters decompose.
TEST(Cp1250SearchKey, FoldsCaseAndAccents) {
  EXPECT_EQ(SearchKey(kCp1250), "arvizturo tukorfurogep");
  EXPECT_EQ(SearchKey("GY\xD5R"), "gyor");  // "GYŐR"
  EXPECT_EQ(SearchKey("\xA3\xF3"
                      "d\x9F"),
            "lodz");  // "Łódź"
  EXPECT_EQ(SearchKey("Stra\xDF"
                      "e"),
            "strasse");
  EXPECT_EQ(SearchKey("12/a - 14"), "12/a - 14");
  // Every letter of the code page becomes a plain lower-case letter: its key is what
  // the UTF-8 form gives after dropping the marks.
  for (int b = 0x80; b < 0x100; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string key = SearchKey(one);
    const std::string upper = SearchKey(std::string(1, Cp1250ToUpper(static_cast<char>(b))));
    EXPECT_EQ(key, upper) << "byte " << b;  // letter case never counts
  }
  EXPECT_TRUE(StartsWithLoosely("Sz\xE9kesfeh\xE9rv\xE1r", "szekesfeh"));
  EXPECT_TRUE(StartsWithLoosely("Gy\xF5r", "GYOR"));
  EXPECT_FALSE(StartsWithLoosely("Gy\xF5r", "Gyori"));
  EXPECT_TRUE(StartsWithLoosely("anything", ""));
}

}  // namespace
}  // namespace koltar
