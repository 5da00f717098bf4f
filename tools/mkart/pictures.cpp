// The side pictures of the wizard pages: small procedural "photographs".
//
// Each scene is a function from a point of the picture (u across, v down,
// both 0..1) to a brightness; Develop() supersamples it, adds a vignette and
// film grain, tones it in muted browns (an old print) and reduces it to 256
// colours.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace mkart {
namespace {

constexpr int kSideWidth = 138;
constexpr int kUserInfoWidth = 137;  // one pixel narrower than the others
constexpr int kSideHeight = 271;
constexpr float kPi = 3.14159265f;

// Shadows, middle tones and highlights of the brown print.
Rgb Sepia(float luma, float warmth) {
  const Rgb shadow{0.10f, 0.07f, 0.05f};
  const Rgb middle{0.50f, 0.385f, 0.275f};
  const Rgb light{0.93f, 0.865f, 0.745f};
  luma = Clamp01(luma);
  Rgb c = luma < 0.5f ? Mix(shadow, middle, luma * 2.0f) : Mix(middle, light, (luma - 0.5f) * 2.0f);
  c.r *= 1.0f + 0.05f * warmth;
  c.b *= 1.0f - 0.10f * warmth;
  return c;
}

// Renders `scene` at width x height, then vignette, grain, toning and palette.
template <class Scene>
Indexed Develop(int width, int height, uint32_t seed, float warmth, Scene scene) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  Canvas luma = Render(width, height, 3, [&](float x, float y) {
    const float l = scene(x / w, y / h);
    return Rgb{l, l, l};
  });
  Canvas print(width, height, Rgb{0, 0, 0});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float du = (x + 0.5f) / w - 0.5f;
      const float dv = (y + 0.5f) / h - 0.5f;
      const float vignette = 1.0f - 0.55f * (du * du * 1.2f + dv * dv);
      const float grain = (Hash(x, y, seed ^ 0xA5A5u) - 0.5f) * 0.045f;
      print.At(x, y) = Sepia(luma.At(x, y).r * vignette + grain, warmth);
    }
  }
  return Quantize(print, true);
}

// Coverage of a disc of radius r at distance d, with a soft edge of `soft`.
float Disc(float d, float r, float soft) { return 1.0f - Smoothstep(r - soft, r + soft, d); }

// Inside test for a convex quadrilateral given in order (either winding).
bool InQuad(float u, float v, const float (&q)[4][2]) {
  int sign = 0;
  for (int i = 0; i < 4; ++i) {
    const float* a = q[i];
    const float* b = q[(i + 1) % 4];
    const float cross = (b[0] - a[0]) * (v - a[1]) - (b[1] - a[1]) * (u - a[0]);
    const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
    if (s == 0) continue;
    if (sign == 0) sign = s;
    if (s != sign) return false;
  }
  return true;
}

// A bird in flight: two short strokes meeting in a shallow "v".
float Bird(float u, float v, float cu, float cv, float span, float aspect) {
  const float x = (u - cu) * aspect;
  const float y = v - cv;
  const float d = std::min(SegmentDistance(x, y, -span, -span * 0.45f, 0, 0),
                           SegmentDistance(x, y, 0, 0, span, -span * 0.45f));
  return Disc(d, 0.0022f, 0.0015f);
}

}  // namespace

