#include "route/open_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace koltar {

std::int32_t HalvingSearchLanding(std::int32_t count, std::int32_t greater,
                                  std::int32_t greaterOrEqual) {
  std::int32_t lower = 0;
  std::int32_t upper = count - 1;
  while (lower <= upper) {
    const std::int32_t mid = (lower + upper) / 2;
    if (mid < greater) lower = mid + 1;              // entry greater: look toward the end
    else if (mid >= greaterOrEqual) upper = mid - 1;  // entry smaller: look toward the start
    else return mid;                                  // equal entry
  }
  // No equal entry: the search ends with every entry before `greater` larger and every
  // later one smaller, and the new entry goes between them.
  return greater;
}

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
  groups_.clear();
  chunks_.clear();
  entries_.clear();
  freeGroups_ = freeChunks_ = freeEntries_ = kNil;
  root_ = minGroup_ = kNil;
  size_ = 0;
}

namespace {

// Makes room for `extra` more elements without reallocation, so that the structure is
// only changed after every allocation it needs has succeeded.
template <typename T>
void ReserveRoom(std::vector<T>& v, std::size_t extra) {
  if (v.capacity() - v.size() < extra) v.reserve(std::max<std::size_t>(64, 2 * v.capacity() + extra));
}

}  // namespace

