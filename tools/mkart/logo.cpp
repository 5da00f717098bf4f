// Bitmap 222, the logo: a blue shield with a check mark above the product
// name "CORVANE" and the line "ANTI-VIRUS", on white.  The letters come from a
// small stroke font (polylines in a box one unit high), drawn at any size
// with round ends; no font files.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art.h"

namespace mkart {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 244;
constexpr float kPi = 3.14159265f;

struct Point {
  float x, y;
};
using Polyline = std::vector<Point>;

struct Glyph {
  float advance;  // width of the letter's box, in units of its height
  std::vector<Polyline> strokes;
};

// Points along an elliptical arc; angles in degrees, counter-clockwise as
// seen on the page (y grows downwards, so the sine is subtracted).
Polyline Arc(float cx, float cy, float rx, float ry, float from, float to) {
  Polyline line;
  const int n = 28;
  for (int i = 0; i <= n; ++i) {
    const float a = (from + (to - from) * static_cast<float>(i) / n) * kPi / 180.0f;
    line.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
  }
  return line;
}

Polyline Join(Polyline a, const Polyline& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Glyph GlyphFor(char c) {
  switch (c) {
    case 'A': return {0.90f, {{{0, 1}, {0.45f, 0}, {0.90f, 1}}, {{0.17f, 0.64f}, {0.73f, 0.64f}}}};
    case 'C': return {0.82f, {Arc(0.42f, 0.5f, 0.42f, 0.5f, 50, 310)}};
    case 'E': return {0.66f, {{{0.66f, 0}, {0, 0}, {0, 1}, {0.66f, 1}}, {{0, 0.5f}, {0.56f, 0.5f}}}};
    case 'I': return {0.0f, {{{0, 0}, {0, 1}}}};
    case 'N': return {0.78f, {{{0, 1}, {0, 0}, {0.78f, 1}, {0.78f, 0}}}};
    case 'O': return {0.92f, {Arc(0.46f, 0.5f, 0.46f, 0.5f, 0, 360)}};
    case 'R':
      return {0.78f,
              {Join(Join({{0, 1}, {0, 0}}, Arc(0.48f, 0.26f, 0.28f, 0.26f, 90, -90)), {{0, 0.52f}}),
               {{0.40f, 0.52f}, {0.78f, 1}}}};
    case 'S':
      return {0.74f, {Join(Arc(0.37f, 0.25f, 0.37f, 0.25f, 15, 270), Arc(0.37f, 0.75f, 0.37f, 0.25f, 90, -165))}};
    case 'T': return {0.80f, {{{0, 0}, {0.80f, 0}}, {{0.40f, 0}, {0.40f, 1}}}};
    case 'U': return {0.78f, {Join(Join({{0, 0}}, Arc(0.39f, 0.6f, 0.39f, 0.4f, 180, 360)), {{0.78f, 0}})}};
    case 'V': return {0.88f, {{{0, 0}, {0.44f, 1}, {0.88f, 0}}}};
    case '-': return {0.45f, {{{0, 0.55f}, {0.45f, 0.55f}}}};
    default: return {0.40f, {}};  // blank
  }
}

// A line of text laid out in pixels, with the box of each letter for a quick
// rejection test.
struct Text {
  struct Placed {
    std::vector<Polyline> strokes;  // in pixels
    float x0, y0, x1, y1;
  };
  std::vector<Placed> letters;
  float halfStroke;

  // Lays `s` out centred on `centreX`, the tops of the capitals at `top`.
  Text(const std::string& s, float centreX, float top, float cap, float stroke, float gap) : halfStroke(stroke / 2) {
    float width = 0;
    for (char c : s) width += GlyphFor(c).advance * cap + stroke + gap;
    width -= gap;
    float x = centreX - width / 2 + stroke / 2;
    for (char c : s) {
      const Glyph g = GlyphFor(c);
      Placed p{{}, x - stroke, top - stroke, x + g.advance * cap + stroke, top + cap + stroke};
      for (const Polyline& line : g.strokes) {
        Polyline placed;
        for (const Point& q : line) placed.push_back({x + q.x * cap, top + q.y * cap});
        p.strokes.push_back(placed);
      }
      letters.push_back(p);
      x += g.advance * cap + stroke + gap;
    }
  }

  bool Covers(float px, float py) const {
    for (const Placed& p : letters) {
      if (px < p.x0 || px > p.x1 || py < p.y0 || py > p.y1) continue;
      for (const Polyline& line : p.strokes) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
          if (SegmentDistance(px, py, line[i].x, line[i].y, line[i + 1].x, line[i + 1].y) <= halfStroke) return true;
        }
      }
    }
    return false;
  }
};

// The shield: straight sides that round off into a point at the bottom.
bool InShield(float x, float y, float cx, float top, float halfWidth, float height) {
  const float t = (y - top) / height;
  if (t < 0 || t > 1) return false;
  float w = 1.0f;
  if (t > 0.40f) w = std::pow(std::cos((t - 0.40f) / 0.60f * kPi / 2), 0.75f);
  return std::fabs(x - cx) <= w * halfWidth;
}

Rgb FromHex(unsigned v) {
  return Rgb{((v >> 16) & 0xFF) / 255.0f, ((v >> 8) & 0xFF) / 255.0f, (v & 0xFF) / 255.0f};
}

}  // namespace

Indexed Logo() {
  const float cx = kWidth / 2.0f;
  const Text name("CORVANE", cx, 134, 44, 9, 7);
  const Text line("ANTI-VIRUS", cx, 203, 15, 3, 7);
  const float shieldTop = 14, shieldHeight = 106, shieldHalf = 42;
  const Rgb white = FromHex(0xFFFFFF);
  const Rgb navy = FromHex(0x141E6E);
  const Rgb dark = FromHex(0x04041C);
  const Rgb blue = FromHex(0x0C0CBC);
  const Rgb bright = FromHex(0x3C50FC);
  const Rgb slate = FromHex(0x505A8C);
  Canvas canvas = Render(kWidth, kHeight, 4, [&](float x, float y) {
    if (name.Covers(x, y)) return navy;
    if (line.Covers(x, y)) return slate;
    // A rule between the name and the line, fading out at both ends.
    if (y >= 190 && y < 192 && std::fabs(x - cx) < 150) {
      return Mix(white, blue, 1.0f - Smoothstep(90, 150, std::fabs(x - cx)));
    }
    if (InShield(x, y, cx, shieldTop, shieldHalf, shieldHeight)) {
      if (!InShield(x, y, cx, shieldTop + 5, shieldHalf - 5, shieldHeight - 12)) return dark;
      if (!InShield(x, y, cx, shieldTop + 8, shieldHalf - 8, shieldHeight - 19)) return white;
      // The check mark.
      const float d = std::min(SegmentDistance(x, y, cx - 20, 64, cx - 5, 80), SegmentDistance(x, y, cx - 5, 80, cx + 22, 42));
      if (d < 7.0f) return white;
      // Blue gradient, lighter on the left half as if lit.
      const float t = (y - shieldTop) / shieldHeight;
      Rgb c = t < 0.5f ? Mix(dark, blue, t * 2.0f) : Mix(blue, bright, (t - 0.5f) * 2.0f);
      if (x < cx) c = Mix(c, white, 0.12f);
      return c;
    }
    return white;
  });
  return Quantize(canvas, false);
}

}  // namespace mkart