Indexed WelcomeSide() {
  const uint32_t seed = 201;
  const float aspect = static_cast<float>(kSideWidth) / kSideHeight;
  auto ridge = [&](float u, float base, float amp, float freq, uint32_t s) {
    return base + amp * (Fbm(u * freq, 0.37f * s, 4, seed + s) - 0.5f) * 2.0f;
  };
  return Develop(kSideWidth, kSideHeight, seed, 0.6f, [&](float u, float v) {
    // Sky, brightening towards the hills, with a low sun and thin clouds.
    float l = Mix(0.52f, 0.86f, Smoothstep(0.0f, 0.44f, v));
    const float sun = std::hypot((u - 0.68f) * aspect, v - 0.30f);
    l += 0.30f * std::exp(-sun * sun / 0.006f);
    l = Mix(l, 1.0f, Disc(sun, 0.026f, 0.002f));
    const float cloud = Fbm(u * 2.5f, v * 16.0f, 5, seed + 9);
    l -= 0.14f * Smoothstep(0.55f, 0.75f, cloud) * (1.0f - Smoothstep(0.30f, 0.44f, v));
    // Three ranges of hills, darker and sharper the nearer they are.
    const float far = ridge(u, 0.44f, 0.05f, 3.0f, 1);
    const float mid = ridge(u, 0.53f, 0.07f, 2.2f, 2);
    const float near = ridge(u, 0.64f, 0.06f, 1.6f, 3);
    l = Mix(l, 0.68f - 0.25f * (v - far), Smoothstep(far - 0.002f, far + 0.002f, v));
    const float midL = 0.46f + 0.10f * (Fbm(u * 8, v * 8, 4, seed + 4) - 0.5f) + 0.12f * Smoothstep(mid, mid + 0.15f, v);
    l = Mix(l, midL, Smoothstep(mid - 0.002f, mid + 0.002f, v));
    const float nearL = 0.30f + 0.14f * (Fbm(u * 14, v * 14, 4, seed + 5) - 0.5f) + 0.06f * Smoothstep(near, near + 0.2f, v);
    l = Mix(l, nearL, Smoothstep(near - 0.002f, near + 0.002f, v));
    // A lone tree on the near hill.
    const float foot = ridge(0.27f, 0.64f, 0.06f, 1.6f, 3);
    const float trunk = (std::fabs(u - 0.27f) * aspect < 0.004f && v > foot - 0.10f && v < foot + 0.01f) ? 1.0f : 0.0f;
    const float crownD = std::hypot((u - 0.27f) * aspect, (v - (foot - 0.13f)) * 1.1f);
    const float crown = Disc(crownD + 0.02f * (Fbm(u * 40, v * 40, 3, seed + 6) - 0.5f), 0.05f, 0.004f);
    l = Mix(l, 0.13f, std::max(trunk, crown));
    // Grass in the foreground.
    const float field = 0.82f + 0.015f * std::sin(u * 5.0f);
    const float grass = 0.17f + 0.18f * Fbm(u * 70.0f, v * 10.0f, 4, seed + 7);
    l = Mix(l, grass, Smoothstep(field - 0.003f, field + 0.003f, v));
    return l;
  });
}

