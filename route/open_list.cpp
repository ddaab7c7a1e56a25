#include "route/open_list.h"

#include <algorithm>
#include <cassert>

namespace koltar {

std::int32_t HalvingSearchLanding(std::int32_t count, std::int32_t greater, std::int32_t greaterOrEqual) {
  std::int32_t lower = 0;
  std::int32_t upper = count - 1;
  while (lower <= upper) {
    const std::int32_t mid = (lower + upper) / 2;
    if (mid < greater)
      lower = mid + 1;  // entry greater: look toward the end
    else if (mid >= greaterOrEqual)
      upper = mid - 1;  // entry smaller: look toward the start
    else
      return mid;  // equal entry
  }
  // No equal entry: the search ends with every entry before `greater` larger and every
  // later one smaller, and the new entry goes between them.
  return greater;
}

namespace {

// Makes room for `extra` more elements without reallocation, so that the structure is
// only changed after every allocation it needs has succeeded.
template <typename T>
void ReserveRoom(std::vector<T>& v, std::size_t extra) {
  if (v.capacity() - v.size() < extra) v.reserve(std::max<std::size_t>(64, 2 * v.capacity() + extra));
}

}  // namespace

void OpenList::Reset(std::int32_t nodeCount) {
  oldest_.assign(static_cast<std::size_t>(nodeCount), kNil);
  newest_.assign(static_cast<std::size_t>(nodeCount), kNil);
  entries_.clear();
  Clear();
}

void OpenList::Clear() {
  for (const Entry& e : entries_) {
    oldest_[e.node] = kNil;
    newest_[e.node] = kNil;
  }
  entries_.clear();
  values_.clear();
  groups_.clear();
  freeEntries_ = kNil;
  size_ = 0;
}

// The first group whose value is not larger than `value`.
std::size_t OpenList::GroupIndex(float value) const {
  // Values land near the end: gallop from there, then halve the last step.
  const std::size_t n = values_.size();
  if (n == 0 || values_[n - 1] > value) return n;
  std::size_t upper = n - 1;  // values_[upper] <= value
  std::size_t step = 1;
  while (step <= upper && values_[upper - step] <= value) {
    upper -= step;
    step *= 2;
  }
  std::size_t lower = step <= upper ? upper - step + 1 : 0;  // values_[lower - 1] > value
  // Halving without branches on the values (their comparisons do not predict).
  std::size_t length = upper - lower + 1;
  while (length > 1) {
    const std::size_t half = length / 2;
    lower = values_[lower + half - 1] > value ? lower + half : lower;
    length -= half;
  }
  return lower;
}

void OpenList::Unlink(Group& g, std::int32_t e) {
  const Entry& en = entries_[e];
  if (en.prev != kNil)
    entries_[en.prev].next = en.next;
  else
    g.first = en.next;
  if (en.next != kNil)
    entries_[en.next].prev = en.prev;
  else
    g.last = en.prev;
  --g.count;
}

void OpenList::ChainUnlink(std::int32_t e) {
  const Entry& en = entries_[e];
  if (en.olderOfNode != kNil)
    entries_[en.olderOfNode].newerOfNode = en.newerOfNode;
  else
    oldest_[en.node] = en.newerOfNode;
  if (en.newerOfNode != kNil)
    entries_[en.newerOfNode].olderOfNode = en.olderOfNode;
  else
    newest_[en.node] = en.olderOfNode;
}

void OpenList::FreeEntry(std::int32_t e) {
  entries_[e].next = freeEntries_;  // the node stays for Clear
  freeEntries_ = e;
}

void OpenList::Insert(std::int32_t node, float value) {
  assert(value == value);
  assert(newest_[node] == kNil || value < entries_[newest_[node]].value);
  ReserveRoom(entries_, 1);
  ReserveRoom(groups_, 1);
  ReserveRoom(values_, 1);

  const std::size_t at = GroupIndex(value);
  if (at == values_.size() || values_[at] != value) {
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), value);
    groups_.insert(groups_.begin() + static_cast<std::ptrdiff_t>(at), Group{0, kNil, kNil});
  }
  std::int32_t e = freeEntries_;
  if (e != kNil) {
    freeEntries_ = entries_[e].next;
  } else {
    e = static_cast<std::int32_t>(entries_.size());
    entries_.emplace_back();
  }
  Group& group = groups_[at];
  // Where the halving search lands among the equal values: before the only one, or
  // as the entry count and the number of larger values say.
  const std::int32_t count = group.count;
  std::int32_t offset = 0;
  if (count >= 2) {
    std::int32_t notLarger = 0;
    for (std::size_t i = at; i < groups_.size(); ++i) notLarger += groups_[i].count;
    const std::int32_t greater = size_ - notLarger;
    offset = HalvingSearchLanding(size_, greater, greater + count) - greater;
  }
  std::int32_t before = kNil;  // the entry the new one goes in front of
  if (offset < count) {
    if (offset <= count / 2) {
      before = group.first;
      for (std::int32_t i = 0; i < offset; ++i) before = entries_[before].next;
    } else {
      before = group.last;
      for (std::int32_t i = count - 1; i > offset; --i) before = entries_[before].prev;
    }
  }
  const std::int32_t after = before == kNil ? group.last : entries_[before].prev;
  entries_[e] = Entry{node, value, after, before, newest_[node], kNil};
  if (after != kNil)
    entries_[after].next = e;
  else
    group.first = e;
  if (before != kNil)
    entries_[before].prev = e;
  else
    group.last = e;
  ++group.count;
  ++size_;
  if (newest_[node] != kNil)
    entries_[newest_[node]].newerOfNode = e;
  else
    oldest_[node] = e;
  newest_[node] = e;
}

OpenList::Popped OpenList::PopLast() {
  assert(size_ > 0);
  Group& group = groups_.back();
  const std::int32_t e = group.last;
  const Popped out{entries_[e].node, values_.back()};
  Unlink(group, e);
  --size_;
  ChainUnlink(e);
  FreeEntry(e);
  if (group.count == 0) {
    groups_.pop_back();
    values_.pop_back();
  }
  return out;
}

bool OpenList::RemoveFirstOf(std::int32_t node) {
  const std::int32_t e = oldest_[node];
  if (e == kNil) return false;
  const std::size_t at = GroupIndex(entries_[e].value);
  assert(at < values_.size() && values_[at] == entries_[e].value);
  Unlink(groups_[at], e);
  if (groups_[at].count == 0) {
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(at));
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  --size_;
  ChainUnlink(e);
  FreeEntry(e);
  return true;
}

std::vector<OpenList::Popped> OpenList::Snapshot() const {
  std::vector<Popped> out;
  for (std::size_t i = 0; i < groups_.size(); ++i)
    for (std::int32_t e = groups_[i].first; e != kNil; e = entries_[e].next) out.push_back(Popped{entries_[e].node, values_[i]});
  return out;
}

}  // namespace koltar
