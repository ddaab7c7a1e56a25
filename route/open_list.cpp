#include "route/open_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>

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
  blocks_.clear();
  dirBlock_.clear();
  dirLast_.clear();
  dirTotal_.clear();
  freeBlocks_ = freeEntries_ = kNil;
  blocked_ = false;
  size_ = 0;
}

namespace {

// The first index of `values` (descending) in [0, n) whose value is not larger than
// `value`, or n: galloping from the end, then halving without branches on the values
// (their comparisons do not predict).
template <typename Index>
Index FirstNotLarger(const float* values, Index n, float value) {
  if (n == 0 || values[n - 1] > value) return n;
  Index upper = n - 1;  // values[upper] <= value
  Index step = 1;
  while (step <= upper && !(values[upper - step] > value)) {
    upper -= step;
    step *= 2;
  }
  Index lower = step <= upper ? upper - step + 1 : 0;  // values[lower - 1] > value
  for (Index length = upper - lower + 1; length > 1;) {
    const Index half = length / 2;
    lower = values[lower + half - 1] > value ? lower + half : lower;
    length -= half;
  }
  return lower;
}

}  // namespace

std::size_t OpenList::FlatIndex(float value) const {
  return FirstNotLarger(values_.data(), values_.size(), value);
}

OpenList::Place OpenList::Locate(float value) const {
  // The first block whose smallest value is not larger than `value`, then the group.
  const std::size_t n = dirLast_.size();
  if (n == 0) return Place{0, 0};
  if (dirLast_[n - 1] > value) return Place{n - 1, blocks_[dirBlock_[n - 1]].size};  // after the last
  const std::size_t d = FirstNotLarger(dirLast_.data(), n, value);
  const Block& b = blocks_[dirBlock_[d]];
  return Place{d, FirstNotLarger(b.values, b.size, value)};
}

std::int32_t OpenList::NewBlock() {
  std::int32_t b = freeBlocks_;
  if (b != kNil) {
    freeBlocks_ = blocks_[b].groups[0].count;
  } else {
    b = static_cast<std::int32_t>(blocks_.size());
    blocks_.emplace_back();
  }
  blocks_[b].size = 0;
  return b;
}

// Moves the upper half of a full block into a new block after it.
void OpenList::SplitBlock(std::size_t dir) {
  constexpr std::int32_t kKeep = kBlockCapacity / 2;
  const std::int32_t nb = NewBlock();
  Block& b = blocks_[dirBlock_[dir]];
  Block& upper = blocks_[nb];
  upper.size = b.size - kKeep;
  std::int32_t moved = 0;
  for (std::int32_t j = 0; j < upper.size; ++j) {
    upper.groups[j] = b.groups[kKeep + j];
    upper.values[j] = b.values[kKeep + j];
    moved += upper.groups[j].count;
  }
  b.size = kKeep;
  const auto at = static_cast<std::ptrdiff_t>(dir + 1);
  dirBlock_.insert(dirBlock_.begin() + at, nb);
  dirLast_.insert(dirLast_.begin() + at, dirLast_[dir]);
  dirTotal_.insert(dirTotal_.begin() + at, moved);
  dirLast_[dir] = b.values[kKeep - 1];
  dirTotal_[dir] -= moved;
}

