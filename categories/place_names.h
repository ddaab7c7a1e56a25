#pragma once
// The names the place search lists for one category and layer, in file order, and the
// two ways a typed text finds them: the list's own prefix search (letter case ignored)
// and the loose search that also ignores accents ("gyor" finds "Győr").
//
// Entries refer to the names in the category's name table, so the list is valid while
// the category lives. The search keys of all names are made once, when the list is
// filled, so that each typed character costs one pass over them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "categories/map_category.h"

namespace koltar {

class PlaceNameList {
 public:
  // The most entries a list can hold.
  static constexpr std::size_t kMaxEntries = 2147483647;

  // What filling came to: every record visited; stopped at the capacity; stopped because
  // memory ran out (the entries made so far are kept).
  enum class Fill { Complete, Full, NoMemory };

  struct Entry {
    std::int32_t record;    // the record the entry stands for
    std::string_view name;  // its stored name
  };

  // Visits the category's records in file order and lists those of layer `layer` (0: of
  // every layer) that have a name (MapCategory::StoredName). With `mergeStreets` (a point
  // category with house numbers) a record is listed only when its name differs, letter
  // case ignored, from the name listed last, so that the consecutive segments of a
  // street give one entry, for the street's first record; a name that comes again later
  // after another one gives another entry.
  Fill Assign(const MapCategory& category, std::int32_t layer, bool mergeStreets,
              std::size_t capacity = kMaxEntries);
  void Clear();

  std::int32_t size() const { return static_cast<std::int32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  // Entry i, 0 <= i < size().
  const Entry& operator[](std::int32_t i) const { return entries_[static_cast<std::size_t>(i)]; }

  // The first entry whose name begins with `typed`, letter case ignored; -1 when none.
  std::int32_t FindPrefix(std::string_view typed) const;
  // The entries whose names begin with `typed` when letter case and accents are ignored
  // (SearchKey): those whose whole name matches first, then the longer ones, each group
  // in list order; at most `limit`. None for a text whose key is empty.
  std::vector<std::int32_t> LooseMatches(std::string_view typed, std::size_t limit) const;
  // The entries whose whole names match `typed` with letter case and accents ignored,
  // in list order.
  std::vector<std::int32_t> LooseEquals(std::string_view typed) const;

 private:
  std::string_view KeyOf(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : keyEnds_[i - 1];
    return std::string_view(keys_).substr(begin, keyEnds_[i] - begin);
  }

  std::vector<Entry> entries_;
  std::string keys_;                  // every entry's search key, one after the other
  std::vector<std::size_t> keyEnds_;  // where each entry's key ends in keys_
};

}  // namespace koltar
