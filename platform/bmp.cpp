#include "platform/bmp.h"

#include "platform/binary.h"

namespace koltar {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

// The shift and width of a bit-field mask, for reading 32-bit pixels.
struct Field {
  int shift = 0;
  int bits = 0;
  explicit Field(std::uint32_t mask) {
    if (mask == 0) return;
    while (!(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    while (mask & 1) {
      mask >>= 1;
      ++bits;
    }
  }
  int Read(std::uint32_t v) const {
    if (bits == 0) return 0;
    // A mask of all 32 bits is one field of 32 bits; a shift by 32 would be undefined.
    const std::uint32_t ones = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    const std::uint32_t raw = (v >> shift) & ones;
    return bits >= 8 ? static_cast<int>(raw >> (bits - 8)) : static_cast<int>(raw * 255 / ones);
  }
};

}  // namespace

bool DecodeBmp(std::string_view bytes, BmpPicture& out) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  if (size < kFileHeaderSize + 40 || data[0] != 'B' || data[1] != 'M') return false;
  const std::uint32_t pixelOffset = ReadU32(data + 10);
  const std::uint32_t infoSize = ReadU32(data + 14);
  if (infoSize < 40 || kFileHeaderSize + infoSize > size) return false;
  const std::int32_t width = ReadI32(data + 18);
  const std::int32_t rawHeight = ReadI32(data + 22);
  const int bitCount = ReadU16(data + 28);
  const std::uint32_t compression = ReadU32(data + 30);
  std::uint32_t colorsUsed = ReadU32(data + 46);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return false;
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  if (width > 32768 || height > 32768) return false;

  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  if (compression == 3) {  // bit fields
    if (bitCount != 32 && bitCount != 16) return false;
    const std::size_t at = infoSize >= 52 ? kFileHeaderSize + 40 : kFileHeaderSize + infoSize;
    if (at + 12 > size) return false;
    for (int i = 0; i < 3; ++i) masks[i] = ReadU32(data + at + 4 * i);
  } else if (compression != 0) {
    return false;
  } else if (bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }

  std::vector<ColorRef> palette;
  if (bitCount <= 8) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return false;
    if (colorsUsed == 0 || colorsUsed > (1u << bitCount)) colorsUsed = 1u << bitCount;
    const std::size_t at = kFileHeaderSize + infoSize;
    if (at + 4 * colorsUsed > size) return false;
    for (std::uint32_t i = 0; i < colorsUsed; ++i) {
      const unsigned char* q = data + at + 4 * i;
      palette.push_back(Rgb(q[2], q[1], q[0]));
    }
  } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }

  const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
  if (pixelOffset > size || stride * height > size - pixelOffset) return false;
  const Field r(masks[0]), g(masks[1]), b(masks[2]);

  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(width) * height, kBlack);
  for (std::int32_t row = 0; row < height; ++row) {
    const unsigned char* line = data + pixelOffset + stride * (topDown ? row : height - 1 - row);
    for (std::int32_t x = 0; x < width; ++x) {
      ColorRef c = kBlack;
      if (bitCount <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
        const int shift = 8 - bitCount - static_cast<int>(bit % 8);
        const unsigned index = (line[bit / 8] >> shift) & ((1u << bitCount) - 1);
        c = index < palette.size() ? palette[index] : kBlack;
      } else if (bitCount == 24) {
        const unsigned char* q = line + 3 * x;
        c = Rgb(q[2], q[1], q[0]);
      } else {
        const std::uint32_t v = bitCount == 32 ? ReadU32(line + 4 * x) : ReadU16(line + 2 * x);
        c = Rgb(r.Read(v), g.Read(v), b.Read(v));
      }
      out.pixels[static_cast<std::size_t>(row) * width + x] = c;
    }
  }
  return true;
}

std::string EncodeBmp(const BmpPicture& picture) {
  const std::size_t stride = ((static_cast<std::size_t>(picture.width) * 24 + 31) / 32) * 4;
  const std::size_t imageSize = stride * picture.height;
  std::string out(kFileHeaderSize + 40 + imageSize, '\0');
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  p[0] = 'B';
  p[1] = 'M';
  WriteU32(p + 2, static_cast<std::uint32_t>(out.size()));
  WriteU32(p + 10, kFileHeaderSize + 40);
  WriteU32(p + 14, 40);
  WriteI32(p + 18, picture.width);
  WriteI32(p + 22, picture.height);
  WriteU16(p + 26, 1);
  WriteU16(p + 28, 24);
  WriteU32(p + 34, static_cast<std::uint32_t>(imageSize));
  WriteI32(p + 38, 2835);  // 72 dpi
  WriteI32(p + 42, 2835);
  for (int row = 0; row < picture.height; ++row) {
    unsigned char* line = p + kFileHeaderSize + 40 + stride * (picture.height - 1 - row);
    for (int x = 0; x < picture.width; ++x) {
      const ColorRef c = picture.At(x, row);
      line[3 * x] = static_cast<unsigned char>(BlueOf(c));
      line[3 * x + 1] = static_cast<unsigned char>(GreenOf(c));
      line[3 * x + 2] = static_cast<unsigned char>(RedOf(c));
    }
  }
  return out;
}

}  // namespace koltar