// Takes an emptied group out of its block, and an emptied block out of the directory.
void OpenList::EraseGroup(const Place& at) {
  const std::int32_t bi = dirBlock_[at.dir];
  Block& b = blocks_[bi];
  const auto after = static_cast<std::size_t>(b.size - at.index - 1);
  std::memmove(b.groups + at.index, b.groups + at.index + 1, sizeof(Group) * after);
  std::memmove(b.values + at.index, b.values + at.index + 1, sizeof(float) * after);
  if (--b.size > 0) {
    dirLast_[at.dir] = b.values[b.size - 1];
    return;
  }
  b.groups[0].count = freeBlocks_;
  freeBlocks_ = bi;
  const auto d = static_cast<std::ptrdiff_t>(at.dir);
  dirBlock_.erase(dirBlock_.begin() + d);
  dirLast_.erase(dirLast_.begin() + d);
  dirTotal_.erase(dirTotal_.begin() + d);
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

void OpenList::Link(Group& group, std::int32_t offset, std::int32_t e, std::int32_t node, float value) {
  const std::int32_t count = group.count;
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

void OpenList::Insert(std::int32_t node, float value) {
  assert(value == value);
  assert(newest_[node] == kNil || value < entries_[newest_[node]].value);
  ReserveRoom(entries_, 1);
  if (!blocked_ && static_cast<std::int32_t>(values_.size()) >= flatLimit_) ToBlocks();
  if (blocked_) {
    ReserveRoom(blocks_, 2);
    ReserveRoom(dirBlock_, 2);
    ReserveRoom(dirLast_, 2);
    ReserveRoom(dirTotal_, 2);
  } else {
    ReserveRoom(values_, 1);
    ReserveRoom(groups_, 1);
  }
  std::int32_t e = freeEntries_;
  if (e != kNil) {
    freeEntries_ = entries_[e].next;
  } else {
    e = static_cast<std::int32_t>(entries_.size());
    entries_.emplace_back();
  }
  if (blocked_)
    InsertBlocked(e, node, value);
  else
    InsertFlat(e, node, value);
}

OpenList::Popped OpenList::PopLast() {
  assert(size_ > 0);
  return blocked_ ? PopLastBlocked() : PopLastFlat();
}

bool OpenList::RemoveFirstOf(std::int32_t node) {
  const std::int32_t e = oldest_[node];
  if (e == kNil) return false;
  if (blocked_)
    RemoveBlocked(e);
  else
    RemoveFlat(e);
  --size_;
  ChainUnlink(e);
  FreeEntry(e);
  return true;
}

// ---------------------------------------------------------------------------------
// Flat: one vector of groups.

void OpenList::InsertFlat(std::int32_t e, std::int32_t node, float value) {
  const std::size_t at = FlatIndex(value);
  if (at == values_.size() || values_[at] != value) {
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), value);
    groups_.insert(groups_.begin() + static_cast<std::ptrdiff_t>(at), Group{0, kNil, kNil});
  }
  Group& group = groups_[at];
  std::int32_t offset = 0;
  if (group.count >= 2) {
    std::int32_t notLarger = 0;
    for (std::size_t i = at; i < groups_.size(); ++i) notLarger += groups_[i].count;
    const std::int32_t greater = size_ - notLarger;
    offset = HalvingSearchLanding(size_, greater, greater + group.count) - greater;
  }
  Link(group, offset, e, node, value);
}

OpenList::Popped OpenList::PopLastFlat() {
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

void OpenList::RemoveFlat(std::int32_t e) {
  const std::size_t at = FlatIndex(entries_[e].value);
  assert(at < values_.size() && values_[at] == entries_[e].value);
  Unlink(groups_[at], e);
  if (groups_[at].count == 0) {
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(at));
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
  }
}

// The flat groups into half-full blocks. May throw std::bad_alloc, before anything
// is changed.
void OpenList::ToBlocks() {
  constexpr std::size_t kFill = kBlockCapacity / 2;
  const std::size_t n = values_.size();
  const std::size_t blocks = (n + kFill - 1) / kFill;
  blocks_.reserve(std::max<std::size_t>(64, 2 * blocks + 2));
  dirBlock_.reserve(2 * blocks + 2);
  dirLast_.reserve(2 * blocks + 2);
  dirTotal_.reserve(2 * blocks + 2);
  for (std::size_t first = 0; first < n; first += kFill) {
    const std::int32_t bi = NewBlock();
    Block& b = blocks_[bi];
    b.size = static_cast<std::int32_t>(std::min(kFill, n - first));
    std::int32_t total = 0;
    for (std::int32_t j = 0; j < b.size; ++j) {
      b.values[j] = values_[first + static_cast<std::size_t>(j)];
      b.groups[j] = groups_[first + static_cast<std::size_t>(j)];
      total += b.groups[j].count;
    }
    dirBlock_.push_back(bi);
    dirLast_.push_back(b.values[b.size - 1]);
    dirTotal_.push_back(total);
  }
  values_.clear();
  groups_.clear();
  blocked_ = true;
}

