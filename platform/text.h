#pragma once
// Code page 1250 text. Model text (names from map files, messages, labels) is kept as
// std::string of code page 1250 bytes; conversion to UTF-8 happens only at the user
// interface, the command line and the file system.

#include <string>
#include <string_view>

namespace koltar {

// Each byte becomes its Unicode character; the five bytes code page 1250 leaves
// undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// Each character becomes its code page 1250 byte; characters the code page lacks and
// malformed UTF-8 sequences become '?'.
std::string Utf8ToCp1250(std::string_view utf8);

// Like Utf8ToCp1250, but a Latin letter the code page lacks becomes its nearest letters
// (å -> a, ø -> o, æ -> ae, ñ -> n, ș -> ş); anything else outside the code page becomes
// '?'. `changed`, when given, receives the number of characters that were replaced.
std::string Utf8ToCp1250Transliterated(std::string_view utf8, int* changed = nullptr);

// True when the bytes are well-formed UTF-8 (plain ASCII is).
bool IsValidUtf8(std::string_view text);

// True when every character of the UTF-8 text has a code page 1250 byte.
bool FitsCp1250(std::string_view utf8);

// The Unicode code point of one code page 1250 byte (U+FFFD for undefined bytes).
char32_t Cp1250ToUnicode(unsigned char byte);

// Upper and lower case partners in code page 1250 (á/Á, ő/Ő, š/Š, ł/Ł...); bytes without
// a partner are returned unchanged.
char Cp1250ToUpper(char c);
char Cp1250ToLower(char c);
std::string Cp1250ToUpper(std::string_view text);

// Case-insensitive comparisons with the code page's letter pairs.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// <0, 0, >0 like strcmp, on the upper-case forms' byte values.
int CompareNoCase(std::string_view a, std::string_view b);

// The text as a search key that ignores letter case and accents: letters in lower case
// without their marks ("Győr" -> "gyor", "Székesfehérvár" -> "szekesfehervar",
// "Łódź" -> "lodz", "ß" -> "ss"); other bytes in lower case as the code page pairs them.
// Lets a user who types without accents find a name that has them.
std::string SearchKey(std::string_view text);
// True when the search key of `text` begins with the search key of `typed`.
bool StartsWithLoosely(std::string_view text, std::string_view typed);

}  // namespace koltar
