#include "platform/text.h"

#include <array>
#include <cstdint>

namespace koltar {
namespace {

// Unicode code points of the bytes 0x80..0xFF; 0xFFFD marks the undefined ones.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

// Upper-case partner of every byte.
constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) t[b] = static_cast<unsigned char>(b - 32);
  // š ś ť ž ź
  t[0x9A] = 0x8A;
  t[0x9C] = 0x8C;
  t[0x9D] = 0x8D;
  t[0x9E] = 0x8E;
  t[0x9F] = 0x8F;
  // ł ą ş ľ ż
  t[0xB3] = 0xA3;
  t[0xB9] = 0xA5;
  t[0xBA] = 0xAA;
  t[0xBE] = 0xBC;
  t[0xBF] = 0xAF;
  // ŕ á â ă ä ĺ ć ç č é ę ë ě í î ď đ ń ň ó ô ő ö ř ů ú ű ü ý ţ  (÷ at 0xF7 has no partner)
  for (int b = 0xE0; b <= 0xFE; ++b)
    if (b != 0xF7) t[b] = static_cast<unsigned char>(b - 0x20);
  return t;
}

constexpr std::array<unsigned char, 256> MakeLowerTable() {
  constexpr auto upper = MakeUpperTable();
  std::array<unsigned char, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
  for (int b = 0; b < 256; ++b)
    if (upper[b] != b) t[upper[b]] = static_cast<unsigned char>(b);
  return t;
}

constexpr auto kUpper = MakeUpperTable();
constexpr auto kLower = MakeLowerTable();

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 character at text[i], advancing i; returns U+FFFD for a malformed
// sequence (consuming one byte).
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + len > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += len;
  return cp;
}

// The code page 1250 byte of a code point, or -1 when the code page lacks it.
int UnicodeToCp1250(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int k = 0; k < 128; ++k)
    if (kHighHalf[k] == cp && cp != 0xFFFD) return 0x80 + k;
  return -1;
}

// Nearest letters for the Latin letters U+00C0 ... U+017F; only consulted for those that
// code page 1250 lacks. '#' marks the entries that stand for two letters (see kDouble).
constexpr std::string_view kLatin1Letters =
    "AAAAAA#CEEEEIIIIDNOOOOO*OUUUUY#s"
    "aaaaaa#ceeeeiiiidnooooo/ouuuuy#y";
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi##JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo##"
    "RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatin1Letters.size() == 64 && kLatinExtendedA.size() == 128);

struct Replacement {
  char32_t cp;
  const char* text;  // code page 1250 bytes
};
constexpr Replacement kDouble[] = {
    {0xC6, "AE"},  {0xDE, "Th"},  {0xE6, "ae"},  {0xFE, "th"},
    {0x132, "IJ"}, {0x133, "ij"}, {0x152, "OE"}, {0x153, "oe"},
};
// Letters and signs outside those blocks, mostly to their code page 1250 look-alikes.
constexpr Replacement kOther[] = {
    {0x0218, "\xAA"}, {0x0219, "\xBA"}, {0x021A, "\xDE"}, {0x021B, "\xFE"},  // Ș ș Ț ț
    {0x018F, "E"},    {0x0259, "e"},    {0x01CD, "A"},    {0x01CE, "a"},    {0x01E6, "G"}, {0x01E7, "g"},
    {0x1E9E, "\xDF"}, {0x02BC, "'"},    {0x2010, "-"},    {0x2011, "-"},    {0x2012, "-"}, {0x2212, "-"},
    {0x2032, "'"},    {0x2033, "\""},   {0x2009, " "},    {0x202F, " "},
};

// The replacement of a code point that code page 1250 lacks, or nullptr.
std::string_view Transliteration(char32_t cp, char (&one)[2]) {
  for (const Replacement& r : kDouble)
    if (r.cp == cp) return r.text;
  for (const Replacement& r : kOther)
    if (r.cp == cp) return r.text;
  char letter = 0;
  if (cp >= 0xC0 && cp < 0x100) letter = kLatin1Letters[cp - 0xC0];
  if (cp >= 0x100 && cp < 0x180) letter = kLatinExtendedA[cp - 0x100];
  if (letter == 0 || letter == '#' || letter == '*' || letter == '/') return {};
  one[0] = letter;
  one[1] = '\0';
  return std::string_view(one, 1);
}

}  // namespace

char32_t Cp1250ToUnicode(unsigned char byte) { return byte < 0x80 ? byte : kHighHalf[byte - 0x80]; }

