#pragma once
// The search's open list, with the order of a sorted array and cheap operations.
//
// The route search fixes its result among equal paths through the order in which a
// sorted array hands out its nodes: entries sorted by value in descending order, taken
// from the end; a new entry is placed by a halving search that stops at the first
// midpoint holding an equal value and puts the new entry at that index (so it is taken
// after the equal one); one entry of a node can be removed, the one nearest the array's
// start. This class keeps exactly that array order without moving entries around:
//
// - Entries of equal value form a group, kept in array order in a chunked list.
// - The groups are kept in descending order of value in blocks of at most 32 groups;
//   a directory holds each block's smallest value (for a halving search over blocks)
//   and its entry count, so the array index of a group's first entry is the sum of the
//   counts before it.
// - The halving search's landing index depends only on the entry count and the index
//   range of the equal values, so it is replayed on those three numbers.
// - Each node's entries are chained. A node's values strictly decrease from one
//   insertion to the next (the search re-inserts a node only when its value improves),
//   so the oldest entry of a node is the one nearest the array's start and the newest
//   is the one the array hands out first.
//
// Taking the last entry costs O(1); an insertion costs a halving search over the
// directory and a scan of one block, plus, when it joins equal values, a sum over the
// directory and a walk of the group's chunks.

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
  // for this node before. May throw std::bad_alloc, before anything is changed.
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
  static constexpr std::int32_t kBlockCapacity = 32;
  static constexpr std::int32_t kChunkCapacity = 13;

  // A group's entries in array order: a chunk list, or while the group holds one entry,
  // that entry itself (first == kInline, last == the entry).
  struct Slot {
    std::int32_t count;
    std::int32_t first;
    std::int32_t last;
  };
  static constexpr std::int32_t kInline = -2;
  // Groups of one block, in descending order of value.
  struct Block {
    std::int32_t size;
    float value[kBlockCapacity];
    Slot slot[kBlockCapacity];
  };
  struct Chunk {
    std::int32_t count, prev, next;
    std::int32_t items[kChunkCapacity];  // entry ids in array order
  };
  static_assert(sizeof(Chunk) == 64);
  struct Entry {
    std::int32_t node;
    float value;
    std::int32_t chunk;
    std::int32_t olderOfNode, newerOfNode;
  };
  // Where a value's group is, or would go: directory index and index in the block.
  struct Place {
    std::int32_t dir;
    std::int32_t index;
    bool equal;
  };

  Place Locate(float value) const;
  std::int32_t NewBlock();
  std::int32_t NewChunk();
  std::int32_t NewEntry(std::int32_t node, float value);
  void FreeBlock(std::int32_t b);
  void InsertDirectory(std::int32_t at, std::int32_t block, float last, std::int32_t total);
  void EraseDirectory(std::int32_t at);
  void SplitBlock(std::int32_t dir);
  void RemoveGroup(std::int32_t dir, std::int32_t index);
  void MergeSmallBlock(std::int32_t dir);
  void GroupInsert(Slot& slot, std::int32_t offset, std::int32_t e);
  void GroupErase(Slot& slot, std::int32_t e);
  std::int32_t GroupPopLast(Slot& slot);
  void UnlinkChunk(Slot& slot, std::int32_t c);
  void ChainAppend(std::int32_t node, std::int32_t e);
  void ChainUnlink(std::int32_t e);
  void FreeEntry(std::int32_t e);

  std::vector<Block> blocks_;
  std::vector<Chunk> chunks_;
  std::vector<Entry> entries_;
  std::int32_t freeBlocks_ = kNil;
  std::int32_t freeChunks_ = kNil;
  std::int32_t freeEntries_ = kNil;
  // Directory, in array order: block, its smallest value, its entry count.
  std::vector<std::int32_t> dirBlock_;
  std::vector<float> dirLast_;
  std::vector<std::int32_t> dirTotal_;
  std::int32_t size_ = 0;
  // Per node: oldest and newest entry in the list.
  std::vector<std::int32_t> oldest_;
  std::vector<std::int32_t> newest_;
};

// The index at which the sorted array's halving search over `count` entries lands,
// given that the entries at indices [greater, greaterOrEqual) hold the new value and
// those before hold larger values: the first midpoint in that range, or `greater` when
// the range is empty.
std::int32_t HalvingSearchLanding(std::int32_t count, std::int32_t greater, std::int32_t greaterOrEqual);

}  // namespace koltar