Indexed UserInfoSide() {
  const uint32_t seed = 203;
  const float aspect = static_cast<float>(kUserInfoWidth) / kSideHeight;
  return Develop(kUserInfoWidth, kSideHeight, seed, 0.4f, [&](float u, float v) {
    // Wall, lit by a window at the upper left.
    float l = 0.36f + 0.12f * (1.0f - v) + 0.04f * (Fbm(u * 6, v * 6, 3, seed) - 0.5f);
    const float winU0 = 0.10f, winU1 = 0.62f, winV0 = 0.06f, winV1 = 0.40f;
    l += 0.16f * std::exp(-std::pow((u - 0.36f) * 1.6f, 2.0f) - std::pow((v - 0.48f) * 4.0f, 2.0f));
    if (u > winU0 && u < winU1 && v > winV0 && v < winV1) {
      const float glass = 0.92f - 0.12f * (v - winV0) / (winV1 - winV0) + 0.05f * (Fbm(u * 5, v * 3, 3, seed + 1) - 0.5f);
      const bool bar = std::fabs(u - 0.36f) < 0.018f || std::fabs(v - 0.23f) < 0.008f;
      const bool frame = u < winU0 + 0.025f || u > winU1 - 0.025f || v < winV0 + 0.012f || v > winV1 - 0.012f;
      l = (bar || frame) ? 0.30f : glass;
    }
    // Table: top surface, then its front edge, both with a wood grain.
    const float grain = Fbm(u * 2.0f, v * 45.0f + 4.0f * Fbm(u * 3, v * 3, 3, seed + 2), 4, seed + 3);
    if (v > 0.66f) l = 0.46f + 0.16f * (grain - 0.5f) - 0.10f * (v - 0.66f) / 0.08f;
    if (v > 0.74f) l = 0.24f + 0.10f * (grain - 0.5f) - 0.08f * (v - 0.74f);
    // Shadows of the vase and the apple, cast to the right.
    if (v > 0.66f && v < 0.74f) {
      const float s1 = std::hypot((u - 0.80f) * aspect / 1.8f, (v - 0.705f) * 2.2f);
      const float s2 = std::hypot((u - 0.43f) * aspect / 1.6f, (v - 0.712f) * 2.4f);
      l *= 1.0f - 0.45f * Disc(s1, 0.045f, 0.02f) - 0.40f * Disc(s2, 0.035f, 0.015f);
    }
    // The vase: a turned profile, lit from the left.
    const float top = 0.36f, base = 0.705f;
    if (v > top && v < base) {
      const float t = (v - top) / (base - top);
      // A narrow neck with a small lip, a full body, a flat foot.
      const float lip = t < 0.04f ? 0.008f : 0.0f;
      const float radius = 0.03f + 0.055f * std::sin(kPi * (0.1f + 0.75f * t)) + lip;
      const float s = (u - 0.66f) * aspect / radius;
      if (std::fabs(s) < 1.0f) {
        const float nz = std::sqrt(1.0f - s * s);
        const float diffuse = std::max(0.0f, -0.65f * s + 0.76f * nz);
        l = 0.14f + 0.52f * diffuse + 0.30f * std::exp(-(s + 0.45f) * (s + 0.45f) / 0.012f);
      }
    }
    // The apple, with its stalk.
    const float ax = (u - 0.32f) * aspect;
    const float ay = v - 0.652f;
    const float ad = std::hypot(ax, ay * 1.05f);
    if (ad < 0.056f) {
      const float nx = ax / 0.056f, ny = ay / 0.056f;
      const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
      const float diffuse = std::max(0.0f, -0.55f * nx - 0.45f * ny + 0.70f * nz);
      const float spec = std::pow(std::max(0.0f, -0.40f * nx - 0.40f * ny + 0.82f * nz), 30.0f);
      l = Mix(l, 0.12f + 0.50f * diffuse + 0.35f * spec, Disc(ad, 0.055f, 0.0015f));
    }
    const float stalk = SegmentDistance(ax, ay, 0.0f, -0.050f, 0.008f, -0.068f);
    l = Mix(l, 0.12f, Disc(stalk, 0.0025f, 0.0012f));
    return l;
  });
}