std::string Cp1250ToUtf8(std::string_view cp1250) {
  std::string out;
  out.reserve(cp1250.size() + cp1250.size() / 4);
  for (char c : cp1250) AppendUtf8(out, Cp1250ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const int b = UnicodeToCp1250(NextCodePoint(utf8, i));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::string Utf8ToCp1250Transliterated(std::string_view utf8, int* changed) {
  std::string out;
  out.reserve(utf8.size());
  int count = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    const int b = UnicodeToCp1250(cp);
    if (b >= 0) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    ++count;
    char one[2];
    const std::string_view replacement = Transliteration(cp, one);
    if (replacement.empty())
      out.push_back('?');
    else
      out.append(replacement);
  }
  if (changed != nullptr) *changed = count;
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t at = i;
    // A malformed sequence gives U+FFFD for one byte; the character itself takes three.
    if (NextCodePoint(text, i) == 0xFFFD && i == at + 1) return false;
  }
  return true;
}

bool FitsCp1250(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();)
    if (UnicodeToCp1250(NextCodePoint(utf8, i)) < 0) return false;
  return true;
}

char Cp1250ToUpper(char c) { return static_cast<char>(kUpper[static_cast<unsigned char>(c)]); }

char Cp1250ToLower(char c) { return static_cast<char>(kLower[static_cast<unsigned char>(c)]); }

std::string Cp1250ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Cp1250ToUpper(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Cp1250ToUpper(a[i]) != Cp1250ToUpper(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = kUpper[static_cast<unsigned char>(a[i])];
    const int cb = kUpper[static_cast<unsigned char>(b[i])];
    if (ca != cb) return ca - cb;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

namespace {

// The unaccented lower-case letter of each accented letter of the code page (0 where
// the byte is no such letter). "ß" is the one letter that becomes two; it is handled
// apart.
constexpr std::array<char, 128> MakeBaseLetters() {
  std::array<char, 128> base{};
  const struct {
    unsigned char byte;
    char letter;
  } letters[] = {
      {0x8a, 's'}, {0x8c, 's'}, {0x8d, 't'}, {0x8e, 'z'}, {0x8f, 'z'}, {0x9a, 's'}, {0x9c, 's'}, {0x9d, 't'},
      {0x9e, 'z'}, {0x9f, 'z'}, {0xa3, 'l'}, {0xa5, 'a'}, {0xaa, 's'}, {0xaf, 'z'}, {0xb3, 'l'}, {0xb9, 'a'},
      {0xba, 's'}, {0xbc, 'l'}, {0xbe, 'l'}, {0xbf, 'z'}, {0xc0, 'r'}, {0xc1, 'a'}, {0xc2, 'a'}, {0xc3, 'a'},
      {0xc4, 'a'}, {0xc5, 'l'}, {0xc6, 'c'}, {0xc7, 'c'}, {0xc8, 'c'}, {0xc9, 'e'}, {0xca, 'e'}, {0xcb, 'e'},
      {0xcc, 'e'}, {0xcd, 'i'}, {0xce, 'i'}, {0xcf, 'd'}, {0xd0, 'd'}, {0xd1, 'n'}, {0xd2, 'n'}, {0xd3, 'o'},
      {0xd4, 'o'}, {0xd5, 'o'}, {0xd6, 'o'}, {0xd8, 'r'}, {0xd9, 'u'}, {0xda, 'u'}, {0xdb, 'u'}, {0xdc, 'u'},
      {0xdd, 'y'}, {0xde, 't'}, {0xe0, 'r'}, {0xe1, 'a'}, {0xe2, 'a'}, {0xe3, 'a'}, {0xe4, 'a'}, {0xe5, 'l'},
      {0xe6, 'c'}, {0xe7, 'c'}, {0xe8, 'c'}, {0xe9, 'e'}, {0xea, 'e'}, {0xeb, 'e'}, {0xec, 'e'}, {0xed, 'i'},
      {0xee, 'i'}, {0xef, 'd'}, {0xf0, 'd'}, {0xf1, 'n'}, {0xf2, 'n'}, {0xf3, 'o'}, {0xf4, 'o'}, {0xf5, 'o'},
      {0xf6, 'o'}, {0xf8, 'r'}, {0xf9, 'u'}, {0xfa, 'u'}, {0xfb, 'u'}, {0xfc, 'u'}, {0xfd, 'y'}, {0xfe, 't'},
  };
  for (const auto& l : letters) base[l.byte - 0x80] = l.letter;
  return base;
}

constexpr auto kBaseLetters = MakeBaseLetters();
constexpr unsigned char kSharpS = 0xdf;

}  // namespace

std::string SearchKey(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == kSharpS) {
      out += "ss";
    } else if (byte >= 0x80 && kBaseLetters[byte - 0x80] != 0) {
      out.push_back(kBaseLetters[byte - 0x80]);
    } else {
      out.push_back(Cp1250ToLower(c));
    }
  }
  return out;
}

bool StartsWithLoosely(std::string_view text, std::string_view typed) {
  return SearchKey(text).starts_with(SearchKey(typed));
}

}  // namespace koltar
