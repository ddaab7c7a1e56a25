#pragma once
// Core code is compiled with code page 1250 as its execution character set, so a plain
// "é" literal is one byte, 0xE9, as in the map files. A UTF-8 text in a core test is
// written as a u8 literal and turned into a std::string here.

#include <string>

namespace koltar::test {

inline std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

}  // namespace koltar::test
