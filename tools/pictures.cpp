// The small pictures: the preview still, the button faces, the radio marks, the dialog's
// ball, the window icon and the pointing-hand cursor.
#include <map>
#include <stdexcept>

#include "canvas.h"

namespace vxtools {
namespace {

// Bilinear sample of a straight-alpha canvas, premultiplied on the way.
Pixel Sample(const Canvas& c, float x, float y) {
  x -= 0.5f;
  y -= 0.5f;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float tx = x - x0, ty = y - y0;
  Pixel out;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const int sx = std::clamp(x0 + i, 0, c.Width() - 1),
                sy = std::clamp(y0 + j, 0, c.Height() - 1);
      const float w = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
      const Pixel& p = c.At(sx, sy);
      out.r += p.r * p.a * w;
      out.g += p.g * p.a * w;
      out.b += p.b * p.a * w;
      out.a += p.a * w;
    }
  return out;
}

// Draws glyph cell `cell` of the letters atlas scaled into a w x h box, alpha-blended over an
// opaque canvas with the given opacity.
void DrawGlyph(Canvas& dst, const Canvas& letters, int cell, float x, float y, float w, float h,
               float opacity) {
  for (int py = static_cast<int>(std::floor(y)); py < static_cast<int>(std::ceil(y + h)); ++py)
    for (int px = static_cast<int>(std::floor(x)); px < static_cast<int>(std::ceil(x + w)); ++px) {
      if (px < 0 || py < 0 || px >= dst.Width() || py >= dst.Height()) continue;
      const float u = (px + 0.5f - x) / w, v = (py + 0.5f - y) / h;
      if (u < 0 || v < 0 || u > 1 || v > 1) continue;
      // Average a few taps when shrinking, so small glyphs stay smooth.
      Pixel s;
      constexpr int kTaps = 3;
      for (int j = 0; j < kTaps; ++j)
        for (int i = 0; i < kTaps; ++i) {
          const float su = u + (i - 1) / (kTaps * w), sv = v + (j - 1) / (kTaps * h);
          const Pixel p = Sample(letters, CellLeft(cell) + Clamp01(su) * kCellWidth,
                                 CellTop(cell) + Clamp01(sv) * kCellHeight);
          s.r += p.r / (kTaps * kTaps);
          s.g += p.g / (kTaps * kTaps);
          s.b += p.b / (kTaps * kTaps);
          s.a += p.a / (kTaps * kTaps);
        }
      Pixel& d = dst.At(px, py);
      const float a = s.a * opacity;
      d.r = d.r * (1 - a) + s.r * opacity;
      d.g = d.g * (1 - a) + s.g * opacity;
      d.b = d.b * (1 - a) + s.b * opacity;
      d.a = 1;
    }
}

Colour Lerp3(Colour top, Colour bottom, float t) {
  return Mix(top, bottom, Clamp01(t));
}

}  // namespace

Canvas PreviewPicture(const Canvas& letters) {
  Canvas c(152, 112);
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) c.Put(x, y, Rgb(0x000000));
  // Columns of glyphs at several depths, far and dim first, growing downward and fading at
  // their tips as in the saver.
  Dice dice(7);
  struct Column {
    float x, y, size;
    int count;
  };
  std::vector<Column> columns;
  for (int i = 0; i < 22; ++i) {
    const float depth = dice.Next();
    columns.push_back({dice.Range(-6, 146), dice.Range(-30, 40), 4.0f + depth * depth * 12.0f,
                       3 + static_cast<int>(dice.Next() * 9)});
  }
  std::sort(columns.begin(), columns.end(),
            [](const Column& a, const Column& b) { return a.size < b.size; });
  for (const Column& col : columns) {
    const float w = col.size, h = col.size * 21.0f / 18.0f;
    const float distance = Clamp01((col.size - 4) / 12);
    for (int k = 0; k < col.count; ++k) {
      const int cell = static_cast<int>(dice.Next() * 56);
      const float life = k == col.count - 1 ? 0.45f : 1.0f;
      DrawGlyph(c, letters, cell, col.x, col.y + k * h, w, h, (0.25f + 0.75f * distance) * life);
    }
  }
  return c;
}

