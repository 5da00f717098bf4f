// Reduction of a canvas to the 8-bit palette images that the resources need.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace mkart {

struct Rgb8 {
  uint8_t r, g, b;
};

// A palette picture: 256 entries (unused ones black), one index per pixel,
// rows from the top.
struct Indexed {
  int width = 0;
  int height = 0;
  std::array<Rgb8, 256> palette{};
  std::vector<uint8_t> index;
};

Rgb8 ToRgb8(const Rgb& c);

// Median-cut palette of at most 256 colours, then every pixel mapped to its
// nearest entry; with `dither`, Floyd-Steinberg error diffusion hides the
// steps in soft gradients (the photographs), without it edges stay clean.
Indexed Quantize(const Canvas& canvas, bool dither);

}  // namespace mkart
