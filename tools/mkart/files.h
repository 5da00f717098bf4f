// The two file formats that windres reads: .bmp (8-bit DIB) and .ico
// (one 32x32 image of 16 colours with its AND mask).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "quantize.h"

namespace mkart {

// A 32x32 icon image: a 16-colour palette, one palette index per pixel and
// a transparency flag per pixel, rows from the top.
struct Icon16 {
  static constexpr int kSize = 32;
  std::array<Rgb8, 16> palette{};
  std::array<uint8_t, kSize * kSize> index{};
  std::array<bool, kSize * kSize> transparent{};
};

// BITMAPFILEHEADER, BITMAPINFOHEADER (8 bits, BI_RGB, 256 colours used,
// positive height), the palette and the rows from the bottom up, each padded
// to four bytes.
std::vector<uint8_t> BmpFile(const Indexed& picture);

// ICONDIR with one entry (32x32, 16 colours, 1 plane, 4 bits), then the image:
// BITMAPINFOHEADER of double height, palette, XOR rows and AND mask rows,
// both bottom-up.
std::vector<uint8_t> IcoFile(const Icon16& icon);

// Writes `bytes` to `path`; false if the file cannot be written.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace mkart
