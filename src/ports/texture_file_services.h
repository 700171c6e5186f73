// What the saver's image files need from the platform: a private folder of its own for each
// run, the reclaiming of folders that crashed runs left behind, a check that a pack's image
// really is the picture the saver expects, and the writing of a picture (the screenshot).
#pragma once

#include <string>
#include <string_view>

#include "core/rgba_image.h"

namespace vx {

class TextureFileServices {
 public:
  virtual ~TextureFileServices() = default;
  // A new folder that only this user can enter, marked as in use for as long as this process
  // lives (or until ReleaseRunFolder); "" when none could be made.
  virtual std::string MakeRunFolder() = 0;
  // Ends the mark and removes the folder when it is empty.
  virtual void ReleaseRunFolder(const std::string& folder) = 0;
  // Removes the run folders, and the images in them, of runs that ended without cleaning up
  // (a killed process). Folders of runs still alive, and files the saver did not make, stay.
  virtual void ReclaimAbandonedRunFolders() = 0;
  // True when the bytes are an image of exactly width x height that the texture loader
  // decodes. The size is read before anything is decoded.
  virtual bool ImageDecodes(std::string_view bytes, int width, int height) = 0;
  // Writes the picture as a PNG file named in UTF-8; false when it cannot be written.
  virtual bool WritePng(const RgbaImage& image, const std::string& file) = 0;
};

}  // namespace vx
