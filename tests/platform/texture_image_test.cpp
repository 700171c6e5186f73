// PNG decoding as the texture loaders and the pack check use it.
#include "platform/common/texture_image.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vx
