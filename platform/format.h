#pragma once
// Small text formatting helpers shared by every subsystem.

#include <cstdint>
#include <string>

namespace koltar {

// printf into a std::string (the formats are applied to code page 1250 bytes, so a
// width such as "%-30.30s" counts one byte as one character). Numbers are written as in
// the C locale ("12.5"), whatever the process locale.
std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The number in decimal with a blank before every group of three digits counted from
// the right and one closing blank: 50000000 gives "50 000 000 ", 950 gives "950 ",
// -1234 gives "-1 234 ".
std::string FormatGroupedNumber(std::int32_t value);

}  // namespace koltar
