#include "categories/area.h"

namespace koltar {

MArea::MArea(std::string_view categoryName, std::string_view, std::string_view) : name_(categoryName) {}

}  // namespace koltar
