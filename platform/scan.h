#pragma once
// The one reader of numbers and fields in description-file values ("650000,230000",
// "0,0,255", "Arial CE,0,0,0,0,0,0,12.5,0"). It reads a value as the C library's sscanf
// reads it with the same format, but independent of the process locale: numbers always
// have a decimal point, whatever LC_NUMERIC says.
//
// Conversions, each storing into the next output:
//   %d    an int, std::int32_t&: blanks, sign, digits; a number that does not fit keeps
//         its low 32 bits, as the C library's conversion into an int does
//   %ld   a long of 32 bits, std::int32_t&: as %d, but a number that does not fit
//         becomes -2147483648 or 2147483647
//   %lld  std::int64_t&: as %d, saturating at 64 bits
//   %f    float&; %lf double&: blanks, then a decimal number, inf or nan, as strtod reads
//         it; out of range gives infinity or zero
//   %s    std::string&: blanks, then the characters up to the next blank
//   %[^c] std::string&: one or more characters up to the character c, blanks included
//   %*c   any one character, stored nowhere
// %s and %[^c] take an optional width ("%119[^,]"). A blank in the format skips any
// blanks; any other character must come next in the text. Reading stops at the first
// conversion that fails.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace koltar {

using ScanOutput = std::variant<std::int32_t*, std::int64_t*, float*, double*, std::string*>;

// The number of outputs stored, or -1 when the text ended before the first conversion
// (sscanf's EOF). A conversion whose output has the wrong type stops reading.
int ScanValuesInto(std::string_view text, std::string_view format, const ScanOutput* outputs, int count);

template <typename... Out>
int ScanValues(std::string_view text, std::string_view format, Out&... out) {
  const ScanOutput outputs[] = {ScanOutput(&out)..., ScanOutput(static_cast<std::int32_t*>(nullptr))};
  return ScanValuesInto(text, format, outputs, static_cast<int>(sizeof...(Out)));
}

}  // namespace koltar
