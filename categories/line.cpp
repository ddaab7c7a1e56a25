#include "categories/line.h"

namespace koltar {

MLine::MLine(std::string_view categoryName, std::string_view, std::string_view) : name_(categoryName) {}

}  // namespace koltar
