// What one face of the picture button consists of, as the button asks the platform to paint
// it: the state picture, its gradient, the eight stretched slices and the caption's place.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vx {

// The six state pictures, each 64 x 25 pixels (960 x 375 twips).
enum class FacePicture { kNormal, kHighlight, kHighlightSelected, kSelected, kPressed, kDisabled };

// One stretched copy: destination and source rectangles in twips.
struct Slice {
  int16_t dest_left, dest_top, dest_width, dest_height;
  int16_t src_left, src_top, src_width, src_height;
};

// One gradient vertex as the platform's gradient fill takes it: channels are 8-bit values
// times 256.
struct GradientVertex {
  int32_t x = 0, y = 0;
  uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};

// Everything one face drawing consists of; the surface paints it in this order: clear, the
// vertical gradient from Top to Bottom, then the eight slices of Picture.
struct FaceDrawing {
  FacePicture picture = FacePicture::kNormal;
  bool opaque = true;  // a transparent control shows only its caption
  GradientVertex top, bottom;
  std::array<Slice, 8> slices{};
  int32_t caption_top = 0;  // twips
  int32_t caption_width = 0;
};

struct FontSpec {
  std::string face = "IPAPGothic";
  double points = 9.75;
  bool bold = false;
  bool italic = false;
  int16_t charset = 128;  // Shift-JIS
  bool operator==(const FontSpec&) const = default;
};

}  // namespace vx
