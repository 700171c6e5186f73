// Textures of the OpenGL device: the images Direct3D's texture loader makes of a file, as GL
// textures that slots loaded from the same bytes share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/texture_image.h"
#include "ports/device.h"

namespace vx {

// What CreateTextureFromFileEx returns on the OpenGL device.
class GlTexture final : public Texture {
 public:
  // A GL texture name; slots loaded from the same bytes share one.
  struct Object {
    unsigned name = 0;
    int width = 0, height = 0, levels = 0;
    // False once the device is gone: its context may be too, so the name is left alone.
    std::shared_ptr<bool> device_alive;
    ~Object();
  };

  explicit GlTexture(std::shared_ptr<Object> object) : object_(std::move(object)) {}
  unsigned Name() const { return object_->name; }
  int Width() const { return object_->width; }
  int Height() const { return object_->height; }
  int Levels() const { return object_->levels; }
  // The texels of one mip level, rows top to bottom. The device's context must be current.
  RgbaImage ReadLevel(int level) const;

 private:
  std::shared_ptr<Object> object_;
};

// The levels the loader makes of an image file's bytes: the picture at the size asked for
// (0 and D3DX_DEFAULT take the file's own) by nearest scaling, then its point-filtered mip
// chain, cut to the number of levels asked for. Throws DeviceError when the bytes are no
// image or the size is out of range.
std::vector<RgbaImage> DecodeMipChain(const std::vector<uint8_t>& bytes, const std::string& file,
                                      const TextureLoadOptions& options);

// Uploads `chain` into a new GL texture, which is left bound to GL_TEXTURE_2D on the active
// texture unit. The context must be current.
std::shared_ptr<GlTexture::Object> UploadMipChain(const std::vector<RgbaImage>& chain,
                                                  std::shared_ptr<bool> device_alive);

}  // namespace vx
