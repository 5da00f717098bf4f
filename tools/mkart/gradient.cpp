// Bitmap 221: the gradient strip behind the backdrop.
//
// The colours of the anchor rows are fixed; between anchors the
// colour moves in a straight line.  The palette holds the colours along that
// path in steps of 4 in blue (every anchor's blue difference is a multiple of
// 4), so each row lies between two neighbouring palette entries.  The rule
// that the resource test checks:
//   - every anchor row is exactly its anchor colour in all 38 pixels;
//   - every other row uses at most two colours, next to each other on the
//     path, mixed in proportion to where the row lies between them by an
//     ordered dither (16 threshold steps along the row, shifted from row to
//     row);
//   - every pixel is within 4 of the row's straight-line colour, per channel.
#include <cstdlib>

#include "art.h"

namespace mkart {
namespace {

constexpr int kWidth = 38;
constexpr int kHeight = 768;
constexpr int kBlueStep = 4;

struct Anchor {
  int row;
  Rgb8 colour;
};

constexpr Anchor kAnchors[] = {
    {0, {0x04, 0x04, 0x1C}},   {128, {0x04, 0x04, 0x6C}}, {256, {0x0C, 0x0C, 0xBC}},
    {383, {0x0C, 0x0C, 0xFC}}, {384, {0x0C, 0x0C, 0xFC}}, {512, {0x0C, 0x0C, 0xAC}},
    {640, {0x04, 0x04, 0x54}}, {767, {0x04, 0x04, 0x04}},
};
constexpr int kAnchorCount = sizeof(kAnchors) / sizeof(kAnchors[0]);

// Dither thresholds in sixteenths, in bit-reversed order so that any run of
// pixels mixes the two colours evenly.
constexpr int kThreshold[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
constexpr int kRowShift = 5;

uint8_t Lerp(uint8_t a, uint8_t b, int num, int den) {
  const int v = a * den + (b - a) * num;
  return static_cast<uint8_t>((2 * v + den) / (2 * den));  // rounded; v >= 0
}

}  // namespace

Indexed GradientStrip() {
  Indexed out;
  out.width = kWidth;
  out.height = kHeight;
  out.index.resize(kWidth * kHeight);

  int base = 0;  // palette index of the current segment's first anchor
  for (int s = 0; s + 1 < kAnchorCount; ++s) {
    const Anchor& a = kAnchors[s];
    const Anchor& b = kAnchors[s + 1];
    const int steps = std::abs(b.colour.b - a.colour.b) / kBlueStep;
    for (int j = 0; j < steps; ++j) {
      out.palette[base + j] = Rgb8{Lerp(a.colour.r, b.colour.r, j, steps),
                                   Lerp(a.colour.g, b.colour.g, j, steps),
                                   Lerp(a.colour.b, b.colour.b, j, steps)};
    }
    out.palette[base + steps] = b.colour;
    const int rows = b.row - a.row;
    const int last = (s + 2 == kAnchorCount) ? b.row : b.row - 1;
    for (int y = a.row; y <= last; ++y) {
      // Position on the path: base + steps * (y - a.row) / rows, as a whole
      // part and a remainder in units of 1/rows.
      const int num = steps * (y - a.row);
      const int lower = base + num / rows;
      const int rest = num % rows;
      for (int x = 0; x < kWidth; ++x) {
        const int threshold = kThreshold[(x + kRowShift * y) & 15];
        const bool upper = rest * 32 > (2 * threshold + 1) * rows;
        out.index[static_cast<size_t>(y) * kWidth + x] = static_cast<uint8_t>(upper ? lower + 1 : lower);
      }
    }
    base += steps;
  }
  return out;
}

}  // namespace mkart
