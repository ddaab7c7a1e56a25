#include "categories/point.h"

namespace koltar {

MPoint::MPoint(std::string_view categoryName, std::string_view, std::string_view) : name_(categoryName) {}

}  // namespace koltar
