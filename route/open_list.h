#pragma once
// The search's open list, with the order of a sorted array and logarithmic operations.
//
// The route search fixes its result among equal paths through the order in which a
// sorted array hands out its nodes: entries sorted by value in descending order, taken
// from the end; a new entry is placed by a halving search that stops at the first
// midpoint holding an equal value and puts the new entry at that index (so it is taken
// after the equal one); one entry of a node can be removed, the one nearest the array's
// start. This class keeps exactly that array order without moving entries around:
//
// - Entries of equal value form a group, kept in array order in a chunked list. Groups
//   are the nodes of a treap ordered by value; every group also counts the entries of
//   its right subtree (the larger values, which stand before it in the array), so the
//   array index of a group's first entry is known after one descent.
// - The halving search's landing index depends only on the entry count and the index
//   range of the equal values, so it is replayed on those three numbers.
// - Each node's entries are chained. A node's values strictly decrease from one
//   insertion to the next (the search re-inserts a node only when its value improves),
//   so the oldest entry of a node is the one nearest the array's start and the newest
//   is the one the array hands out first.
//
// Pop, insertion and removal cost O(log n) on average, and the group walk; groups are
// short on road networks (chunks of 13 entries keep long ones cheap).

#include <cstdint>
#include <vector>

namespace koltar {

class OpenList {
 public:
  struct Popped {
    std::int32_t node;
    float value;
  };

  // Empties the list and sizes the per-node tables for nodes 0 ... nodeCount - 1.
  // May throw std::bad_alloc.
  void Reset(std::int32_t nodeCount);
  // Empties the list; the per-node tables keep their size. O(entries inserted).
  void Clear();

  bool Empty() const { return size_ == 0; }
  std::int32_t Size() const { return size_; }

  // Inserts an entry where the sorted array's halving search would put it. Preconditions:
  // 0 <= node < nodeCount; value is not NaN and is smaller than every value inserted
  // for this node before. May throw std::bad_alloc (the list then stays consistent
  // only for Clear and Reset).
  void Insert(std::int32_t node, float value);
  // Removes and returns the last entry of the array (the smallest value). Precondition:
  // !Empty().
  Popped PopLast();
  // Removes the entry of `node` nearest the array's start; false when it has none.
  bool RemoveFirstOf(std::int32_t node);

  // The array as the sorted array would hold it, from index 0; for tests. O(n).
  std::vector<Popped> Snapshot() const;

 private:
  static constexpr std::int32_t kNil = -1;
  static constexpr std::int32_t kChunkCapacity = 13;

  struct Group {
    float value;
    std::int32_t left, right, parent;
    std::uint32_t priority;
    std::int32_t count;       // entries in this group
    std::int32_t rightTotal;  // entries in the right subtree
    std::int32_t firstChunk, lastChunk;
  };
  struct Chunk {
    std::int32_t count, prev, next;
    std::int32_t items[kChunkCapacity];  // entry ids in array order
  };
  static_assert(sizeof(Chunk) == 64);
  struct Entry {
    std::int32_t node, group, chunk;
    std::int32_t olderOfNode, newerOfNode;
  };

  std::int32_t NewGroup(float value);
  std::int32_t NewChunk();
  std::int32_t NewEntry(std::int32_t node, std::int32_t group);
  void RotateUp(std::int32_t g);
  void DeleteEmptyMinimums();
  void GroupInsert(std::int32_t g, std::int32_t offset, std::int32_t e);
  void GroupErase(std::int32_t g, std::int32_t e);
  void UnlinkChunk(std::int32_t g, std::int32_t c);
  void ChainAppend(std::int32_t node, std::int32_t e);
  void ChainUnlink(std::int32_t e);
  void CollectGroup(std::int32_t g, std::vector<Popped>& out) const;

  std::vector<Group> groups_;
  std::vector<Chunk> chunks_;
  std::vector<Entry> entries_;
  std::int32_t freeGroups_ = kNil;
  std::int32_t freeChunks_ = kNil;
  std::int32_t freeEntries_ = kNil;
  std::int32_t root_ = kNil;
  std::int32_t minGroup_ = kNil;  // leftmost group
  std::int32_t size_ = 0;
  std::uint32_t random_ = 0x9E3779B9u;
  // Per node: oldest and newest entry in the list.
  std::vector<std::int32_t> oldest_;
  std::vector<std::int32_t> newest_;
};

// The index at which the sorted array's halving search over `count` entries lands,
// given that the entries at indices [greater, greaterOrEqual) hold the new value and
// those before hold larger values: the first midpoint in that range, or `greater` when
// the range is empty.
std::int32_t HalvingSearchLanding(std::int32_t count, std::int32_t greater,
                                  std::int32_t greaterOrEqual);

}  // namespace koltar
