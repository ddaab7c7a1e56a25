#pragma once
// The loaded files of a category: a data file viewed as an array of fixed-size records
// (the layouts are in geometry/records.h) and the name table.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "geometry/records.h"
#include "platform/binary.h"
#include "platform/files.h"

namespace koltar {

// A loaded file viewed as an array of fixed-size records. The block is owned and
// writable, so that drawing can keep its drawn flags in it.
class RecordArray {
 public:
  RecordArray() = default;
  // `drawnOffset` is the place of the record's drawn flag, -1 for files without one.
  RecordArray(MemoryBlock block, std::int32_t recordSize, std::int32_t drawnOffset = -1)
      : block_(std::move(block)),
        size_(recordSize),
        drawnOffset_(drawnOffset),
        count_(block_.valid() ? block_.size() / recordSize : 0) {}

  // False when the file could not be loaded.
  bool present() const { return block_.valid(); }
  std::int32_t count() const { return count_; }
  std::int32_t recordSize() const { return size_; }
  // Record i, 0 <= i < count().
  const std::uint8_t* at(std::int32_t i) const {
    assert(i >= 0 && i < count_);
    return block_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(size_);
  }
  std::uint8_t* at(std::int32_t i) {
    assert(i >= 0 && i < count_);
    return block_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(size_);
  }
  // The whole loaded block, as the road network and label saving read it.
  const MemoryBlock& block() const { return block_; }

  bool IsDrawn(std::int32_t i) const { return ReadI16(at(i) + drawnOffset_) == 1; }
  void SetDrawn(std::int32_t i, bool drawn) { WriteI16(at(i) + drawnOffset_, drawn ? 1 : 0); }

 private:
  MemoryBlock block_;
  std::int32_t size_ = 1;
  std::int32_t drawnOffset_ = -1;
  std::int32_t count_ = 0;
};

// The name table (NAMEFILE): zero-ended code page 1250 names addressed by byte offsets.
// Several records may name the same offset; names are read in place.
class NameTable {
 public:
  NameTable() = default;
  explicit NameTable(MemoryBlock block) : block_(std::move(block)) {}

  // False when the category has no name table (not given, or not loaded).
  bool present() const { return block_.valid(); }
  std::int32_t size() const { return block_.size(); }

  // True when a name starts at `offset` (>= 0) and its zero byte lies inside the table.
  bool Holds(std::int32_t offset) const {
    return offset >= 0 && offset < block_.size() &&
           std::memchr(block_.data() + offset, 0, static_cast<std::size_t>(block_.size() - offset)) !=
               nullptr;
  }

  // The name at `offset`: "" for a negative offset, without a table, and for an offset
  // the table does not hold.
  std::string_view NameAt(std::int32_t offset) const {
    if (!Holds(offset)) return {};
    return std::string_view(reinterpret_cast<const char*>(block_.data() + offset));
  }

 private:
  MemoryBlock block_;
};

}  // namespace koltar