std::int32_t OpenList::NewGroup(float value) {
  std::int32_t g = freeGroups_;
  if (g != kNil) {
    freeGroups_ = groups_[g].left;
  } else {
    g = static_cast<std::int32_t>(groups_.size());
    groups_.emplace_back();
  }
  // xorshift32: priorities only shape the tree, never the order of entries.
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  groups_[g] = Group{value, kNil, kNil, kNil, random_, 0, 0, kNil, kNil};
  return g;
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

std::int32_t OpenList::NewEntry(std::int32_t node, std::int32_t group) {
  std::int32_t e = freeEntries_;
  if (e != kNil) {
    freeEntries_ = entries_[e].olderOfNode;
  } else {
    e = static_cast<std::int32_t>(entries_.size());
    entries_.emplace_back();
  }
  entries_[e] = Entry{node, group, kNil, kNil, kNil};
  return e;
}

void OpenList::ChainAppend(std::int32_t node, std::int32_t e) {
  const std::int32_t last = newest_[node];
  entries_[e].olderOfNode = last;
  entries_[e].newerOfNode = kNil;
  if (last != kNil) entries_[last].newerOfNode = e;
  else oldest_[node] = e;
  newest_[node] = e;
}

void OpenList::ChainUnlink(std::int32_t e) {
  const Entry& en = entries_[e];
  if (en.olderOfNode != kNil) entries_[en.olderOfNode].newerOfNode = en.newerOfNode;
  else oldest_[en.node] = en.newerOfNode;
  if (en.newerOfNode != kNil) entries_[en.newerOfNode].olderOfNode = en.olderOfNode;
  else newest_[en.node] = en.olderOfNode;
}

void OpenList::UnlinkChunk(std::int32_t g, std::int32_t c) {
  Chunk& ch = chunks_[c];
  if (ch.prev != kNil) chunks_[ch.prev].next = ch.next;
  else groups_[g].firstChunk = ch.next;
  if (ch.next != kNil) chunks_[ch.next].prev = ch.prev;
  else groups_[g].lastChunk = ch.prev;
  ch.next = freeChunks_;
  freeChunks_ = c;
}

void OpenList::GroupInsert(std::int32_t g, std::int32_t offset, std::int32_t e) {
  Group& group = groups_[g];
  std::int32_t c = group.firstChunk;
  if (c == kNil) {
    c = NewChunk();
    group.firstChunk = group.lastChunk = c;
    offset = 0;
  } else if (offset <= group.count / 2) {
    while (offset > chunks_[c].count && chunks_[c].next != kNil) {
      offset -= chunks_[c].count;
      c = chunks_[c].next;
    }
  } else {
    std::int32_t after = group.count - offset;  // entries behind the insertion point
    c = group.lastChunk;
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
    if (full.next != kNil) chunks_[full.next].prev = c2;
    else groups_[g].lastChunk = c2;
    full.next = c2;
    if (offset > kKeep) {
      c = c2;
      offset -= kKeep;
    }
  }

  Chunk& ch = chunks_[c];
  std::memmove(ch.items + offset + 1, ch.items + offset,
               sizeof(std::int32_t) * static_cast<std::size_t>(ch.count - offset));
  ch.items[offset] = e;
  ++ch.count;
  entries_[e].chunk = c;
}

void OpenList::GroupErase(std::int32_t g, std::int32_t e) {
  const std::int32_t c = entries_[e].chunk;
  Chunk& ch = chunks_[c];
  std::int32_t i = 0;
  while (ch.items[i] != e) ++i;
  std::memmove(ch.items + i, ch.items + i + 1,
               sizeof(std::int32_t) * static_cast<std::size_t>(ch.count - i - 1));
  if (--ch.count == 0) UnlinkChunk(g, c);
}

// Rotations keep rightTotal: a node's right subtree changes only for the two nodes
// rotated, and each new total follows from the old ones.
void OpenList::RotateUp(std::int32_t g) {
  for (;;) {
    const std::int32_t p = groups_[g].parent;
    if (p == kNil || groups_[p].priority >= groups_[g].priority) return;
    Group& x = groups_[g];
    Group& parent = groups_[p];
    const std::int32_t grand = parent.parent;
    if (parent.left == g) {
      const std::int32_t b = x.right;
      parent.left = b;
      if (b != kNil) groups_[b].parent = p;
      x.right = p;
      x.rightTotal += parent.count + parent.rightTotal;
    } else {
      const std::int32_t b = x.left;
      parent.right = b;
      if (b != kNil) groups_[b].parent = p;
      x.left = p;
      parent.rightTotal -= x.count + x.rightTotal;
    }
    parent.parent = g;
    x.parent = grand;
    if (grand == kNil) root_ = g;
    else if (groups_[grand].left == p) groups_[grand].left = g;
    else groups_[grand].right = g;
  }
}

// Empty groups that are no longer the minimum stay in the tree (they count nothing);
// they are removed here once they become the leftmost group.
void OpenList::DeleteEmptyMinimums() {
  while (minGroup_ != kNil && groups_[minGroup_].count == 0) {
    const std::int32_t g = minGroup_;
    const std::int32_t p = groups_[g].parent;
    const std::int32_t r = groups_[g].right;
    if (p == kNil) root_ = r;
    else groups_[p].left = r;
    if (r != kNil) groups_[r].parent = p;
    if (r != kNil) {
      std::int32_t m = r;
      while (groups_[m].left != kNil) m = groups_[m].left;
      minGroup_ = m;
    } else {
      minGroup_ = p;
    }
    groups_[g].left = freeGroups_;
    freeGroups_ = g;
  }
}

void OpenList::Insert(std::int32_t node, float value) {
  assert(value == value);
  assert(newest_[node] == kNil ||
         value < groups_[entries_[newest_[node]].group].value);
  ReserveRoom(groups_, 1);
  ReserveRoom(chunks_, 2);
  ReserveRoom(entries_, 1);

  std::int32_t x = root_;
  std::int32_t parent = kNil;
  bool asLeft = false;
  std::int32_t greater = 0;  // entries with a larger value: array indices before ours
  while (x != kNil) {
    Group& g = groups_[x];
    if (value < g.value) {
      greater += g.count + g.rightTotal;
      parent = x;
      asLeft = true;
      x = g.left;
    } else if (value > g.value) {
      ++g.rightTotal;  // the new entry lands in this group's right subtree
      parent = x;
      asLeft = false;
      x = g.right;
    } else {
      break;
    }
  }

  std::int32_t e;
  if (x != kNil) {
    Group& g = groups_[x];
    greater += g.rightTotal;
    const std::int32_t offset =
        g.count == 0 ? 0 : HalvingSearchLanding(size_, greater, greater + g.count) - greater;
    e = NewEntry(node, x);
    GroupInsert(x, offset, e);
    ++groups_[x].count;
  } else {
    const std::int32_t g = NewGroup(value);
    groups_[g].parent = parent;
    if (parent == kNil) root_ = g;
    else if (asLeft) groups_[parent].left = g;
    else groups_[parent].right = g;
    e = NewEntry(node, g);
    GroupInsert(g, 0, e);
    groups_[g].count = 1;
    RotateUp(g);
    if (minGroup_ == kNil || value < groups_[minGroup_].value) minGroup_ = g;
  }
  ++size_;
  ChainAppend(node, e);
}

OpenList::Popped OpenList::PopLast() {
  assert(size_ > 0);
  const std::int32_t g = minGroup_;
  const std::int32_t c = groups_[g].lastChunk;
  Chunk& ch = chunks_[c];
  const std::int32_t e = ch.items[--ch.count];
  if (ch.count == 0) UnlinkChunk(g, c);
  --groups_[g].count;
  --size_;
  const Popped out{entries_[e].node, groups_[g].value};
  ChainUnlink(e);
  entries_[e].olderOfNode = freeEntries_;
  freeEntries_ = e;
  DeleteEmptyMinimums();
  return out;
}

bool OpenList::RemoveFirstOf(std::int32_t node) {
  const std::int32_t e = oldest_[node];
  if (e == kNil) return false;
  const std::int32_t g = entries_[e].group;
  GroupErase(g, e);
  --groups_[g].count;
  for (std::int32_t x = g, p = groups_[g].parent; p != kNil; x = p, p = groups_[p].parent)
    if (groups_[p].right == x) --groups_[p].rightTotal;
  --size_;
  ChainUnlink(e);
  entries_[e].olderOfNode = freeEntries_;
  freeEntries_ = e;
  DeleteEmptyMinimums();
  return true;
}

void OpenList::CollectGroup(std::int32_t g, std::vector<Popped>& out) const {
  for (std::int32_t c = groups_[g].firstChunk; c != kNil; c = chunks_[c].next)
    for (std::int32_t i = 0; i < chunks_[c].count; ++i)
      out.push_back(Popped{entries_[chunks_[c].items[i]].node, groups_[g].value});
}

std::vector<OpenList::Popped> OpenList::Snapshot() const {
  // Largest values first: right subtree, the group, left subtree.
  std::vector<Popped> out;
  std::vector<std::int32_t> stack;
  std::int32_t x = root_;
  while (x != kNil || !stack.empty()) {
    while (x != kNil) {
      stack.push_back(x);
      x = groups_[x].right;
    }
    x = stack.back();
    stack.pop_back();
    CollectGroup(x, out);
    x = groups_[x].left;
  }
  return out;
}

}  // namespace koltar