// ---------------------------------------------------------------------------------
// Blocks.

void OpenList::InsertBlocked(std::int32_t e, std::int32_t node, float value) {
  if (dirBlock_.empty()) {
    dirBlock_.push_back(NewBlock());
    dirLast_.push_back(value);
    dirTotal_.push_back(0);
  }
  Place at = Locate(value);
  if (Block& b = blocks_[dirBlock_[at.dir]]; at.index == b.size || b.values[at.index] != value) {
    // A new value: a group of its own.
    if (b.size == kBlockCapacity) {
      SplitBlock(at.dir);
      const std::int32_t kept = blocks_[dirBlock_[at.dir]].size;
      if (at.index > kept) {
        ++at.dir;
        at.index -= kept;
      }
    }
    Block& into = blocks_[dirBlock_[at.dir]];
    const auto after = static_cast<std::size_t>(into.size - at.index);
    std::memmove(into.groups + at.index + 1, into.groups + at.index, sizeof(Group) * after);
    std::memmove(into.values + at.index + 1, into.values + at.index, sizeof(float) * after);
    into.groups[at.index] = Group{0, kNil, kNil};
    into.values[at.index] = value;
    if (at.index == into.size) dirLast_[at.dir] = value;
    ++into.size;
  }
  const Block& b = blocks_[dirBlock_[at.dir]];
  Group& group = GroupAt(at);
  std::int32_t offset = 0;
  if (group.count >= 2) {
    std::int32_t notLarger = 0;
    for (std::int32_t j = at.index; j < b.size; ++j) notLarger += b.groups[j].count;
    for (std::size_t d = at.dir + 1; d < dirTotal_.size(); ++d) notLarger += dirTotal_[d];
    const std::int32_t greater = size_ - notLarger;
    offset = HalvingSearchLanding(size_, greater, greater + group.count) - greater;
  }
  Link(group, offset, e, node, value);
  ++dirTotal_[at.dir];
}

OpenList::Popped OpenList::PopLastBlocked() {
  Block& b = blocks_[dirBlock_.back()];
  Group& group = b.groups[b.size - 1];
  const std::int32_t e = group.last;
  const Popped out{entries_[e].node, b.values[b.size - 1]};
  Unlink(group, e);
  --dirTotal_.back();
  --size_;
  ChainUnlink(e);
  FreeEntry(e);
  if (group.count == 0) {
    // The last group of the last block: nothing moves.
    if (--b.size > 0) {
      dirLast_.back() = b.values[b.size - 1];
    } else {
      b.groups[0].count = freeBlocks_;
      freeBlocks_ = dirBlock_.back();
      dirBlock_.pop_back();
      dirLast_.pop_back();
      dirTotal_.pop_back();
    }
  }
  return out;
}

void OpenList::RemoveBlocked(std::int32_t e) {
  const Place at = Locate(entries_[e].value);
  assert(blocks_[dirBlock_[at.dir]].values[at.index] == entries_[e].value);
  Group& group = GroupAt(at);
  Unlink(group, e);
  --dirTotal_[at.dir];
  if (group.count == 0) EraseGroup(at);
}

std::vector<OpenList::Popped> OpenList::Snapshot() const {
  std::vector<Popped> out;
  for (std::size_t i = 0; i < groups_.size(); ++i)
    for (std::int32_t e = groups_[i].first; e != kNil; e = entries_[e].next)
      out.push_back(Popped{entries_[e].node, values_[i]});
  for (const std::int32_t bi : dirBlock_) {
    const Block& b = blocks_[bi];
    for (std::int32_t j = 0; j < b.size; ++j)
      for (std::int32_t e = b.groups[j].first; e != kNil; e = entries_[e].next)
        out.push_back(Popped{entries_[e].node, b.values[j]});
  }
  return out;
}

}  // namespace koltar
