// Decoding and sizing of texture images as the Direct3D texture loader does it with the
// saver's arguments: any size in, a fixed size out by point sampling, and a full chain of
// point-filtered mip levels. Shared by every platform's device.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/rgba_image.h"

namespace vx {

// The longest side of an image the loader takes: it bounds the memory a damaged or hostile
// file can claim (a 4096 x 4096 picture is 64 MB decoded).
inline constexpr int kMaxImageSide = 4096;

// True when the PNG's every chunk up to IEND matches its CRC and the image data inflates,
// its own checksum matching, to exactly the rows the header describes.
bool PngIsIntact(const std::vector<uint8_t>& png);

// Decodes a PNG from memory into RGBA; images without alpha come out opaque. Throws
// DeviceError when the bytes are not an intact PNG picture, or one with a side beyond
// kMaxImageSide (read from the header, before anything is decoded).
RgbaImage DecodeImage(const std::vector<uint8_t>& bytes, const std::string& name_for_errors);

// True when the bytes are a picture of exactly width x height that DecodeImage takes. The size
// is read from the header first, so a picture of another size is never decoded.
bool ImageDecodesAs(std::string_view bytes, int width, int height);

// Writes the image as a PNG file (a UTF-8 name). False when the file cannot be written.
bool WritePngFile(const RgbaImage& image, const std::string& file);

// Nearest scaling: each target pixel takes the source pixel under its centre.
RgbaImage ScaleNearest(const RgbaImage& source, int width, int height);

// Level 0 is `base`; each further level halves both sides (never below 1) by point sampling
// the level above, down to 1 x 1.
std::vector<RgbaImage> PointMipChain(RgbaImage base);

}  // namespace vx
