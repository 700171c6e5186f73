#include "platform/windows/win32_dialog_pictures.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/windows/gdi_bitmap_info.h"

#define VEXLUM_PICTURE(symbol)         \
  extern const unsigned char symbol[]; \
  extern const unsigned long symbol##Size;
VEXLUM_PICTURE(kButtonNormalPng)
VEXLUM_PICTURE(kButtonHighlightPng)
VEXLUM_PICTURE(kButtonHighlightSelectPng)
VEXLUM_PICTURE(kButtonSelectedPng)
VEXLUM_PICTURE(kButtonPressedPng)
VEXLUM_PICTURE(kButtonDisablePng)
VEXLUM_PICTURE(kRadioOnPng)
VEXLUM_PICTURE(kRadioOffPng)
VEXLUM_PICTURE(kBallPng)
#undef VEXLUM_PICTURE

namespace vx {
namespace {

RgbaImage Decode(const unsigned char* bytes, unsigned long size) {
  try {
    return DecodeImage(std::vector<uint8_t>(bytes, bytes + size), "dialog picture");
  } catch (const std::exception&) {
    return {};  // a picture built in cannot be damaged; an empty one draws nothing
  }
}

}  // namespace

const RgbaImage& FacePictureImage(FacePicture picture) {
  static const RgbaImage images[] = {
      Decode(kButtonNormalPng, kButtonNormalPngSize),
      Decode(kButtonHighlightPng, kButtonHighlightPngSize),
      Decode(kButtonHighlightSelectPng, kButtonHighlightSelectPngSize),
      Decode(kButtonSelectedPng, kButtonSelectedPngSize),
      Decode(kButtonPressedPng, kButtonPressedPngSize),
      Decode(kButtonDisablePng, kButtonDisablePngSize),
  };
  return images[static_cast<int>(picture)];
}

const RgbaImage& RadioOnImage() {
  static const RgbaImage image = Decode(kRadioOnPng, kRadioOnPngSize);
  return image;
}

const RgbaImage& RadioOffImage() {
  static const RgbaImage image = Decode(kRadioOffPng, kRadioOffPngSize);
  return image;
}

const RgbaImage& BallImage() {
  static const RgbaImage image = Decode(kBallPng, kBallPngSize);
  return image;
}

void DrawRgba(void* dc, const RgbaImage& image, int x, int y, int width, int height, int src_x,
              int src_y, int src_width, int src_height) {
  // The source part is copied out first: the whole of a bitmap is the one rectangle every
  // StretchDIBits reads the same way, whatever the direction of its rows.
  src_x = std::clamp(src_x, 0, image.width);
  src_y = std::clamp(src_y, 0, image.height);
  src_width = std::min(src_width, image.width - src_x);
  src_height = std::min(src_height, image.height - src_y);
  if (src_width <= 0 || src_height <= 0 || width <= 0 || height <= 0) return;
  std::vector<uint8_t> bgra(static_cast<size_t>(src_width) * src_height * 4);
  for (int row = 0; row < src_height; ++row)
    for (int col = 0; col < src_width; ++col) {
      const uint8_t* from =
          &image.pixels[(static_cast<size_t>(src_y + row) * image.width + src_x + col) * 4];
      uint8_t* to = &bgra[(static_cast<size_t>(row) * src_width + col) * 4];
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
      to[3] = 0;
    }
  BITMAPINFO info = TopDownBitmapInfo(src_width, src_height);
  HDC target = static_cast<HDC>(dc);
  SetStretchBltMode(target, COLORONCOLOR);
  StretchDIBits(target, x, y, width, height, 0, 0, src_width, src_height, bgra.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

void BlendRgba(void* dc, const RgbaImage& image, int x, int y, int width, int height) {
  if (image.width <= 0 || image.height <= 0) return;
  BITMAPINFO info = TopDownBitmapInfo(image.width, image.height);
  void* bits = nullptr;
  HDC target = static_cast<HDC>(dc);
  HDC memory = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(memory);
    return;
  }
  // AlphaBlend takes colours already multiplied by their alpha.
  auto* to = static_cast<uint8_t*>(bits);
  for (size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
    const unsigned alpha = image.pixels[i + 3];
    to[i] = static_cast<uint8_t>(image.pixels[i + 2] * alpha / 255);
    to[i + 1] = static_cast<uint8_t>(image.pixels[i + 1] * alpha / 255);
    to[i + 2] = static_cast<uint8_t>(image.pixels[i] * alpha / 255);
    to[i + 3] = static_cast<uint8_t>(alpha);
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(target, x, y, width, height, memory, 0, 0, image.width, image.height, blend);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace vx
