#pragma once
// The record layouts of the map's binary files, the one definition that the categories,
// the road network and the tools that read maps share.
//
// Every file is a bare array of fixed-size little-endian records, without header; its
// record count is its length divided by the record size, a trailing partial record
// ignored. Every category data record starts with its layer number (int16, counted
// from 1) and holds a drawn flag (int16) at a place fixed per kind: runtime state that
// drawing writes into the loaded block. Fields stand at any alignment, so they are read
// through platform/binary.h. Map coordinates are int32 map units, y up.

#include <cstdint>

#include "geometry/geometry.h"
#include "platform/binary.h"

namespace koltar {

// A point category record (DATAFILE, 16 bytes, packed).
struct PointRecord {
  static constexpr std::int32_t kSize = 16;
  static constexpr std::int32_t kLayer = 0;        // int16, 1 ... NLAYER
  static constexpr std::int32_t kX = 2;            // int32, map units
  static constexpr std::int32_t kY = 6;            // int32, map units
  static constexpr std::int32_t kNameOffset = 10;  // int32 into the name table; negative = no name
  static constexpr std::int32_t kDrawn = 14;       // int16, runtime

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
  static constexpr std::int32_t kLayer = 0;        // int16, 1 ... NLAYER
  static constexpr std::int32_t kX = 2;            // int32, anchor: left end of the baseline
  static constexpr std::int32_t kY = 6;            // int32
  static constexpr std::int32_t kAngle = 10;       // float, degrees counter-clockwise
  static constexpr std::int32_t kNameOffset = 14;  // int32 into the name table: the label's text
  static constexpr std::int32_t kLabelRect = 18;   // MapRect of the last drawing (runtime)
  static constexpr std::int32_t kDrawn = 34;       // int16, runtime
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

// A node of the road network (NODEFILE, 4 bytes): the settlement object the node stands
// for, an index into the settlement category; negative for a junction.
struct NodeRecord {
  static constexpr std::int32_t kSize = 4;
  static constexpr std::int32_t kSettlement = 0;  // int32

  static std::int32_t Settlement(const std::uint8_t* r) { return ReadI32(r + kSettlement); }
};

// A directed edge of the road network (EDGEFILE, 16 bytes).
struct EdgeRecord {
  static constexpr std::int32_t kSize = 16;
  static constexpr std::int32_t kFrom = 0;     // int32, node index
  static constexpr std::int32_t kTo = 4;       // int32, node index
  static constexpr std::int32_t kRoad = 8;     // int32, road object index; negative: none
  static constexpr std::int32_t kLength = 12;  // int32, metres

  static std::int32_t From(const std::uint8_t* r) { return ReadI32(r + kFrom); }
  static std::int32_t To(const std::uint8_t* r) { return ReadI32(r + kTo); }
  static std::int32_t Road(const std::uint8_t* r) { return ReadI32(r + kRoad); }
  static std::int32_t Length(const std::uint8_t* r) { return ReadI32(r + kLength); }
};

}  // namespace koltar