Indexed FolderSide() {
  const uint32_t seed = 204;
  struct Carton {
    float u0, u1, v0, v1;  // front face
  };
  // Bottom to top: each is drawn over the ones below it.
  const Carton cartons[] = {{0.08f, 0.66f, 0.62f, 0.86f}, {0.14f, 0.62f, 0.42f, 0.62f}, {0.22f, 0.56f, 0.27f, 0.42f}};
  const float depthU = 0.16f, depthV = -0.045f;  // the top and side run back and up to the right
  return Develop(kSideWidth, kSideHeight, seed, 0.7f, [&](float u, float v) {
    // A dim store room: a wall with a slanting beam of light, a plank floor.
    float l = 0.30f + 0.14f * v + 0.05f * (Fbm(u * 5, v * 9, 4, seed) - 0.5f);
    const float beam = std::fabs((u - 0.75f) + (v - 0.2f) * 0.7f);
    l += 0.18f * (1.0f - Smoothstep(0.05f, 0.16f, beam)) * (1.0f - Smoothstep(0.5f, 0.9f, v));
    if (v > 0.80f) {
      const float plank = std::fabs(std::fmod(u * 6.0f + (v - 0.8f) * 4.0f, 1.0f) - 0.5f);
      l = 0.26f + 0.08f * Fbm(u * 30, v * 4, 3, seed + 1) - 0.08f * (1.0f - Smoothstep(0.44f, 0.5f, plank));
      // The stack's shadow on the floor.
      if (u > 0.60f && u < 0.98f && v < 0.90f) l *= 0.70f + 0.30f * Smoothstep(0.6f, 0.98f, u);
    }
    for (size_t i = 0; i < sizeof(cartons) / sizeof(cartons[0]); ++i) {
      const Carton& c = cartons[i];
      const float texture = 0.06f * (Fbm(u * 40, v * 60, 3, seed + 10 + static_cast<uint32_t>(i)) - 0.5f);
      const float top[4][2] = {{c.u0, c.v0}, {c.u1, c.v0}, {c.u1 + depthU, c.v0 + depthV}, {c.u0 + depthU, c.v0 + depthV}};
      const float side[4][2] = {{c.u1, c.v0}, {c.u1 + depthU, c.v0 + depthV}, {c.u1 + depthU, c.v1 + depthV}, {c.u1, c.v1}};
      if (InQuad(u, v, top)) {
        l = 0.74f + texture;
        // The tape along the lid's seam.
        const float mid = 0.5f * (c.u0 + c.u1) + depthU * (v - c.v0) / depthV;
        if (std::fabs(u - mid) < 0.035f) l = 0.84f + texture * 0.5f;
      } else if (InQuad(u, v, side)) {
        l = 0.30f + texture;
      } else if (u >= c.u0 && u <= c.u1 && v >= c.v0 && v <= c.v1) {
        l = 0.52f + texture - 0.10f * (v - c.v0) / (c.v1 - c.v0);
        const float mid = 0.5f * (c.u0 + c.u1);
        if (std::fabs(u - mid) < 0.035f && v < c.v0 + 0.35f * (c.v1 - c.v0)) l = 0.62f;
        // A paper label with three printed lines.
        const float lu0 = c.u0 + 0.08f, lu1 = lu0 + 0.20f;
        const float lv0 = c.v0 + 0.45f * (c.v1 - c.v0), lv1 = lv0 + 0.35f * (c.v1 - c.v0);
        if (u > lu0 && u < lu1 && v > lv0 && v < lv1) {
          const float row = (v - lv0) / (lv1 - lv0) * 4.0f;
          const bool ink = std::fabs(row - std::floor(row) - 0.5f) < 0.12f && row > 0.6f && u < lu1 - 0.03f &&
                           u > lu0 + 0.025f;
          l = ink ? 0.30f : 0.86f;
        }
        // The edge with the carton below shades the bottom of the face.
        l -= 0.10f * Smoothstep(c.v1 - 0.01f, c.v1, v);
      }
    }
    return l;
  });
}

Indexed ConfirmSide() {
  const uint32_t seed = 205;
  const float aspect = static_cast<float>(kSideWidth) / kSideHeight;
  return Develop(kSideWidth, kSideHeight, seed, 0.5f, [&](float u, float v) {
    // Overcast sky and a calm sea below the horizon.
    float l = 0.78f - 0.26f * (0.6f - v);
    l -= 0.16f * Smoothstep(0.45f, 0.75f, Fbm(u * 2.5f, v * 6.0f, 5, seed));
    const float horizon = 0.60f;
    if (v > horizon) {
      const float waves = Fbm(u * 5.0f, v * 70.0f, 4, seed + 1);
      l = 0.56f - 0.30f * (v - horizon) + 0.14f * (waves - 0.5f);
    }
    // The lighthouse's beam and glow.
    const float lampU = 0.34f, lampV = 0.155f;
    const float dx = (u - lampU) * aspect, dy = v - lampV;
    const float angle = std::atan2(dy, dx);
    if (dx > 0) l += 0.20f * (1.0f - Smoothstep(0.02f, 0.07f, std::fabs(angle + 0.08f))) * std::exp(-dx * 3.0f);
    l += 0.25f * std::exp(-(dx * dx + dy * dy) / 0.0015f);
    // The cliff: a flat top and a rough face down to the sea.
    const float cliffTop = 0.50f + 0.015f * (Fbm(u * 8, 1.7f, 3, seed + 2) - 0.5f) + 0.03f * u;
    const float face = 0.60f + 0.10f * (v - 0.5f) + 0.06f * (Fbm(v * 9.0f, 3.1f, 4, seed + 3) - 0.5f);
    if (v > cliffTop && u < face) {
      const float rock = Fbm(u * 12.0f, v * 9.0f, 5, seed + 4);
      l = 0.20f + 0.22f * rock + 0.10f * Smoothstep(0.35f, 0.6f, u);
      if (v < cliffTop + 0.02f) l = 0.50f + 0.10f * (rock - 0.5f);  // grass along the top
    }
    // The tower, tapering, with two dark bands; gallery, lantern and roof.
    const float towerTop = 0.20f, towerFoot = 0.505f;
    if (v > towerTop && v < towerFoot) {
      const float t = (v - towerTop) / (towerFoot - towerTop);
      const float half = (0.028f + 0.020f * t) / aspect;
      const float s = (u - lampU) / half;
      if (std::fabs(s) < 1.0f) {
        l = 0.40f + 0.48f * std::max(0.0f, -0.5f * s + 0.86f * std::sqrt(1.0f - s * s));
        if ((t > 0.22f && t < 0.34f) || (t > 0.56f && t < 0.68f)) l *= 0.45f;
      }
    }
    if (v > 0.185f && v < 0.20f && std::fabs(u - lampU) * aspect < 0.036f) l = 0.22f;
    if (v > 0.13f && v < 0.185f && std::fabs(u - lampU) * aspect < 0.022f) l = 0.97f;
    if (v > 0.105f && v < 0.13f && std::fabs(u - lampU) * aspect < 0.028f * (v - 0.105f) / 0.025f) l = 0.18f;
    // Gulls.
    l = Mix(l, 0.22f, std::max(Bird(u, v, 0.72f, 0.25f, 0.018f, aspect), Bird(u, v, 0.82f, 0.21f, 0.014f, aspect)));
    return l;
  });
}