Canvas ButtonPicture(const std::string& state) {
  struct Look {
    int face, outline;
    int edge_top, edge_bottom;  // inner edge; 0 for none
    bool shade;
  };
  static const std::map<std::string, Look> looks = {
      {"normal", {0xF3F3EE, 0x003C74, 0, 0, true}},
      {"highlight", {0xF3F3EE, 0x003C74, 0xFFF0CF, 0xE5972B, true}},
      {"highlight_select", {0xF3F3EE, 0x003C74, 0xFFF0CF, 0xE5972B, true}},
      {"selected", {0xF3F3EE, 0x003C74, 0xCEE7FF, 0x6982EE, true}},
      {"pressed", {0xE2E1D9, 0x003C74, 0, 0, false}},
      {"disable", {0xF5F4EA, 0xC9C7BA, 0, 0, false}},
  };
  const auto it = looks.find(state);
  if (it == looks.end()) throw std::runtime_error("unknown button state " + state);
  const Look& look = it->second;
  constexpr int kW = 64, kH = 25;
  Canvas c(kW, kH);
  const Colour face = Rgb(look.face), outline = Rgb(look.outline);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      Colour col = face;
      if (look.shade) {
        // Light grey shading toward the bottom and right, as if lit from above.
        if (y >= kH - 4) col = Mix(face, Rgb(0xD6D0C5), (y - (kH - 5)) / 4.0f);
        if (x == kW - 2) col = Mix(col, Rgb(0xE3E0D6), 0.6f);
      } else if (state == "pressed" && y <= 3) {
        col = Mix(Rgb(0xD1CCC1), face, y / 3.0f);  // the face sinks in when pressed
      }
      const bool border = x == 0 || y == 0 || x == kW - 1 || y == kH - 1;
      if (border) col = outline;
      if (look.edge_top && !border && (x <= 2 || y <= 2 || x >= kW - 3 || y >= kH - 3)) {
        const Colour edge =
            Lerp3(Rgb(look.edge_top), Rgb(look.edge_bottom), (y - 1) / float(kH - 3));
        // Two texels of edge colour, the inner one softer.
        const int ring = std::min({x, y, kW - 1 - x, kH - 1 - y});
        col = ring == 1 ? edge : Mix(edge, col, 0.45f);
      }
      const bool corner = (x == 0 || x == kW - 1) && (y == 0 || y == kH - 1);
      const bool near_corner = ((x == 0 || x == kW - 1) && (y == 1 || y == kH - 2)) ||
                               ((y == 0 || y == kH - 1) && (x == 1 || x == kW - 2));
      // Rounded corners: the corner texel takes the face behind the control, its neighbours
      // half the outline.
      if (corner) col = Mix(face, Rgb(0xFFFFFF), 0.5f);
      if (near_corner) col = Mix(outline, face, 0.45f);
      c.Put(x, y, col);
    }
  return c;
}

Canvas RadioMark(bool on) {
  constexpr int kSize = 12, kSub = 4;
  Canvas c(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      Colour sum;
      float cover = 0;
      for (int j = 0; j < kSub; ++j)
        for (int i = 0; i < kSub; ++i) {
          const float fx = x + (i + 0.5f) / kSub - 6, fy = y + (j + 0.5f) / kSub - 6;
          const float d = std::sqrt(fx * fx + fy * fy);
          if (d > 5.8f) continue;
          Colour col = Mix(Rgb(0xDCD7CB), Rgb(0xFFFFFF), Clamp01((fx + fy + 8) / 14));
          if (d > 4.5f) col = Rgb(0x1C5180);
          if (on && d < 2.8f)
            col = Mix(Rgb(0x55D655), Rgb(0x21A121), Clamp01((fx + fy + 3) / 6));  // the chosen dot
          sum = Add(sum, col);
          cover += 1;
        }
      if (cover > 0)
        c.At(x, y) = {sum.r / cover, sum.g / cover, sum.b / cover, cover / (kSub * kSub)};
    }
  return c;
}

