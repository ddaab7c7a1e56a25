#include "categories/map_category.h"

#include "categories/category_common.h"

namespace koltar {
namespace {

struct Keyword {
  std::string_view text;
  CategoryKind kind;
};
// Searched in this order.
constexpr Keyword kKeywords[] = {{"LINE", CategoryKind::Line},
                                 {"POINT", CategoryKind::Point},
                                 {"AREA", CategoryKind::Area},
                                 {"TEXT", CategoryKind::Text},
                                 {"OPTPATH", CategoryKind::OptPath}};

}  // namespace

std::optional<CategoryKind> CategoryKindOf(std::string_view keyword) {
  for (const Keyword& k : kKeywords)
    if (k.text == keyword) return k.kind;
  return std::nullopt;
}

std::string_view KeywordOf(CategoryKind kind) {
  for (const Keyword& k : kKeywords)
    if (k.kind == kind) return k.text;
  return {};
}

MapRect RenderContext::View() const { return ViewRectangle(transform, update, mapExtent); }

std::optional<std::int32_t> MapCategory::HitTest(MapPoint) const { return std::nullopt; }

const std::string& MapCategory::infoFile() const {
  static const std::string none;
  return none;
}

std::int32_t MapCategory::ObjectLayer(std::int32_t) const { return 0; }

std::optional<std::string_view> MapCategory::StoredName(std::int32_t) const { return std::nullopt; }

}  // namespace koltar
