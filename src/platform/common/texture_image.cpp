#include "platform/common/texture_image.h"

#include <stb_image.h>
#include <stb_image_write.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>

#include "core/utf8_path.h"
#include "ports/device.h"

namespace vx {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The PNG without its empty image-data chunks. They carry nothing, and stb_image copies an
// empty first one into a buffer it has not made yet (a null pointer: undefined behaviour).
// Bytes after a chunk that runs past the end are kept as they are, for the decoder to refuse.
std::vector<uint8_t> WithoutEmptyDataChunks(const std::vector<uint8_t>& png) {
  constexpr size_t kSignature = 8, kFrame = 12;  // length, type and CRC around the data
  std::vector<uint8_t> out(png.begin(), png.begin() + kSignature);
  size_t at = kSignature;
  while (at + kFrame <= png.size()) {
    const uint64_t length = BigEndian32(&png[at]);
    if (length > png.size() - at - kFrame) break;
    const bool empty_data = length == 0 && std::equal(&png[at + 4], &png[at + 8], "IDAT");
    if (!empty_data)
      out.insert(out.end(), png.begin() + static_cast<ptrdiff_t>(at),
                 png.begin() + static_cast<ptrdiff_t>(at + kFrame + length));
    at += kFrame + length;
  }
  out.insert(out.end(), png.begin() + static_cast<ptrdiff_t>(at), png.end());
  return out;
}

// The bytes the image data must inflate to: every row of every interlace pass, each with its
// filter byte. 0 for a header no PNG may carry.
uint64_t RawImageBytes(uint32_t width, uint32_t height, uint8_t bit_depth, uint8_t colour_type,
                       uint8_t interlace) {
  int channels = 0;
  switch (colour_type) {
    case 0:
      channels = 1;
      break;  // grey
    case 2:
      channels = 3;
      break;  // RGB
    case 3:
      channels = 1;
      break;  // palette
    case 4:
      channels = 2;
      break;  // grey and alpha
    case 6:
      channels = 4;
      break;  // RGBA
    default:
      return 0;
  }
  const bool depth_ok = colour_type == 3
                            ? (bit_depth == 1 || bit_depth == 2 || bit_depth == 4 || bit_depth == 8)
                        : colour_type == 0 ? (bit_depth == 1 || bit_depth == 2 || bit_depth == 4 ||
                                              bit_depth == 8 || bit_depth == 16)
                                           : (bit_depth == 8 || bit_depth == 16);
  if (!depth_ok || width == 0 || height == 0 || interlace > 1) return 0;
  const uint64_t bits_per_pixel = uint64_t{bit_depth} * static_cast<uint64_t>(channels);
  auto pass_bytes = [&](uint64_t w, uint64_t h) { return h * (1 + (w * bits_per_pixel + 7) / 8); };
  if (interlace == 0) return pass_bytes(width, height);
  // Adam7: each pass takes every dx-th column from x0 and every dy-th row from y0.
  static constexpr uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  uint64_t total = 0;
  for (const auto& p : kPasses) {
    const uint64_t w = width > p[0] ? (width - p[0] + p[2] - 1) / p[2] : 0;
    const uint64_t h = height > p[1] ? (height - p[1] + p[3] - 1) / p[3] : 0;
    if (w && h) total += pass_bytes(w, h);
  }
  return total;
}

}  // namespace

bool PngIsIntact(const std::vector<uint8_t>& png) {
  constexpr size_t kSignature = 8, kFrame = 12;
  if (png.size() < kSignature + kFrame + 13) return false;
  // The header chunk comes first and says what the image data must inflate to.
  if (BigEndian32(&png[kSignature]) != 13 || !std::equal(&png[12], &png[16], "IHDR")) return false;
  const uint64_t expected =
      RawImageBytes(BigEndian32(&png[16]), BigEndian32(&png[20]), png[24], png[25], png[28]);
  if (expected == 0) return false;

  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  uint8_t scratch[16384];  // the inflated bytes are only counted
  int state = Z_OK;
  bool data_seen = false, data_ended = false, intact = false;
  for (size_t at = kSignature; at + kFrame <= png.size();) {
    const uint32_t length = BigEndian32(&png[at]);
    if (length > 0x7FFFFFFF || length > png.size() - at - kFrame) break;
    const uint8_t* type = &png[at + 4];
    const uint8_t* body = type + 4;
    const uLong crc = crc32(crc32(0, nullptr, 0), type, 4 + length);
    if (crc != BigEndian32(body + length)) break;
    const bool is_data = std::equal(type, type + 4, "IDAT");
    if (is_data) {
      // The image data is one run of chunks; a second run would be read by nobody.
      if (data_ended) break;
      data_seen = true;
      z.next_in = const_cast<Bytef*>(body);
      z.avail_in = length;
      // Until this chunk is used up and nothing more waits to come out (a full buffer may
      // hide more), the stream ends, or it has already given more than the image holds.
      while (state == Z_OK && (z.avail_in > 0 || z.avail_out == 0) && z.total_out <= expected) {
        z.next_out = scratch;
        z.avail_out = sizeof scratch;
        state = inflate(&z, Z_NO_FLUSH);
        if (state == Z_BUF_ERROR) {  // no progress without the next chunk's bytes
          state = Z_OK;
          break;
        }
      }
      // Bytes after the stream's end, or a stream that ends in error or runs long.
      if ((state == Z_STREAM_END && z.avail_in > 0) || (state != Z_OK && state != Z_STREAM_END) ||
          z.total_out > expected)
        break;
    } else {
      data_ended = data_seen;
    }
    if (std::equal(type, type + 4, "IEND")) {
      // inflate has checked the stream's own checksum on reaching its end.
      intact = length == 0 && state == Z_STREAM_END && z.total_out == expected;
      break;
    }
    at += kFrame + length;
  }
  inflateEnd(&z);
  return intact;
}