Canvas BallPicture() {
  constexpr int kSize = 14;
  Canvas c(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const float dx = x + 0.5f - 7, dy = y + 0.5f - 7;
      const float d = std::sqrt(dx * dx + dy * dy) / 7;
      const float t = Clamp01(1 - d / 1.2f);
      // Red holds longest, so the sphere darkens through deep red to black at the corners.
      const Colour col{244 / 255.0f * std::pow(t, 0.9f), 84 / 255.0f * t * t * t,
                       85 / 255.0f * t * t * t};
      c.Put(x, y, col);
    }
  return c;
}

Canvas IconPicture(const Canvas& letters) {
  constexpr int kSize = 32;
  Canvas c(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      // A rounded dark tile with a deep blue glow at its heart.
      const float dx = std::max(std::fabs(x + 0.5f - 16) - 11, 0.0f);
      const float dy = std::max(std::fabs(y + 0.5f - 16) - 11, 0.0f);
      const float corner = std::sqrt(dx * dx + dy * dy);
      const float alpha = Clamp01(5.5f - corner);
      const float r = std::sqrt((x - 15.5f) * (x - 15.5f) + (y - 15.5f) * (y - 15.5f)) / 16;
      const Colour col = Mix(Rgb(0x123a6a), Rgb(0x02050c), Clamp01(r));
      if (alpha > 0) c.At(x, y) = {col.r, col.g, col.b, alpha};
    }
  Canvas tile(kSize, kSize);
  tile.Blit(c, 0, 0);
  // Faint small glyphs behind a bright V.
  DrawGlyph(tile, letters, 10, 2, 3, 9, 10.5f, 0.35f);
  DrawGlyph(tile, letters, 30, 21, 16, 9, 10.5f, 0.35f);
  DrawGlyph(tile, letters, 64, 3, 2, 26, 30, 1.0f);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) tile.At(x, y).a = c.At(x, y).a;
  return tile;
}

Canvas Resampled(const Canvas& source, int width, int height) {
  // Each target pixel averages the source area under it, weighted by how much of each source
  // pixel it covers; colours are averaged premultiplied, so transparent edges do not darken.
  Canvas out(width, height);
  const float sx = static_cast<float>(source.Width()) / width;
  const float sy = static_cast<float>(source.Height()) / height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float left = x * sx, right = left + sx, top = y * sy, bottom = top + sy;
      float r = 0, g = 0, b = 0, a = 0, area = 0;
      for (int j = static_cast<int>(top); j < bottom && j < source.Height(); ++j)
        for (int i = static_cast<int>(left); i < right && i < source.Width(); ++i) {
          const float w = (std::min(right, i + 1.0f) - std::max(left, static_cast<float>(i))) *
                          (std::min(bottom, j + 1.0f) - std::max(top, static_cast<float>(j)));
          const Pixel& p = source.At(i, j);
          r += p.r * p.a * w;
          g += p.g * p.a * w;
          b += p.b * p.a * w;
          a += p.a * w;
          area += w;
        }
      if (a > 0) out.At(x, y) = {r / a, g / a, b / a, a / area};
    }
  return out;
}

Canvas HandCursor() {
  // Two colours on transparent; the index finger's tip is the hot spot (12, 10).
  static constexpr const char* kRows[] = {
      "............XX",          "...........XooX",         "...........XooX",
      "...........XooX",         "...........XooX",         "...........XooXXX",
      "...........XooXooXXX",    "...........XooXooXooXX",  "...........XooXooXooXoX",
      "........XX.XooXooXooXoX", "........XoXXooooooooooX", "........XooXooooooooooX",
      ".........XooooooooooooX", ".........XooooooooooooX", "..........XoooooooooooX",
      "..........XooooooooooX",  "...........XoooooooooX",  "...........XoooooooooX",
      "............XooooooooX",  "............XXXXXXXXXX",
  };
  Canvas c(32, 32);
  int y = 10;
  for (const char* row : kRows) {
    for (int x = 0; row[x]; ++x) {
      if (row[x] == 'X') c.Put(x, y, Rgb(0x000000));
      if (row[x] == 'o') c.Put(x, y, Rgb(0xFFFFFF));
    }
    ++y;
  }
  return c;
}

}  // namespace vxtools
