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
// - Entries of equal value form a group, a list in array order. The groups are kept
//   in the array's order of values, descending, so the smallest is last; their values
//   apart, so that the searches over them read four bytes a group. New values land near
//   the end (a search inserts values just above the smallest), so a galloping search
//   from the end finds their place and a new group moves only the smaller ones.
// - While there are few groups they are one flat vector. Past kFlatGroups (a wide
//   frontier, where a new group could move thousands) they go into blocks of at most
//   128 groups, with a directory of each block's smallest value and entry count; then a
//   new group moves at most one block's groups.
// - The halving search's landing index depends only on the entry count and the index
//   range of the equal values, so it is replayed on those three numbers. Joining a
//   group of one entry always lands before it; a group of two or more needs the
//   number of entries with larger values: all but those of the groups from it on (in
//   blocks: the rest of its block, then the directory's counts).
// - Each node's entries are chained. A node's values strictly decrease from one
//   insertion to the next (the search re-inserts a node only when its value improves),
//   so the oldest entry of a node is the one nearest the array's start and the newest
//   is the one the array hands out first.
//
// Taking the last entry costs O(1); an insertion a galloping search and, for equal
// values, a sum over the groups (or blocks) after.

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
  // The group count past which the groups go into blocks (kFlatGroups unless a test
  // sets it), checked at each insertion while they are flat.
  void SetFlatGroups(std::int32_t groups) { flatLimit_ = groups; }

  static constexpr std::int32_t kFlatGroups = 1024;

 private:
  static constexpr std::int32_t kNil = -1;

  struct Entry {
    std::int32_t node;
    float value;
    std::int32_t prev, next;  // in the group, array order
    std::int32_t olderOfNode, newerOfNode;
  };
  // A group's entries; its value is kept apart in its block, so that the searches over
  // the values read four bytes a group.
  struct Group {
    std::int32_t count;
    std::int32_t first, last;  // entries, array order
  };
  static constexpr std::int32_t kBlockCapacity = 128;
  struct Block {
    std::int32_t size;
    float values[kBlockCapacity];  // descending
    Group groups[kBlockCapacity];
  };
  // Where a value's group is, or would go: directory index and index in the block.
  struct Place {
    std::size_t dir;
    std::int32_t index;
  };

  std::size_t FlatIndex(float value) const;
  void InsertFlat(std::int32_t e, std::int32_t node, float value);
  Popped PopLastFlat();
  void RemoveFlat(std::int32_t e);
  void ToBlocks();
  Place Locate(float value) const;
  void InsertBlocked(std::int32_t e, std::int32_t node, float value);
  Popped PopLastBlocked();
  void RemoveBlocked(std::int32_t e);
  void Link(Group& group, std::int32_t offset, std::int32_t e, std::int32_t node, float value);
  Group& GroupAt(const Place& at) { return blocks_[dirBlock_[at.dir]].groups[at.index]; }
  std::int32_t NewBlock();
  void SplitBlock(std::size_t dir);
  void EraseGroup(const Place& at);
  void Unlink(Group& g, std::int32_t e);
  void ChainUnlink(std::int32_t e);
  void FreeEntry(std::int32_t e);

  std::vector<Entry> entries_;
  std::int32_t flatLimit_ = kFlatGroups;
  bool blocked_ = false;
  // Flat: the groups and their values.
  std::vector<float> values_;
  std::vector<Group> groups_;
  // Blocks.
  std::vector<Block> blocks_;
  std::int32_t freeBlocks_ = kNil;
  // Directory, in array order: block, its smallest value, its entry count.
  std::vector<std::int32_t> dirBlock_;
  std::vector<float> dirLast_;
  std::vector<std::int32_t> dirTotal_;
  std::int32_t freeEntries_ = kNil;
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
