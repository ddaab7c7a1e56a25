#pragma once
// User-interface code keeps its literals in UTF-8; the core wants code page 1250.

#include <string>

#include "platform/text.h"

namespace koltar {

inline std::string Cp(const char* utf8) { return Utf8ToCp1250(utf8); }

}  // namespace koltar
