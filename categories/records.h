#pragma once
// The binary files of the map categories, read in place from their loaded blocks.
//
// Every file is a bare array of fixed-size little-endian records, without header; its
// record count is its length divided by the record size, a trailing partial record
// ignored. Every data record starts with its layer number (int16, counted from 1) and
// holds a drawn flag (int16) at a place fixed per kind: runtime state that drawing writes
// into the loaded block. Fields stand at any alignment, so they are read through
// platform/binary.h. Map coordinates are int32 map units, y up.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "document/geometry.h"
#include "platform/binary.h"
#include "platform/files.h"

namespace koltar {

// A point category record (DATAFILE, 16 bytes, packed).
struct PointRecord {
  static constexpr std::int32_t kSize = 16;
  static constexpr std::int32_t kLayer = 0;       // int16, 1 ... NLAYER
  static constexpr std::int32_t kX = 2;           // int32, map units
  static constexpr std::int32_t kY = 6;           // int32, map units
  static constexpr std::int32_t kNameOffset = 10; // int32 into the name table; negative = no name
  static constexpr std::int32_t kDrawn = 14;      // int16, runtime

  static MapPoint Position(const std::uint8_t* r) { return {ReadI32(r + kX), ReadI32(r + kY)}; }
};

// The house-number range of one point record (ENTITYFILE, 8 bytes); entry i belongs to
// point record i.
struct EntityRecord {
  static constexpr std::int32_t kSize = 8;
  static constexpr std::int32_t kFlags = 0;        // uint8, kStartsStreet | kHasRange
  static constexpr std::int32_t kFirst = 2;        // int16, first house number
  static constexpr std::int32_t kFirstLetter = 4;  // char, blank when none
  static constexpr std::int32_t kLast = 5;         // int16, last house number
  static constexpr std::int32_t kLastLetter = 7;   // char, blank when none

  // The point starts a street that has house numbers (looked at on its first record).
  static constexpr std::uint8_t kStartsStreet = 0x01;
  // The record holds a house-number range.
  static constexpr std::uint8_t kHasRange = 0x02;

  static std::uint8_t Flags(const std::uint8_t* e) { return e[kFlags]; }
  static std::int16_t First(const std::uint8_t* e) { return ReadI16(e + kFirst); }
  static std::int16_t Last(const std::uint8_t* e) { return ReadI16(e + kLast); }
  static char FirstLetter(const std::uint8_t* e) { return static_cast<char>(e[kFirstLetter]); }
  static char LastLetter(const std::uint8_t* e) { return static_cast<char>(e[kLastLetter]); }
};

// A line or area record (DATAFILE, 32 bytes): a run of points of COORDFILE.
struct PolyRecord {
  static constexpr std::int32_t kSize = 32;
  static constexpr std::int32_t kLayer = 0;       // int16, 1 ... NLAYER
  static constexpr std::int32_t kPointCount = 2;  // int16
  static constexpr std::int32_t kFirstPoint = 4;  // int32, index of the first point in COORDFILE
  static constexpr std::int32_t kNameOffset = 8;  // int32 into the name table; negative = no name
  static constexpr std::int32_t kBounds = 12;     // MapRect: left, top, right, bottom
  static constexpr std::int32_t kDrawn = 28;      // int16, runtime
  // 30 ... 31 reserved

  static std::int16_t PointCount(const std::uint8_t* r) { return ReadI16(r + kPointCount); }
  static std::int32_t FirstPoint(const std::uint8_t* r) { return ReadI32(r + kFirstPoint); }
  static MapRect Bounds(const std::uint8_t* r) {
    return MapRect::Of(ReadI32(r + kBounds), ReadI32(r + kBounds + 4), ReadI32(r + kBounds + 8),
                       ReadI32(r + kBounds + 12));
  }
};

// A text category record (DATAFILE, 64 bytes); the 28 bytes from offset 36 are reserved
// and written back as read.
struct TextRecord {
  static constexpr std::int32_t kSize = 64;
  static constexpr std::int32_t kLayer = 0;       // int16, 1 ... NLAYER
  static constexpr std::int32_t kX = 2;           // int32, anchor: left end of the baseline
  static constexpr std::int32_t kY = 6;           // int32
  static constexpr std::int32_t kAngle = 10;      // float, degrees counter-clockwise
  static constexpr std::int32_t kNameOffset = 14; // int32 into the name table: the label's text
  static constexpr std::int32_t kLabelRect = 18;  // MapRect of the last drawing (runtime)
  static constexpr std::int32_t kDrawn = 34;      // int16, runtime
};

// A point of COORDFILE (8 bytes).
struct CoordRecord {
  static constexpr std::int32_t kSize = 8;
  static constexpr std::int32_t kX = 0;
  static constexpr std::int32_t kY = 4;

  static MapPoint Read(const std::uint8_t* p) { return {ReadI32(p + kX), ReadI32(p + kY)}; }
};

// Every data record starts with its layer number.
inline std::int16_t RecordLayer(const std::uint8_t* record) { return ReadI16(record); }

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
