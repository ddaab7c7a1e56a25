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

// Opens a hole at `from` in the first `size` elements; plain loops, as the arrays are
// short and mostly nothing moves.
template <typename T>
void MoveUp(T* array, std::int32_t from, std::int32_t size) {
  for (std::int32_t i = size; i > from; --i) array[i] = array[i - 1];
}

// Closes the hole at `from` in the first `size` elements.
template <typename T>
void MoveDown(T* array, std::int32_t from, std::int32_t size) {
  for (std::int32_t i = from + 1; i < size; ++i) array[i - 1] = array[i];
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
  blocks_.clear();
  chunks_.clear();
  entries_.clear();
  dirBlock_.clear();
  dirLast_.clear();
  dirTotal_.clear();
  freeBlocks_ = freeChunks_ = freeEntries_ = kNil;
  size_ = 0;
}

std::int32_t OpenList::NewBlock() {
  std::int32_t b = freeBlocks_;
  if (b != kNil) {
    freeBlocks_ = blocks_[b].slot[0].count;
  } else {
    b = static_cast<std::int32_t>(blocks_.size());
    blocks_.emplace_back();
  }
  blocks_[b].size = 0;
  return b;
}

void OpenList::FreeBlock(std::int32_t b) {
  blocks_[b].slot[0].count = freeBlocks_;
  freeBlocks_ = b;
}

std::int32_t OpenList::NewChunk() {
  std::int32_t c = freeChunks_;
  if (c != kNil) {
    freeChunks_ = chunks_[c].next;
  } else {
    c = static_cast<std::int32_t>(chunks_.size());
    chunks_.emplace_back();
  }
  chunks_[c].count = 0;
  chunks_[c].prev = chunks_[c].next = kNil;
  return c;
}

std::int32_t OpenList::NewEntry(std::int32_t node, float value) {
  std::int32_t e = freeEntries_;
  if (e != kNil) {
    freeEntries_ = entries_[e].olderOfNode;
  } else {
    e = static_cast<std::int32_t>(entries_.size());
    entries_.emplace_back();
  }
  entries_[e] = Entry{node, value, kNil, kNil, kNil};
  return e;
}

void OpenList::FreeEntry(std::int32_t e) {
  entries_[e].olderOfNode = freeEntries_;  // the node stays for Clear
  freeEntries_ = e;
}