RgbaImage DecodeImage(const std::vector<uint8_t>& bytes, const std::string& name_for_errors) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    throw DeviceError("cannot decode the image " + name_for_errors);
  // PNG only: the saver's atlases are PNG, and every other format stb_image reads is code a
  // damaged or hostile file could reach for nothing.
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < sizeof kPngSignature ||
      !std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin()))
    throw DeviceError("cannot decode the image " + name_for_errors + ": not a PNG picture");
  int w = 0, h = 0, channels = 0;
  // The size first: a small file may claim a picture of gigabytes.
  if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels) ||
      w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide)
    throw DeviceError("cannot decode the image " + name_for_errors +
                      ": not a picture of a usable size");
  // The decoder checks no checksum: a flipped byte would be drawn, not refused.
  if (!PngIsIntact(bytes))
    throw DeviceError("cannot decode the image " + name_for_errors +
                      ": damaged data (a checksum does not match)");
  const std::vector<uint8_t> png = WithoutEmptyDataChunks(bytes);
  stbi_uc* data =
      stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 4);
  if (!data) {
    // stb_image gives no reason on some paths of a damaged file.
    const char* reason = stbi_failure_reason();
    throw DeviceError("cannot decode the image " + name_for_errors + ": " +
                      (reason ? reason : "damaged data"));
  }
  RgbaImage image;
  image.width = w;
  image.height = h;
  image.pixels.assign(data, data + static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  stbi_image_free(data);
  return image;
}

bool ImageDecodesAs(std::string_view bytes, int width, int height) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    return false;
  int w = 0, h = 0, channels = 0;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  if (!stbi_info_from_memory(data, static_cast<int>(bytes.size()), &w, &h, &channels)) return false;
  if (w != width || h != height) return false;
  try {
    DecodeImage(std::vector<uint8_t>(bytes.begin(), bytes.end()), "pack image");
    return true;
  } catch (const DeviceError&) {
    return false;
  }
}

bool WritePngFile(const RgbaImage& image, const std::string& file) {
  std::ofstream out(Utf8Path(file), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const auto write = [](void* context, void* data, int size) {
    static_cast<std::ofstream*>(context)->write(static_cast<const char*>(data), size);
  };
  if (!stbi_write_png_to_func(write, &out, image.width, image.height, 4, image.pixels.data(),
                              image.width * 4))
    return false;
  out.close();
  return static_cast<bool>(out);
}

RgbaImage ScaleNearest(const RgbaImage& source, int width, int height) {
  RgbaImage out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    // The source pixel under the target pixel's centre, in integers so that exact ratios
    // (a halving, a doubling) never land on a rounding edge.
    const int sy = static_cast<int>((2LL * y + 1) * source.height / (2LL * height));
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((2LL * x + 1) * source.width / (2LL * width));
      const uint8_t* from = &source.pixels[(static_cast<size_t>(sy) * source.width + sx) * 4];
      uint8_t* to = &out.pixels[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 4; ++c) to[c] = from[c];
    }
  }
  return out;
}

std::vector<RgbaImage> PointMipChain(RgbaImage base) {
  std::vector<RgbaImage> chain;
  chain.push_back(std::move(base));
  while (chain.back().width > 1 || chain.back().height > 1) {
    const RgbaImage& above = chain.back();
    const int w = above.width > 1 ? above.width / 2 : 1;
    const int h = above.height > 1 ? above.height / 2 : 1;
    chain.push_back(ScaleNearest(above, w, h));
  }
  return chain;
}

}  // namespace vx
