#include "categories/place_names.h"

#include <new>
#include <optional>

#include "platform/text.h"

namespace koltar {

PlaceNameList::Fill PlaceNameList::Assign(const MapCategory& category, std::int32_t layer, bool mergeStreets,
                                          std::size_t capacity) {
  Clear();
  try {
    std::string_view last;
    for (std::int32_t i = 0; i < category.recordCount(); ++i) {
      if (entries_.size() >= capacity) return Fill::Full;
      if (layer != 0 && category.ObjectLayer(i) != layer) continue;
      const std::optional<std::string_view> name = category.StoredName(i);
      if (!name) continue;
      if (mergeStreets && !entries_.empty() && EqualsNoCase(*name, last)) continue;
      entries_.push_back(Entry{i, *name});
      keys_ += SearchKey(*name);
      keyEnds_.push_back(keys_.size());
      last = *name;
    }
  } catch (const std::bad_alloc&) {
    // The entries before the one that failed stay, each with its key.
    entries_.resize(keyEnds_.size());
    return Fill::NoMemory;
  }
  return entries_.size() >= capacity ? Fill::Full : Fill::Complete;
}

void PlaceNameList::Clear() {
  entries_.clear();
  keys_.clear();
  keyEnds_.clear();
}

std::int32_t PlaceNameList::FindPrefix(std::string_view typed) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (StartsWithNoCase(entries_[i].name, typed)) return static_cast<std::int32_t>(i);
  return -1;
}

std::vector<std::int32_t> PlaceNameList::LooseMatches(std::string_view typed, std::size_t limit) const {
  const std::string key = SearchKey(typed);
  std::vector<std::int32_t> whole, longer;
  if (key.empty() || limit == 0) return whole;
  for (std::size_t i = 0; i < entries_.size() && whole.size() < limit; ++i) {
    const std::string_view k = KeyOf(i);
    if (!k.starts_with(key)) continue;
    if (k.size() == key.size())
      whole.push_back(static_cast<std::int32_t>(i));
    else if (longer.size() < limit)
      longer.push_back(static_cast<std::int32_t>(i));
  }
  whole.insert(whole.end(), longer.begin(), longer.end());
  if (whole.size() > limit) whole.resize(limit);
  return whole;
}

std::vector<std::int32_t> PlaceNameList::LooseEquals(std::string_view typed) const {
  const std::string key = SearchKey(typed);
  std::vector<std::int32_t> out;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (KeyOf(i) == key) out.push_back(static_cast<std::int32_t>(i));
  return out;
}

}  // namespace koltar