void OpenList::ChainAppend(std::int32_t node, std::int32_t e) {
  const std::int32_t last = newest_[node];
  entries_[e].olderOfNode = last;
  entries_[e].newerOfNode = kNil;
  if (last != kNil)
    entries_[last].newerOfNode = e;
  else
    oldest_[node] = e;
  newest_[node] = e;
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

void OpenList::InsertDirectory(std::int32_t at, std::int32_t block, float last, std::int32_t total) {
  dirBlock_.insert(dirBlock_.begin() + at, block);
  dirLast_.insert(dirLast_.begin() + at, last);
  dirTotal_.insert(dirTotal_.begin() + at, total);
}

void OpenList::EraseDirectory(std::int32_t at) {
  dirBlock_.erase(dirBlock_.begin() + at);
  dirLast_.erase(dirLast_.begin() + at);
  dirTotal_.erase(dirTotal_.begin() + at);
}

OpenList::Place OpenList::Locate(float value) const {
  // The first block whose smallest value is not larger than `value`.
  std::int32_t lower = 0;
  std::int32_t upper = static_cast<std::int32_t>(dirLast_.size());
  while (lower < upper) {
    const std::int32_t mid = (lower + upper) / 2;
    if (dirLast_[mid] > value)
      lower = mid + 1;
    else
      upper = mid;
  }
  if (lower == static_cast<std::int32_t>(dirLast_.size())) {
    // Smaller than every value: after the last group.
    const std::int32_t last = lower - 1;
    return Place{last, blocks_[dirBlock_[last]].size, false};
  }
  const Block& b = blocks_[dirBlock_[lower]];
  std::int32_t index = 0;
  for (std::int32_t j = 0; j < b.size; ++j) index += b.value[j] > value;
  return Place{lower, index, index < b.size && b.value[index] == value};
}

void OpenList::SplitBlock(std::int32_t dir) {
  constexpr std::int32_t kKeep = kBlockCapacity / 2;
  const std::int32_t nb = NewBlock();
  Block& b = blocks_[dirBlock_[dir]];
  Block& upper = blocks_[nb];
  const std::int32_t moved = b.size - kKeep;
  std::memcpy(upper.value, b.value + kKeep, sizeof(float) * moved);
  std::memcpy(upper.slot, b.slot + kKeep, sizeof(Slot) * moved);
  upper.size = moved;
  b.size = kKeep;
  std::int32_t movedTotal = 0;
  for (std::int32_t j = 0; j < moved; ++j) movedTotal += upper.slot[j].count;
  dirTotal_[dir] -= movedTotal;
  const float upperLast = dirLast_[dir];
  dirLast_[dir] = b.value[kKeep - 1];
  InsertDirectory(dir + 1, nb, upperLast, movedTotal);
}

// Removes the (empty) group at `index` of the block at `dir`.
void OpenList::RemoveGroup(std::int32_t dir, std::int32_t index) {
  const std::int32_t bi = dirBlock_[dir];
  Block& b = blocks_[bi];
  MoveDown(b.value, index, b.size);
  MoveDown(b.slot, index, b.size);
  if (--b.size == 0) {
    FreeBlock(bi);
    EraseDirectory(dir);
    return;
  }
  dirLast_[dir] = b.value[b.size - 1];
}

// Keeps the directory short after removals in the middle: a block that fell below a
// quarter is merged into a neighbour that has room for it.
void OpenList::MergeSmallBlock(std::int32_t dir) {
  const auto dirs = static_cast<std::int32_t>(dirBlock_.size());
  if (dir < 0 || dir >= dirs || blocks_[dirBlock_[dir]].size >= kBlockCapacity / 4) return;
  std::int32_t into = -1;
  if (dir + 1 < dirs && blocks_[dirBlock_[dir]].size + blocks_[dirBlock_[dir + 1]].size <= kBlockCapacity)
    into = dir;
  else if (dir > 0 && blocks_[dirBlock_[dir - 1]].size + blocks_[dirBlock_[dir]].size <= kBlockCapacity)
    into = dir - 1;
  if (into < 0) return;
  Block& a = blocks_[dirBlock_[into]];
  const std::int32_t bi = dirBlock_[into + 1];
  const Block& b = blocks_[bi];
  std::memcpy(a.value + a.size, b.value, sizeof(float) * b.size);
  std::memcpy(a.slot + a.size, b.slot, sizeof(Slot) * b.size);
  a.size += b.size;
  dirTotal_[into] += dirTotal_[into + 1];
  dirLast_[into] = dirLast_[into + 1];
  FreeBlock(bi);
  EraseDirectory(into + 1);
}

void OpenList::UnlinkChunk(Slot& slot, std::int32_t c) {
  Chunk& ch = chunks_[c];
  if (ch.prev != kNil)
    chunks_[ch.prev].next = ch.next;
  else
    slot.first = ch.next;
  if (ch.next != kNil)
    chunks_[ch.next].prev = ch.prev;
  else
    slot.last = ch.prev;
  ch.next = freeChunks_;
  freeChunks_ = c;
}

// Puts entry e before the entry at `offset` of the group (at its end for offset ==
// count); the caller counts it.
void OpenList::GroupInsert(Slot& slot, std::int32_t offset, std::int32_t e) {
  if (slot.count == 0) {
    slot.first = kInline;
    slot.last = e;
    entries_[e].chunk = kNil;
    return;
  }
  if (slot.first == kInline) {
    const std::int32_t c = NewChunk();
    const std::int32_t other = slot.last;
    Chunk& ch = chunks_[c];
    ch.items[offset == 0 ? 0 : 1] = e;
    ch.items[offset == 0 ? 1 : 0] = other;
    ch.count = 2;
    entries_[e].chunk = entries_[other].chunk = c;
    slot.first = slot.last = c;
    return;
  }

  std::int32_t c = slot.first;
  if (offset <= slot.count / 2) {
    while (offset > chunks_[c].count && chunks_[c].next != kNil) {
      offset -= chunks_[c].count;
      c = chunks_[c].next;
    }
  } else {
    std::int32_t after = slot.count - offset;  // entries behind the insertion point
    c = slot.last;
    while (after > chunks_[c].count && chunks_[c].prev != kNil) {
      after -= chunks_[c].count;
      c = chunks_[c].prev;
    }
    offset = chunks_[c].count - after;
  }

  if (chunks_[c].count == kChunkCapacity) {
    constexpr std::int32_t kKeep = kChunkCapacity / 2;
    const std::int32_t c2 = NewChunk();
    Chunk& full = chunks_[c];
    Chunk& half = chunks_[c2];
    half.count = kChunkCapacity - kKeep;
    std::memcpy(half.items, full.items + kKeep, sizeof(std::int32_t) * half.count);
    for (std::int32_t i = 0; i < half.count; ++i) entries_[half.items[i]].chunk = c2;
    full.count = kKeep;
    half.prev = c;
    half.next = full.next;
    if (full.next != kNil)
      chunks_[full.next].prev = c2;
    else
      slot.last = c2;
    full.next = c2;
    if (offset > kKeep) {
      c = c2;
      offset -= kKeep;
    }
  }

  Chunk& ch = chunks_[c];
  MoveUp(ch.items, offset, ch.count);
  ch.items[offset] = e;
  ++ch.count;
  entries_[e].chunk = c;
}

// Takes entry e out of the group; the caller counts it.
void OpenList::GroupErase(Slot& slot, std::int32_t e) {
  if (slot.first == kInline) {
    slot.first = slot.last = kNil;
    return;
  }
  const std::int32_t c = entries_[e].chunk;
  Chunk& ch = chunks_[c];
  std::int32_t i = 0;
  while (ch.items[i] != e) ++i;
  MoveDown(ch.items, i, ch.count);
  if (--ch.count == 0) UnlinkChunk(slot, c);
}

// Takes the group's last entry out; the caller counts it.
std::int32_t OpenList::GroupPopLast(Slot& slot) {
  if (slot.first == kInline) {
    const std::int32_t e = slot.last;
    slot.first = slot.last = kNil;
    return e;
  }
  const std::int32_t c = slot.last;
  Chunk& ch = chunks_[c];
  const std::int32_t e = ch.items[--ch.count];
  if (ch.count == 0) UnlinkChunk(slot, c);
  return e;
}

void OpenList::Insert(std::int32_t node, float value) {
  assert(value == value);
  assert(newest_[node] == kNil || value < entries_[newest_[node]].value);
  ReserveRoom(entries_, 1);
  ReserveRoom(chunks_, 2);
  ReserveRoom(blocks_, 2);
  ReserveRoom(dirBlock_, 1);
  ReserveRoom(dirLast_, 1);
  ReserveRoom(dirTotal_, 1);

  const std::int32_t e = NewEntry(node, value);
  if (dirBlock_.empty()) InsertDirectory(0, NewBlock(), value, 0);
  Place at = Locate(value);

  if (at.equal) {
    // Joining equal values: the halving search lands inside their index range.
    Block& b = blocks_[dirBlock_[at.dir]];
    // New values land near the array's end (the search inserts values just above the
    // smallest), so the entries before the block are counted from the end.
    std::int32_t greater = size_;
    for (auto d = static_cast<std::int32_t>(dirTotal_.size()) - 1; d >= at.dir; --d) greater -= dirTotal_[d];
    for (std::int32_t j = 0; j < at.index; ++j) greater += b.slot[j].count;
    Slot& slot = b.slot[at.index];
    const std::int32_t landing = HalvingSearchLanding(size_, greater, greater + slot.count);
    GroupInsert(slot, landing - greater, e);
    ++slot.count;
  } else {
    if (blocks_[dirBlock_[at.dir]].size == kBlockCapacity) {
      SplitBlock(at.dir);
      const std::int32_t kept = blocks_[dirBlock_[at.dir]].size;
      if (at.index > kept) {
        ++at.dir;
        at.index -= kept;
      }
    }
    Block& b = blocks_[dirBlock_[at.dir]];
    MoveUp(b.value, at.index, b.size);
    MoveUp(b.slot, at.index, b.size);
    b.value[at.index] = value;
    b.slot[at.index] = Slot{1, kInline, e};
    entries_[e].chunk = kNil;
    ++b.size;
    if (at.index == b.size - 1) dirLast_[at.dir] = value;
  }
  ++dirTotal_[at.dir];
  ++size_;
  ChainAppend(node, e);
}

OpenList::Popped OpenList::PopLast() {
  assert(size_ > 0);
  const auto dir = static_cast<std::int32_t>(dirBlock_.size()) - 1;
  Block& b = blocks_[dirBlock_[dir]];
  const std::int32_t index = b.size - 1;
  Slot& slot = b.slot[index];
  const std::int32_t e = GroupPopLast(slot);
  --dirTotal_[dir];
  --size_;
  const Popped out{entries_[e].node, entries_[e].value};
  ChainUnlink(e);
  FreeEntry(e);
  if (--slot.count == 0) RemoveGroup(dir, index);
  return out;
}

bool OpenList::RemoveFirstOf(std::int32_t node) {
  const std::int32_t e = oldest_[node];
  if (e == kNil) return false;
  const Place at = Locate(entries_[e].value);
  assert(at.equal);
  Block& b = blocks_[dirBlock_[at.dir]];
  Slot& slot = b.slot[at.index];
  GroupErase(slot, e);
  --dirTotal_[at.dir];
  --size_;
  ChainUnlink(e);
  FreeEntry(e);
  if (--slot.count == 0) {
    const bool blockGone = b.size == 1;
    RemoveGroup(at.dir, at.index);
    MergeSmallBlock(blockGone ? at.dir - 1 : at.dir);
  }
  return true;
}

std::vector<OpenList::Popped> OpenList::Snapshot() const {
  std::vector<Popped> out;
  for (const std::int32_t bi : dirBlock_) {
    const Block& b = blocks_[bi];
    for (std::int32_t j = 0; j < b.size; ++j) {
      const Slot& slot = b.slot[j];
      if (slot.first == kInline) {
        out.push_back(Popped{entries_[slot.last].node, b.value[j]});
        continue;
      }
      for (std::int32_t c = slot.first; c != kNil; c = chunks_[c].next)
        for (std::int32_t i = 0; i < chunks_[c].count; ++i)
          out.push_back(Popped{entries_[chunks_[c].items[i]].node, b.value[j]});
    }
  }
  return out;
}

}  // namespace koltar