Indexed FinishSide() {
  const uint32_t seed = 206;
  const float aspect = static_cast<float>(kSideWidth) / kSideHeight;
  return Develop(kSideWidth, kSideHeight, seed, 1.0f, [&](float u, float v) {
    const float horizon = 0.56f;
    // Evening sky, brightest at the sun, with long dark clouds.
    float l = Mix(0.40f, 0.88f, Smoothstep(0.0f, horizon, v));
    const float sun = std::hypot((u - 0.5f) * aspect, v - 0.535f);
    l += 0.30f * std::exp(-sun * sun / 0.010f);
    l = Mix(l, 1.0f, Disc(sun, 0.055f, 0.002f));
    const float cloud = Smoothstep(0.56f, 0.78f, Fbm(u * 1.8f, v * 14.0f, 5, seed));
    l = Mix(l, 0.30f + 0.2f * v, 0.75f * cloud * (1.0f - Smoothstep(0.42f, 0.52f, v)));
    if (v > horizon) {
      // The sea, with the sun's broken reflection widening towards us.
      const float depth = v - horizon;
      l = 0.34f + 0.12f * (1.0f - depth / 0.44f);
      const float width = 0.05f + 0.35f * depth;
      const float sparkle = Fbm(u * 9.0f, v * 140.0f, 3, seed + 1);
      const float column = 1.0f - Smoothstep(width * 0.6f, width, std::fabs(u - 0.5f));
      l += 0.55f * column * Smoothstep(0.50f, 0.62f, sparkle);
      l += 0.06f * (Fbm(u * 4.0f, v * 60.0f, 3, seed + 2) - 0.5f);
    }
    // A sailing boat on the horizon.
    const bool hull = u > 0.20f && u < 0.30f && v > horizon - 0.008f && v < horizon + 0.001f &&
                      v < horizon + 0.001f - (std::fabs(u - 0.25f) - 0.035f) * 0.3f;
    const float mastT = (horizon - 0.010f - v) / 0.085f;
    const bool sail = mastT > 0.0f && mastT < 1.0f && u > 0.24f - 0.035f * (1.0f - mastT) && u < 0.25f;
    const bool jib = mastT > 0.1f && mastT < 0.9f && u > 0.255f && u < 0.255f + 0.03f * (1.0f - mastT);
    if (hull || sail || jib) l = 0.14f;
    // The beach.
    const float shore = 0.86f + 0.02f * std::sin(u * 7.0f + 1.0f);
    l = Mix(l, 0.24f + 0.12f * Fbm(u * 50, v * 50, 3, seed + 3), Smoothstep(shore - 0.004f, shore + 0.004f, v));
    // Birds.
    l = Mix(l, 0.18f, std::max({Bird(u, v, 0.70f, 0.24f, 0.020f, aspect), Bird(u, v, 0.78f, 0.28f, 0.015f, aspect),
                                Bird(u, v, 0.63f, 0.30f, 0.013f, aspect)}));
    return l;
  });
}

