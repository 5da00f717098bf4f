// Floating-point RGB canvases and the small drawing kit of the artwork:
// supersampled rendering, value noise and distances to strokes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mkart {

struct Rgb {
  float r, g, b;
};

// A picture in linear 0..1 channels, rows from the top.
struct Canvas {
  int width;
  int height;
  std::vector<Rgb> pixels;

  Canvas(int w, int h, Rgb fill);
  Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

float Clamp01(float v);
float Mix(float a, float b, float t);
Rgb Mix(const Rgb& a, const Rgb& b, float t);
float Smoothstep(float edge0, float edge1, float x);

// Deterministic pseudo-random value in [0, 1) for a lattice point; the art
// must come out byte for byte the same on every build.
float Hash(int x, int y, uint32_t seed);
// Smoothly interpolated lattice noise in [0, 1).
float ValueNoise(float x, float y, uint32_t seed);
// Sum of `octaves` noise layers, each twice as fine and half as strong, in [0, 1).
float Fbm(float x, float y, int octaves, uint32_t seed);

// Distance from point (px, py) to the segment (ax, ay)-(bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by);

// Renders a picture by evaluating `shade(x, y)` (pixel coordinates, y down)
// on an n-by-n grid inside every pixel and averaging: soft, antialiased edges.
template <class Shade>
Canvas Render(int width, int height, int n, Shade shade) {
  Canvas canvas(width, height, Rgb{0, 0, 0});
  const float inv = 1.0f / static_cast<float>(n * n);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb sum{0, 0, 0};
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
          const Rgb c = shade(x + (i + 0.5f) / n, y + (j + 0.5f) / n);
          sum.r += c.r;
          sum.g += c.g;
          sum.b += c.b;
        }
      }
      canvas.At(x, y) = Rgb{sum.r * inv, sum.g * inv, sum.b * inv};
    }
  }
  return canvas;
}

}  // namespace mkart
