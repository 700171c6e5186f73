#include "platform/linux/gl_texture.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <algorithm>

namespace vx {

GlTexture::Object::~Object() {
  if (device_alive && *device_alive) glDeleteTextures(1, &name);
}

RgbaImage GlTexture::ReadLevel(int level) const {
  RgbaImage image;
  image.width = std::max(1, Width() >> level);
  image.height = std::max(1, Height() >> level);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 4);
  GLint previous = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  glBindTexture(GL_TEXTURE_2D, Name());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  return image;
}

std::vector<RgbaImage> DecodeMipChain(const std::vector<uint8_t>& bytes, const std::string& file,
                                      const TextureLoadOptions& options) {
  RgbaImage image = DecodeImage(bytes, file);
  const auto pick = [](uint32_t wanted, int own) {
    return wanted == 0 || wanted == 0xFFFFFFFFu ? own : static_cast<int>(wanted);
  };
  const int w = pick(options.width, image.width);
  const int h = pick(options.height, image.height);
  if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide)
    throw DeviceError("texture size out of range for " + file);
  if (w != image.width || h != image.height) image = ScaleNearest(image, w, h);
  std::vector<RgbaImage> chain = PointMipChain(std::move(image));
  if (options.mip_levels > 0 && static_cast<size_t>(options.mip_levels) < chain.size())
    chain.resize(static_cast<size_t>(options.mip_levels));
  return chain;
}

std::shared_ptr<GlTexture::Object> UploadMipChain(const std::vector<RgbaImage>& chain,
                                                  std::shared_ptr<bool> device_alive) {
  auto object = std::make_shared<GlTexture::Object>();
  object->width = chain.front().width;
  object->height = chain.front().height;
  object->levels = static_cast<int>(chain.size());
  object->device_alive = std::move(device_alive);
  glGenTextures(1, &object->name);
  glBindTexture(GL_TEXTURE_2D, object->name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (size_t level = 0; level < chain.size(); ++level) {
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8, chain[level].width,
                 chain[level].height, 0, GL_RGBA, GL_UNSIGNED_BYTE, chain[level].pixels.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, object->levels - 1);
  return object;
}

}  // namespace vx
