#pragma once
// Little-endian accessors for packed binary records. Records are read in place from
// loaded file blocks, at any alignment, so every access goes through these.

#include <bit>
#include <cstdint>
#include <cstring>

namespace koltar {

inline std::uint16_t ReadU16(const void* p) {
  const auto* b = static_cast<const unsigned char*>(p);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::int16_t ReadI16(const void* p) { return static_cast<std::int16_t>(ReadU16(p)); }

inline std::uint32_t ReadU32(const void* p) {
  const auto* b = static_cast<const unsigned char*>(p);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline std::int32_t ReadI32(const void* p) { return static_cast<std::int32_t>(ReadU32(p)); }

inline float ReadF32(const void* p) { return std::bit_cast<float>(ReadU32(p)); }

inline void WriteU16(void* p, std::uint16_t v) {
  auto* b = static_cast<unsigned char*>(p);
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
}

inline void WriteI16(void* p, std::int16_t v) { WriteU16(p, static_cast<std::uint16_t>(v)); }

inline void WriteU32(void* p, std::uint32_t v) {
  auto* b = static_cast<unsigned char*>(p);
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
  b[2] = static_cast<unsigned char>(v >> 16);
  b[3] = static_cast<unsigned char>(v >> 24);
}

inline void WriteI32(void* p, std::int32_t v) { WriteU32(p, static_cast<std::uint32_t>(v)); }

inline void WriteF32(void* p, float v) { WriteU32(p, std::bit_cast<std::uint32_t>(v)); }

}  // namespace koltar
