// Drawing kit of the artwork: noise, blending and distances.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace mkart {

Canvas::Canvas(int w, int h, Rgb fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

float Mix(float a, float b, float t) { return a + (b - a) * t; }

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
  return Rgb{Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

float Smoothstep(float edge0, float edge1, float x) {
  const float t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

float Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return static_cast<float>(h >> 8) / 16777216.0f;
}

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  float tx = x - fx;
  float ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float top = Mix(Hash(ix, iy, seed), Hash(ix + 1, iy, seed), tx);
  const float bottom = Mix(Hash(ix, iy + 1, seed), Hash(ix + 1, iy + 1, seed), tx);
  return Mix(top, bottom, ty);
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
  float sum = 0.0f;
  float weight = 0.5f;
  float total = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * ValueNoise(x, y, seed + static_cast<uint32_t>(o) * 101u);
    total += weight;
    x *= 2.0f;
    y *= 2.0f;
    weight *= 0.5f;
  }
  return sum / total;
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax;
  const float dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  float t = 0.0f;
  if (len2 > 0.0f) t = Clamp01(((px - ax) * dx + (py - ay) * dy) / len2);
  const float ex = px - (ax + t * dx);
  const float ey = py - (ay + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace mkart
