#include "categories/text.h"

namespace koltar {

MText::MText(std::string_view categoryName, std::string_view, std::string_view) : name_(categoryName) {}

}  // namespace koltar
