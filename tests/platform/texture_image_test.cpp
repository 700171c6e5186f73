// PNG decoding as the texture loaders and the pack check use it.
#include "platform/common/texture_image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

#include "fakes/temp_dir.h"
#include "platform/test_images.h"
#include "ports/device.h"

namespace vx {
namespace {

// An image-data chunk with nothing in it, before the real ones: legal PNG, and what once made
// the decoder copy into a buffer it had not made yet. The picture must come out whole.
TEST(TextureImage, EmptyImageDataChunksAreSkippedAndThePictureIsWhole) {
  RgbaImage source = test::Solid(4, 3, 0x336699FF);
  test::Put(source, 3, 2, 0xFF0000FF);
  const std::string png = test::Png(source);
  const size_t idat = png.find("IDAT") - 4;  // the chunk starts with its length
  ASSERT_NE(png.find("IDAT"), std::string::npos);
  // Length 0, "IDAT", and the CRC of "IDAT" alone.
  const std::string empty("\0\0\0\0IDAT\x35\xAF\x06\x1E", 12);
  const std::string patched = png.substr(0, idat) + empty + png.substr(idat);
  const RgbaImage decoded = DecodeImage({patched.begin(), patched.end()}, "patched.png");
  ASSERT_EQ(decoded.width, 4);
  ASSERT_EQ(decoded.height, 3);
  EXPECT_EQ(decoded.pixels, source.pixels);
  // A chunk claiming more bytes than the file holds is refused, not read past the end.
  const std::string cut = png.substr(0, idat + 8);
  EXPECT_THROW(DecodeImage({cut.begin(), cut.end()}, "cut.png"), DeviceError);
}

void PutBig32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

std::string Chunk(const std::string& type, const std::string& body) {
  std::string chunk;
  PutBig32(chunk, static_cast<uint32_t>(body.size()));
  chunk += type + body;
  const std::string crc_over = type + body;
  PutBig32(chunk, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(crc_over.data()),
                                              static_cast<uInt>(crc_over.size()))));
  return chunk;
}

// A PNG of black pixels with `raw_bytes` of filtered image data: right when it is what the
// header's layout needs.
std::string LayoutPng(uint32_t w, uint32_t h, char depth, char colour, char interlace,
                      size_t raw_bytes) {
  std::string header;
  PutBig32(header, w);
  PutBig32(header, h);
  header += std::string{depth, colour, 0, 0, interlace};
  const std::string raw(raw_bytes, '\0');
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packed_size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
           reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
  packed.resize(packed_size);
  const std::string palette = colour == 3 ? Chunk("PLTE", std::string(3, '\0')) : "";
  return "\x89PNG\r\n\x1A\n" + Chunk("IHDR", header) + palette + Chunk("IDAT", packed) +
         Chunk("IEND", "");
}

// The pack's pictures are checked before they are drawn: the decoder reads no checksum, so a
// damaged byte anywhere would reach the screen.
TEST(TextureImage, AFlippedByteAnywhereIsRefused) {
  const char* root = std::getenv("VEXLUM_SOURCE_DIR");
  const std::string png =
      test::TempDir::Read(std::string(root ? root : ".") + "/assets/scenery.png");
  ASSERT_NO_THROW(DecodeImage({png.begin(), png.end()}, "scenery.png"));
  for (size_t at = 8; at < png.size(); at += 4099) {
    std::string damaged = png;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    EXPECT_THROW(DecodeImage({damaged.begin(), damaged.end()}, "damaged"), DeviceError) << at;
  }
}

// What the image data must inflate to, for every layout a PNG may have: one byte more or less
// than that is refused.
TEST(TextureImage, ImageDataMustFillTheHeadersLayoutExactly) {
  const struct {
    uint32_t w, h;
    char depth, colour, interlace;
    size_t raw;
  } layouts[] = {
      {5, 3, 8, 6, 0, 3 * (1 + 20)},   // RGBA
      {5, 3, 16, 2, 0, 3 * (1 + 30)},  // 16-bit RGB
      {13, 2, 1, 0, 0, 2 * (1 + 2)},   // 1-bit grey: rows end on a partial byte
      {3, 1, 4, 3, 0, 1 + 2},          // 4-bit palette
      // Adam7 on 9 x 9 grey and alpha (2 bytes a pixel): passes of 2x2, 1x2, 3x1, 2x3,
      // 5x2, 4x5 and 9x4 pixels.
      {9, 9, 8, 4, 1, 2 * 5 + 2 * 3 + 1 * 7 + 3 * 5 + 2 * 11 + 5 * 9 + 4 * 19},
      // Adam7 on a 1 x 1 picture: only the first pass has pixels.
      {1, 1, 8, 0, 1, 2},
  };
  for (const auto& l : layouts) {
    const std::string right = LayoutPng(l.w, l.h, l.depth, l.colour, l.interlace, l.raw);
    const RgbaImage image = DecodeImage({right.begin(), right.end()}, "right");
    EXPECT_EQ(image.width, static_cast<int>(l.w));
    EXPECT_EQ(image.height, static_cast<int>(l.h));
    for (size_t raw : {l.raw - 1, l.raw + 1}) {
      const std::string wrong = LayoutPng(l.w, l.h, l.depth, l.colour, l.interlace, raw);
      EXPECT_THROW(DecodeImage({wrong.begin(), wrong.end()}, "wrong"), DeviceError)
          << l.w << "x" << l.h << " with " << raw << " bytes";
    }
  }
}

}  // namespace
}  // namespace vx
