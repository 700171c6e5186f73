// The scenery atlas: 56 small landscapes painted from noise, each a different place or hour,
// with feathered edges so the quads melt into the dark around them.
#include <array>

#include "canvas.h"

namespace vxtools {
namespace {

constexpr float kPi = 3.14159265f;

// A phase angle from a seed; adding the seed itself to a float angle would lose all precision.
float Phase(uint32_t seed) {
  return static_cast<float>(seed % 6283u) / 1000.0f;
}

struct Ridge {
  float base;       // height of the ridge's mean line (0 top, 1 bottom)
  float amplitude;  // how far peaks rise above it
  float frequency;
  Colour colour;
  float snow = 0;  // share of the peak height under snow
  bool trees = false;
  bool dunes = false;
};

struct Scene {
  uint32_t seed = 1;
  Colour zenith, horizon;
  float horizon_v = 0.6f;
  // Sun or moon.
  bool disc = false;
  float disc_u = 0.5f, disc_v = 0.3f, disc_r = 0.07f;
  Colour disc_colour{1, 1, 1};
  float disc_glow = 0.5f;
  bool moon = false;   // craters and no glare
  float crescent = 0;  // shadow offset for a crescent, 0 for a full disc
  float stars = 0;     // share of pixels that are stars
  float clouds = 0;    // cloud cover 0..1
  Colour cloud_colour{1, 1, 1};
  float aurora = 0;
  Colour aurora_low, aurora_high;
  float aurora_phase = 0;
  std::vector<Ridge> ridges;  // far to near
  bool water = false;
  Colour water_tint{0, 0, 0};
  bool city = false;
  Colour city_colour, window_colour;
  float city_base = 0.75f;
  float fog = 0;  // haze toward the horizon colour on the ridges
  bool ring_planet = false;
  bool nebula = false;
  Colour nebula_a, nebula_b;
  float meteors = 0;
};

Colour Sky(const Scene& s, float u, float v) {
  const float t = Clamp01(v / s.horizon_v);
  Colour c = Mix(s.zenith, s.horizon, std::pow(t, 1.6f));
  if (s.nebula) {
    const float n = Fbm(u * 3 + 7, v * 3, s.seed + 5, 5);
    const float band =
        Smooth(0.45f, 0.8f, n) * (0.6f + 0.4f * std::sin((u + v) * 5 + Phase(s.seed)));
    c = Add(c, Scale(Mix(s.nebula_a, s.nebula_b, Fbm(u * 5, v * 5, s.seed + 9)), band));
  }
  if (s.aurora > 0) {
    for (int layer = 0; layer < 2; ++layer) {
      const float ph = s.aurora_phase + layer * 1.7f;
      const float centre = 0.22f + layer * 0.12f + 0.07f * std::sin(u * 6.0f + ph) +
                           0.05f * (Fbm(u * 3, ph, s.seed + 30 + layer) - 0.5f);
      const float below = v - centre;
      // A sharp lower hem and rays that fade slowly upward.
      float curtain = below > 0 ? std::exp(-below * below / 0.0012f)
                                : std::exp(below / (0.16f - 0.05f * layer));
      curtain *= 0.45f + 0.75f * Fbm(u * 26 + layer * 3, 0.5f, s.seed + 40 + layer, 2);
      const Colour col = Mix(s.aurora_low, s.aurora_high, Clamp01(-below * 5));
      c = Add(c, Scale(col, curtain * s.aurora * (layer == 0 ? 1.0f : 0.6f)));
    }
  }
  if (s.disc) {
    const float du = (u - s.disc_u) * 50.0f / 58.0f, dv = v - s.disc_v;
    const float d = std::sqrt(du * du + dv * dv);
    c = Add(c, Scale(s.disc_colour, s.disc_glow * std::exp(-d * d / (s.disc_r * s.disc_r * 9))));
    if (s.moon) c = Add(c, Scale(s.disc_colour, 0.06f * std::exp(-d / (s.disc_r * 2.0f))));
    float inside = 1 - Smooth(s.disc_r * 0.9f, s.disc_r * 1.1f, d);
    if (s.crescent != 0) {
      const float sd = std::sqrt((du - s.crescent) * (du - s.crescent) +
                                 (dv + s.crescent * 0.3f) * (dv + s.crescent * 0.3f));
      inside *= Smooth(s.disc_r * 0.9f, s.disc_r * 1.1f, sd);
    }
    Colour face = s.disc_colour;
    if (s.moon) {
      // Maria: broad, soft grey patches scaled to the disc, not to the cell.
      const float m = Fbm(du / s.disc_r * 1.6f + 3, dv / s.disc_r * 1.6f, s.seed + 77, 3);
      const float limb = Clamp01(d / s.disc_r);
      face = Scale(face, (0.93f - 0.2f * Smooth(0.45f, 0.7f, m)) * (1 - 0.25f * limb * limb));
    }
    c = Mix(c, face, inside);
  }
  if (s.ring_planet) {
    const float du = (u - 0.58f), dv = (v - 0.42f);
    const float d = std::sqrt(du * du + dv * dv);
    const float body = 1 - Smooth(0.17f, 0.19f, d);
    const float lit = Clamp01(0.3f + (-du + -dv) * 4);
    const Colour band = Mix(Rgb(0xc98a4b), Rgb(0xf0d8a8), 0.5f + 0.5f * std::sin(dv * 70));
    // A tilted ring: an ellipse band in rotated coordinates.
    const float ru = du * 0.94f + dv * 0.34f, rv = (-du * 0.34f + dv * 0.94f) * 4.2f;
    const float rd = std::sqrt(ru * ru + rv * rv);
    const float ring = Smooth(0.25f, 0.27f, rd) * (1 - Smooth(0.36f, 0.38f, rd));
    const bool ring_front = rv > 0 || d > 0.19f;
    c = Mix(c, Scale(band, lit), body);
    if (ring_front) c = Mix(c, Rgb(0xe8d6b0), ring * 0.8f);
  }
  if (s.clouds > 0 && v < s.horizon_v) {
    const float n = Fbm(u * 3.5f, v * 9.0f, s.seed + 50, 5);
    const float cover = Smooth(1 - s.clouds, 1 - s.clouds + 0.25f, n);
    const float shade =
        0.65f + 0.35f * Clamp01((0.6f - Fbm(u * 3.5f, v * 9.0f + 0.4f, s.seed + 50, 5)) * 3);
    c = Mix(c, Scale(s.cloud_colour, shade), cover * 0.9f);
  }
  return c;
}

float RidgeHeight(const Ridge& r, float u, uint32_t seed) {
  if (r.dunes)
    return r.base - r.amplitude * (0.5f + 0.5f * std::sin(u * r.frequency * kPi + Phase(seed)) *
                                              (0.7f + 0.3f * Fbm(u * 2, 0, seed, 2)));
  const float n = Fbm(u * r.frequency, 0.5f, seed, 5);
  // Sharpened noise reads as peaks rather than hills.
  return r.base - r.amplitude * std::pow(n, 1.5f) * 1.6f;
}

// Pine silhouettes: one row of triangles along a ridge.
bool InTree(float u, float v, float ground, uint32_t seed, float size) {
  const float cell = size * 0.6f;
  const int i = static_cast<int>(std::floor(u / cell));
  for (int k = i - 1; k <= i + 1; ++k) {
    const float cx = (k + 0.2f + 0.6f * Hash01(k, 1, seed)) * cell;
    const float height = size * (0.7f + 0.6f * Hash01(k, 2, seed));
    const float top = ground - height;
    if (v < top || v > ground + 0.02f) continue;
    const float half = (v - top) / height * size * 0.28f;
    // Ragged tiers make the outline look like branches.
    const float tier = 0.75f + 0.25f * std::fmod((v - top) / height * 5, 1.0f);
    if (std::fabs(u - cx) < half * tier + 0.004f) return true;
  }
  return false;
}

Colour Paint(const Scene& s, float u, float v) {
  Colour c = Sky(s, u, v);
  if (s.water && v > s.horizon_v) {
    // The sky mirrored, broken by ripples, darker with depth.
    const float depth = (v - s.horizon_v) / (1 - s.horizon_v);
    const float ripple = (Fbm(u * 6, v * 60, s.seed + 60, 3) - 0.5f) * 0.05f * (0.3f + depth);
    Colour mirror = Sky(s, u + ripple, 2 * s.horizon_v - v + ripple * 0.4f);
    mirror = Mix(mirror, s.water_tint, 0.35f + 0.4f * depth);
    const float glint = Smooth(0.55f, 0.9f, Fbm(u * 14, v * 90, s.seed + 61, 2));
    if (s.disc) {
      const float path = std::exp(-std::pow((u - s.disc_u) / (0.05f + depth * 0.15f), 2.0f));
      mirror = Add(mirror, Scale(s.disc_colour, path * glint * 0.8f));
    }
    c = Add(mirror, Scale(Rgb(0xffffff), glint * 0.05f));
  }
  const int n = static_cast<int>(s.ridges.size());
  for (int i = 0; i < n; ++i) {
    const Ridge& r = s.ridges[i];
    const uint32_t rs = s.seed * 31 + i * 7;
    const float h = RidgeHeight(r, u, rs);
    bool solid = v >= h;
    if (r.trees && !solid) solid = InTree(u, v, h, rs + 3, 0.16f + 0.06f * i);
    if (!solid) continue;
    Colour col = r.colour;
    if (r.snow > 0) {
      const float peak = r.base - r.amplitude * 1.6f;
      const float snowline =
          peak + (r.base - peak) * r.snow + 0.04f * (Fbm(u * 20, v * 5, rs + 9, 2) - 0.5f);
      col = Mix(col, Mix(Rgb(0xf4f8ff), s.horizon, 0.25f),
                1 - Smooth(snowline - 0.01f, snowline + 0.02f, v));
    }
    if (r.dunes) {
      // Lit flanks face the sun; a slope from the derivative of the crest line.
      const float slope = RidgeHeight(r, u + 0.01f, rs) - RidgeHeight(r, u - 0.01f, rs);
      col = Scale(col, 0.75f + Clamp01(0.5f + slope * 12) * 0.45f - (v - h) * 0.6f);
    } else {
      col = Scale(col,
                  1.0f - 0.35f * Clamp01((v - h) * 3) + 0.12f * (Fbm(u * 30, v * 30, rs) - 0.5f));
    }
    const float haze = s.fog * float(n - 1 - i) / std::max(1, n - 1);
    c = Mix(col, s.horizon, haze);
    if (s.water && v > s.horizon_v && h < s.horizon_v) break;
  }
  if (s.city && v > s.city_base - 0.35f) {
    // Towers of random widths and heights standing on the city's base line.
    const float cols = 11;
    for (int layer = 0; layer < 2; ++layer) {
      const float shift = layer * 0.37f;
      const int kk = static_cast<int>(std::floor(u * cols + shift));
      const float local = u * cols + shift - kk;
      const float height = (layer == 0 ? 0.18f : 0.1f) +
                           0.3f * Hash01(kk, layer, s.seed + 70) * (layer == 0 ? 1.0f : 0.6f);
      const float top = s.city_base - height;
      const float inset = 0.06f + 0.1f * Hash01(kk, 9 + layer, s.seed);
      if (v < top || v > s.city_base + 0.3f || local < inset || local > 1 - inset) continue;
      Colour col = Scale(s.city_colour, layer == 0 ? 0.7f : 1.0f);
      // Windows: a grid inside the tower, some lit.
      const int wx = static_cast<int>(std::floor(local * 4)),
                wy = static_cast<int>(std::floor((v - top) * 70));
      const bool in_window =
          std::fmod(local * 4, 1.0f) > 0.35f && std::fmod((v - top) * 70, 1.0f) > 0.45f;
      if (layer == 1 && in_window && Hash01(kk * 8 + wx, wy, s.seed + 71) < 0.45f)
        col = Scale(s.window_colour, 0.7f + 0.3f * Hash01(wx, wy + kk, s.seed));
      c = col;
    }
    if (v > s.city_base && s.water) {
      // Lit windows smeared into the harbour below.
      const float streak = Fbm(u * 40, v * 8, s.seed + 72, 2);
      c = Add(Scale(s.water_tint, 0.9f), Scale(s.window_colour, Smooth(0.55f, 0.8f, streak) * 0.5f *
                                                                    (1 - (v - s.city_base) * 3)));
    } else if (v > s.city_base) {
      c = Scale(s.city_colour, 0.5f);
    }
  }
  return c;
}

// Sky colours at an hour of the day (0..24).
void SkyAt(Scene& s, float hour) {
  struct Key {
    float hour;
    int zenith, horizon;
  };
  static constexpr std::array<Key, 9> keys{{{0, 0x02040e, 0x0b1630},
                                            {5, 0x0a1233, 0x6a4a78},
                                            {6.5f, 0x2b4d8c, 0xffb37a},
                                            {9, 0x3f7fd0, 0xbfe2ff},
                                            {13, 0x2a6fd6, 0xd6ecff},
                                            {17, 0x3d6cb8, 0xffd39a},
                                            {19, 0x30205a, 0xff6a3a},
                                            {20.5f, 0x0c0f2e, 0x593b6b},
                                            {24, 0x02040e, 0x0b1630}}};
  for (size_t i = 0; i + 1 < keys.size(); ++i)
    if (hour >= keys[i].hour && hour <= keys[i + 1].hour) {
      const float t = (hour - keys[i].hour) / (keys[i + 1].hour - keys[i].hour);
      s.zenith = Mix(Rgb(keys[i].zenith), Rgb(keys[i + 1].zenith), t);
      s.horizon = Mix(Rgb(keys[i].horizon), Rgb(keys[i + 1].horizon), t);
      break;
    }
  const bool night = hour < 5.5f || hour > 20;
  s.stars = night ? 0.014f : (hour < 6.2f || hour > 19.5f ? 0.005f : 0);
  s.cloud_colour =
      night ? Rgb(0x2a3350) : (hour < 7.5f || hour > 17.5f ? Rgb(0xffb48a) : Rgb(0xffffff));
  if (!night && hour > 6 && hour < 19.8f) {
    s.disc = true;
    // The sun climbs from the horizon at dawn to high at noon.
    const float day = (hour - 6) / 13.8f;
    s.disc_u = 0.15f + 0.7f * day;
    s.disc_v = s.horizon_v - 0.05f - 0.45f * std::sin(day * kPi);
    s.disc_r = 0.06f;
    s.disc_colour = Mix(Rgb(0xffcf7a), Rgb(0xfffbe8), std::sin(day * kPi));
    s.disc_glow = 0.55f;
  }
}

Colour Darken(Colour c, Colour light, float k) {
  return Mix(Scale(c, k), light, 0.15f);
}

Scene Describe(int cell) {
  Scene s;
  s.seed = 1000u + cell * 7919u;
  Dice dice(s.seed);
  const int group = cell / 7, variant = cell % 7;
  static constexpr float kHours[7] = {5.8f, 8, 12.5f, 16, 18.6f, 20.2f, 23};
  const float hour = kHours[variant];
  switch (group) {
    case 0: {  // skies at several hours over low hills
      s.horizon_v = 0.8f;
      SkyAt(s, hour);
      s.clouds = 0.25f + 0.3f * dice.Next();
      s.ridges.push_back({0.9f, 0.05f, 3, Darken(Rgb(0x2e4a2a), s.horizon, 0.6f)});
      break;
    }
    case 1: {  // seas
      s.horizon_v = 0.55f;
      SkyAt(s, hour);
      s.water = true;
      s.water_tint = Mix(Rgb(0x0a2a4a), s.zenith, 0.3f);
      s.clouds = variant == 3 ? 0.6f : 0.25f;
      if (variant >= 5) {
        s.disc = true;
        s.moon = true;
        s.disc_colour = Rgb(0xf2f0e0);
        s.disc_u = 0.3f + 0.4f * dice.Next();
        s.disc_v = 0.25f;
        s.disc_r = 0.07f;
        s.disc_glow = 0.25f;
      }
      if (variant == 2) s.water_tint = Rgb(0x0f8a9a);  // a tropical lagoon at noon
      if (variant == 4) s.ridges.push_back({0.56f, 0.08f, 4, Rgb(0x1a1020)});
      break;
    }
    case 2: {  // mountains
      s.horizon_v = 0.7f;
      SkyAt(s, hour);
      s.fog = 0.55f;
      const Colour rock = Mix(Rgb(0x46506a), s.zenith, 0.3f);
      s.ridges.push_back({0.55f, 0.22f, 2.5f, Mix(rock, s.horizon, 0.2f), 0.35f});
      s.ridges.push_back({0.7f, 0.15f, 3.5f, Scale(rock, 0.75f), variant == 2 ? 0.25f : 0.0f});
      s.ridges.push_back({0.88f, 0.1f, 4.5f, Scale(rock, 0.45f)});
      if (variant == 3) {  // an alpine lake
        s.water = true;
        s.horizon_v = 0.78f;
        s.water_tint = Rgb(0x1c3c5a);
        s.ridges.pop_back();
      }
      if (variant >= 5) {
        s.disc = true;
        s.moon = true;
        s.disc_colour = Rgb(0xfff6dc);
        s.disc_u = 0.7f;
        s.disc_v = 0.2f;
        s.disc_r = 0.065f;
        s.disc_glow = 0.2f;
      }
      break;
    }
    case 3: {  // forests
      s.horizon_v = 0.65f;
      SkyAt(s, hour);
      s.fog = 0.7f;
      static constexpr int kLeaves[7] = {0x1d3b34, 0x1f4a24, 0x2f5a1e, 0x6a3a14,
                                         0x301a1a, 0x0e1a22, 0x0a1020};
      const Colour leaf = Rgb(kLeaves[variant]);
      Ridge far{0.62f, 0.06f, 3, Mix(leaf, s.horizon, 0.45f)};
      far.trees = true;
      Ridge mid{0.76f, 0.05f, 4, Mix(leaf, s.horizon, 0.2f)};
      mid.trees = true;
      Ridge near{0.92f, 0.04f, 5, Scale(leaf, 0.55f)};
      near.trees = true;
      s.ridges = {far, mid, near};
      if (variant == 4) s.clouds = 0.4f;
      break;
    }
    case 4: {  // deserts
      s.horizon_v = 0.62f;
      SkyAt(s, hour);
      s.fog = 0.3f;
      const Colour sand = Mix(Rgb(0xd9a25a), s.horizon, 0.25f);
      const Colour lit = hour > 20 || hour < 6 ? Scale(Rgb(0x3a3a6a), 0.9f) : sand;
      Ridge back{0.62f, 0.06f, 2.2f, Mix(lit, s.horizon, 0.3f)};
      back.dunes = true;
      Ridge mid{0.76f, 0.08f, 1.6f, lit};
      mid.dunes = true;
      Ridge front{0.9f, 0.07f, 1.1f, Scale(lit, 0.85f)};
      front.dunes = true;
      s.ridges = {back, mid, front};
      if (variant == 1 || variant == 3) {  // mesas on the horizon
        s.ridges.insert(s.ridges.begin(),
                        Ridge{0.6f, 0.12f, 1.4f, Mix(Rgb(0x8a4a2a), s.horizon, 0.3f)});
      }
      break;
    }
    case 5: {  // cities at night
      SkyAt(s, 21 + variant * 0.4f);
      s.horizon = Mix(s.horizon, Rgb(variant % 2 ? 0x5a2a6a : 0x2a3a6a), 0.6f);
      s.horizon_v = 0.8f;
      s.city = true;
      s.city_base = 0.78f + 0.05f * dice.Next();
      s.city_colour = Rgb(0x10131f);
      static constexpr int kLights[7] = {0xffd27a, 0xfff2c8, 0x8ae0ff, 0xff9ad0,
                                         0xffc07a, 0xc8ffb0, 0xffe8a0};
      s.window_colour = Rgb(kLights[variant]);
      s.water = variant % 3 == 0;
      s.water_tint = Rgb(0x070b18);
      if (variant % 2 == 0) {
        s.disc = true;
        s.moon = true;
        s.disc_colour = Rgb(0xfff4d6);
        s.disc_u = 0.2f + 0.6f * dice.Next();
        s.disc_v = 0.18f;
        s.disc_r = 0.06f;
        s.disc_glow = 0.2f;
        s.crescent = variant == 4 ? 0.05f : 0;
      }
      break;
    }
    case 6: {  // moons and the sky beyond
      SkyAt(s, 0);
      s.horizon_v = 0.95f;
      s.stars = 0.02f;
      s.disc = variant < 4;
      s.moon = true;
      s.disc_colour = variant == 3 ? Rgb(0xd0522a) : Rgb(0xf4f0e4);  // a blood moon
      s.disc_u = 0.5f;
      s.disc_v = 0.45f;
      s.disc_r = variant == 0 ? 0.26f : 0.2f;
      s.disc_glow = 0.12f;
      s.crescent = variant == 1 ? 0.12f : 0;
      if (variant == 2) {
        s.clouds = 0.45f;
        s.cloud_colour = Rgb(0x3a4060);
      }
      if (variant == 4) s.ring_planet = true;
      if (variant == 5 || variant == 6) {
        s.nebula = true;
        s.nebula_a = variant == 5 ? Rgb(0x6a2a9a) : Rgb(0x1a5a9a);
        s.nebula_b = variant == 5 ? Rgb(0x2a6aff) : Rgb(0xff5a8a);
      }
      if (variant == 6) s.meteors = 1;
      break;
    }
    default: {  // auroras
      SkyAt(s, 0);
      s.horizon_v = 0.78f;
      s.aurora = 0.9f;
      s.aurora_phase = variant * 1.3f;
      static constexpr int kLow[7] = {0x3dff9a, 0x3dffc8, 0x7aff5a, 0x3dff9a,
                                      0x5affd0, 0x4aff80, 0x9aff5a};
      static constexpr int kHigh[7] = {0x7a3dff, 0x3d8aff, 0xff3d8a, 0x3dffff,
                                       0xc83dff, 0xff5a3d, 0x3d5aff};
      s.aurora_low = Rgb(kLow[variant]);
      s.aurora_high = Rgb(kHigh[variant]);
      s.stars = 0.012f;
      if (variant % 3 == 0) s.ridges.push_back({0.78f, 0.18f, 3, Rgb(0x10182a), 0.3f});
      if (variant % 3 == 1) {
        s.water = true;
        s.water_tint = Rgb(0x050a14);
        s.horizon_v = 0.68f;
      }
      if (variant % 3 == 2) {
        Ridge trees{0.86f, 0.04f, 4, Rgb(0x050a10)};
        trees.trees = true;
        s.ridges.push_back(trees);
      }
      break;
    }
  }
  return s;
}

void PaintCell(Canvas& atlas, int cell) {
  const Scene s = Describe(cell);
  constexpr int kSub = 3;
  const int left = CellLeft(cell), top = CellTop(cell);
  for (int y = 0; y < kCellHeight; ++y)
    for (int x = 0; x < kCellWidth; ++x) {
      Colour sum;
      for (int j = 0; j < kSub; ++j)
        for (int i = 0; i < kSub; ++i) {
          const float u = (x + (i + 0.5f) / kSub) / kCellWidth;
          const float v = (y + (j + 0.5f) / kSub) / kCellHeight;
          sum = Add(sum, Paint(s, u, v));
        }
      Colour c = Scale(sum, 1.0f / (kSub * kSub));
      // Stars: single pixels, brighter the rarer, only in open sky.
      const float v = (y + 0.5f) / kCellHeight;
      if (s.stars > 0 && v < s.horizon_v - 0.02f) {
        const float h = Hash01(x, y, s.seed + 90);
        if (h < s.stars) {
          const float twinkle = 0.2f + 0.8f * std::pow(Hash01(x, y, s.seed + 91), 2.0f);
          const Colour sky = Paint(s, (x + 0.5f) / kCellWidth, v);
          // Hidden behind anything brighter than the night (clouds, moon, land).
          if (sky.r + sky.g + sky.b < 0.9f) c = Add(c, Scale(Rgb(0xfff8f0), twinkle * 0.9f));
        }
      }
      if (s.meteors > 0) {
        for (int m = 0; m < 3; ++m) {
          const float mx = 0.15f + 0.3f * m, my = 0.15f + 0.22f * m;
          const float u = (x + 0.5f) / kCellWidth;
          const float along = (u - mx) * 0.8f + (v - my) * 0.6f;
          const float across = -(u - mx) * 0.6f + (v - my) * 0.8f;
          if (along < 0 && along > -0.25f)
            c = Add(c,
                    Scale(Rgb(0xd8f0ff), std::exp(-across * across / 0.00006f) * (1 + along * 4)));
        }
      }
      // Soft edges: a feathered frame, clear on the outermost texel.
      const float ex = std::min(x, kCellWidth - 1 - x), ey = std::min(y, kCellHeight - 1 - y);
      const float a = Smooth(0.0f, 6.0f, ex) * Smooth(0.0f, 6.0f, ey);
      atlas.At(left + x, top + y) = {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b), a};
    }
}

}  // namespace

Canvas SceneryAtlas() {
  Canvas atlas(kAtlasSize, kAtlasSize);
  for (int cell = 0; cell < 56; ++cell) PaintCell(atlas, cell);
  return atlas;
}

}  // namespace vxtools
