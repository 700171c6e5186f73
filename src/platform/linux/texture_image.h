// Decoding and sizing of texture images as the Direct3D texture loader does it with the
// saver's arguments: any size in, a fixed size out by point sampling, and a full chain of
// point-filtered mip levels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct RgbaImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, 4 bytes a pixel (R, G, B, A)
};

// Decodes a PNG (or any format stb_image reads) from memory into RGBA; images without alpha
// come out opaque. Throws DeviceError when the bytes are not an image.
RgbaImage DecodeImage(const std::vector<uint8_t>& bytes, const std::string& name_for_errors);

// Nearest scaling: each target pixel takes the source pixel under its centre.
RgbaImage ScaleNearest(const RgbaImage& source, int width, int height);

// Level 0 is `base`; each further level halves both sides (never below 1) by point sampling
// the level above, down to 1 x 1.
std::vector<RgbaImage> PointMipChain(RgbaImage base);

}  // namespace vx
