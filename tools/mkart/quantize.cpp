// Median-cut colour reduction with optional Floyd-Steinberg dithering.
#include "quantize.h"

#include <algorithm>
#include <cmath>

namespace mkart {
namespace {

struct Box {
  std::vector<Rgb8> colours;
  int Channel(const Rgb8& c, int k) const { return k == 0 ? c.r : k == 1 ? c.g : c.b; }
  // The channel with the widest spread, and that spread.
  std::pair<int, int> Widest() const {
    int best = 0;
    int spread = -1;
    for (int k = 0; k < 3; ++k) {
      int lo = 255;
      int hi = 0;
      for (const Rgb8& c : colours) {
        lo = std::min(lo, Channel(c, k));
        hi = std::max(hi, Channel(c, k));
      }
      if (hi - lo > spread) {
        spread = hi - lo;
        best = k;
      }
    }
    return {best, spread};
  }
  Rgb8 Mean() const {
    double r = 0;
    double g = 0;
    double b = 0;
    for (const Rgb8& c : colours) {
      r += c.r;
      g += c.g;
      b += c.b;
    }
    const double n = static_cast<double>(colours.size());
    return Rgb8{static_cast<uint8_t>(std::lround(r / n)), static_cast<uint8_t>(std::lround(g / n)),
                static_cast<uint8_t>(std::lround(b / n))};
  }
};

std::vector<Rgb8> MedianCut(const Canvas& canvas) {
  std::vector<Box> boxes(1);
  for (const Rgb& p : canvas.pixels) boxes[0].colours.push_back(ToRgb8(p));
  while (boxes.size() < 256) {
    // Split the box whose widest channel spans most, weighted by its size,
    // so that large smooth areas get fine steps.
    size_t pick = boxes.size();
    double score = 0.0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int spread = boxes[i].Widest().second;
      const double s = spread * std::sqrt(static_cast<double>(boxes[i].colours.size()));
      if (spread > 0 && s > score) {
        score = s;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;  // every box is a single colour
    Box& box = boxes[pick];
    const int k = box.Widest().first;
    std::sort(box.colours.begin(), box.colours.end(), [&](const Rgb8& a, const Rgb8& b) {
      return box.Channel(a, k) < box.Channel(b, k);
    });
    // Cut at the median, moved off a run of equal values so both halves differ.
    size_t cut = box.colours.size() / 2;
    const int at = box.Channel(box.colours[cut], k);
    size_t lo = cut;
    while (lo > 0 && box.Channel(box.colours[lo - 1], k) == at) --lo;
    size_t hi = cut;
    while (hi < box.colours.size() && box.Channel(box.colours[hi], k) == at) ++hi;
    cut = (lo > 0 && (cut - lo <= hi - cut || hi == box.colours.size())) ? lo : hi;
    Box upper;
    upper.colours.assign(box.colours.begin() + static_cast<long>(cut), box.colours.end());
    box.colours.resize(cut);
    boxes.push_back(std::move(upper));
  }
  std::vector<Rgb8> palette;
  for (const Box& b : boxes) palette.push_back(b.Mean());
  return palette;
}

int Nearest(const std::vector<Rgb8>& palette, float r, float g, float b) {
  int best = 0;
  float bestD = 1e30f;
  for (size_t i = 0; i < palette.size(); ++i) {
    const float dr = palette[i].r - r;
    const float dg = palette[i].g - g;
    const float db = palette[i].b - b;
    const float d = dr * dr + dg * dg + db * db;
    if (d < bestD) {
      bestD = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace

Rgb8 ToRgb8(const Rgb& c) {
  auto q = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
  return Rgb8{q(c.r), q(c.g), q(c.b)};
}

Indexed Quantize(const Canvas& canvas, bool dither) {
  const std::vector<Rgb8> palette = MedianCut(canvas);
  Indexed out;
  out.width = canvas.width;
  out.height = canvas.height;
  for (size_t i = 0; i < palette.size(); ++i) out.palette[i] = palette[i];
  out.index.resize(static_cast<size_t>(canvas.width) * canvas.height);

  // Working copy in 0..255 that collects the diffused error.
  std::vector<float> work(static_cast<size_t>(canvas.width) * canvas.height * 3);
  for (size_t i = 0; i < canvas.pixels.size(); ++i) {
    work[i * 3 + 0] = Clamp01(canvas.pixels[i].r) * 255.0f;
    work[i * 3 + 1] = Clamp01(canvas.pixels[i].g) * 255.0f;
    work[i * 3 + 2] = Clamp01(canvas.pixels[i].b) * 255.0f;
  }
  auto spread = [&](int x, int y, const float err[3], float w) {
    if (x < 0 || x >= canvas.width || y >= canvas.height) return;
    float* p = &work[(static_cast<size_t>(y) * canvas.width + x) * 3];
    for (int k = 0; k < 3; ++k) p[k] += err[k] * w;
  };
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const size_t i = static_cast<size_t>(y) * canvas.width + x;
      float* p = &work[i * 3];
      const int n = Nearest(palette, p[0], p[1], p[2]);
      out.index[i] = static_cast<uint8_t>(n);
      if (!dither) continue;
      const float err[3] = {p[0] - palette[n].r, p[1] - palette[n].g, p[2] - palette[n].b};
      spread(x + 1, y, err, 7.0f / 16);
      spread(x - 1, y + 1, err, 3.0f / 16);
      spread(x, y + 1, err, 5.0f / 16);
      spread(x + 1, y + 1, err, 1.0f / 16);
    }
  }
  return out;
}

}  // namespace mkart