Indexed ScanSide() {
  const uint32_t seed = 150;
  const float aspect = static_cast<float>(kSideWidth) / kSideHeight;
  // The printed page: paper with fibres and lines of "words".
  auto page = [&](float u, float v) {
    float l = 0.84f - 0.12f * v - 0.06f * u + 0.04f * (Fbm(u * 30, v * 60, 3, seed) - 0.5f);
    const float pitch = 0.030f;
    const float line = (v - 0.04f) / pitch;
    const int row = static_cast<int>(std::floor(line));
    if (line > 0 && row % 9 != 8 && u > 0.08f && u < 0.92f - 0.25f * (row % 9 == 7)) {
      const float inLine = line - static_cast<float>(row);
      const float wordPos = u * 16.0f + Hash(row, 0, seed) * 5.0f;
      const bool gap = Hash(row, static_cast<int>(std::floor(wordPos)), seed + 1) < 0.28f;
      if (std::fabs(inLine - 0.5f) < 0.16f && !gap) l -= 0.40f;
    }
    return l;
  };
  return Develop(kSideWidth, kSideHeight, seed, 0.3f, [&](float u, float v) {
    const float cu = 0.46f, cv = 0.40f, radius = 0.17f, rim = 0.018f;
    const float hx = 0.55f, hy = 0.83f;  // direction of the handle, in height units
    const float handA = radius + rim, handB = radius + 0.34f;
    auto glassAt = [&](float x, float y, float grow) {  // coverage of ring and handle
      const float d = std::hypot(x, y);
      const float ring = Disc(std::fabs(d - radius - rim * 0.5f), rim * 0.5f + grow, 0.002f);
      const float handle = Disc(SegmentDistance(x, y, hx * handA, hy * handA, hx * handB, hy * handB), 0.020f + grow, 0.002f);
      return std::max(ring, handle);
    };
    const float x = (u - cu) * aspect;
    const float y = v - cv;
    const float d = std::hypot(x, y);
    // Paper, darkened by the glass's soft shadow.
    float l = page(u, v);
    l *= 1.0f - 0.35f * glassAt(x - 0.03f, y - 0.035f, 0.012f);
    if (d < radius) {
      // Through the lens: the page enlarged, a little brighter, with a glint.
      l = page(cu + (u - cu) / 1.8f, cv + (v - cv) / 1.8f) + 0.05f;
      const float glint = std::hypot(x + 0.07f, y + 0.08f);
      l += 0.30f * (1.0f - Smoothstep(0.02f, 0.07f, glint)) * Smoothstep(0.07f, 0.14f, d);
    }
    // Ring and handle: dark metal with a highlight on the lit side.
    const float ring = Disc(std::fabs(d - radius - rim * 0.5f), rim * 0.5f, 0.0015f);
    if (ring > 0) {
      const float lit = std::max(0.0f, -(x + y) / (d * 1.4142f + 1e-6f));
      l = Mix(l, 0.20f + 0.55f * std::pow(lit, 3.0f), ring);
    }
    const float along = x * hx + y * hy;
    const float across = x * hy - y * hx;
    const float hd = SegmentDistance(x, y, hx * handA, hy * handA, hx * handB, hy * handB);
    const float handle = Disc(hd, 0.020f, 0.0015f);
    if (handle > 0) {
      const float shade = 0.16f + 0.30f * std::exp(-std::pow((across + 0.008f) / 0.007f, 2.0f));
      const float collar = (along < handA + 0.04f) ? 0.12f : 0.0f;
      l = Mix(l, shade + collar, handle);
    }
    return l;
  });
}

}  // namespace mkart
