// Writers of the .bmp and .ico files, byte by byte, in little-endian order.
#include "files.h"

#include <fstream>

namespace mkart {
namespace {

class Bytes {
 public:
  void U8(uint32_t v) { data_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Quad(const Rgb8& c) {  // RGBQUAD: blue, green, red, reserved
    U8(c.b);
    U8(c.g);
    U8(c.r);
    U8(0);
  }
  std::vector<uint8_t> Take() { return std::move(data_); }
  size_t Size() const { return data_.size(); }

 private:
  std::vector<uint8_t> data_;
};

constexpr uint32_t kInfoHeaderSize = 40;

void InfoHeader(Bytes& b, int width, int height, int bits, uint32_t imageSize, uint32_t coloursUsed) {
  b.U32(kInfoHeaderSize);
  b.U32(static_cast<uint32_t>(width));
  b.U32(static_cast<uint32_t>(height));  // positive: bottom-up
  b.U16(1);                              // planes
  b.U16(static_cast<uint32_t>(bits));
  b.U32(0);  // BI_RGB
  b.U32(imageSize);
  b.U32(0);  // pixels per metre, x and y
  b.U32(0);
  b.U32(coloursUsed);
  b.U32(0);  // all colours important
}

}  // namespace

std::vector<uint8_t> BmpFile(const Indexed& picture) {
  const uint32_t stride = (static_cast<uint32_t>(picture.width) + 3u) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(picture.height);
  const uint32_t bitsOffset = 14 + kInfoHeaderSize + 256 * 4;
  Bytes b;
  b.U8('B');
  b.U8('M');
  b.U32(bitsOffset + imageSize);
  b.U32(0);
  b.U32(bitsOffset);
  InfoHeader(b, picture.width, picture.height, 8, imageSize, 256);
  for (const Rgb8& c : picture.palette) b.Quad(c);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) b.U8(picture.index[static_cast<size_t>(y) * picture.width + x]);
    for (uint32_t pad = static_cast<uint32_t>(picture.width); pad < stride; ++pad) b.U8(0);
  }
  return b.Take();
}

std::vector<uint8_t> IcoFile(const Icon16& icon) {
  constexpr int n = Icon16::kSize;
  constexpr uint32_t kXorSize = n * n / 2;     // 4 bits a pixel; 16-byte rows
  constexpr uint32_t kAndSize = n * (n / 8);   // 1 bit a pixel; 4-byte rows
  constexpr uint32_t kImageBytes = kInfoHeaderSize + 16 * 4 + kXorSize + kAndSize;
  constexpr uint32_t kImageOffset = 6 + 16;
  Bytes b;
  b.U16(0);  // ICONDIR: reserved, type 1 (icon), one image
  b.U16(1);
  b.U16(1);
  b.U8(n);  // ICONDIRENTRY: width, height, colour count, reserved
  b.U8(n);
  b.U8(16);
  b.U8(0);
  b.U16(1);  // planes and bits a pixel; windres copies both into the icon group
  b.U16(4);
  b.U32(kImageBytes);
  b.U32(kImageOffset);
  // The image's header gives twice the height: XOR rows, then AND rows.
  InfoHeader(b, n, 2 * n, 4, kXorSize + kAndSize, 0);
  for (const Rgb8& c : icon.palette) b.Quad(c);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; x += 2) {
      const size_t i = static_cast<size_t>(y) * n + x;
      // Transparent pixels are black in the XOR image, so the screen shows through.
      const uint32_t hi = icon.transparent[i] ? 0 : icon.index[i];
      const uint32_t lo = icon.transparent[i + 1] ? 0 : icon.index[i + 1];
      b.U8((hi << 4) | lo);
    }
  }
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; x += 8) {
      uint32_t mask = 0;
      for (int k = 0; k < 8; ++k) {
        if (icon.transparent[static_cast<size_t>(y) * n + x + k]) mask |= 0x80u >> k;
      }
      b.U8(mask);
    }
  }
  return b.Take();
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace mkart
