#include "startup/preview_geometry.h"

#include <algorithm>

#include "core/numbers.h"

namespace vx {
namespace {
int16_t Twips(int32_t pixels, float twips_per_pixel) {
  const double twips = static_cast<double>(pixels) * static_cast<double>(twips_per_pixel);
  return ToInt16(std::clamp(twips, -32768.0, 32767.0)).value_or(0);
}
}  // namespace

PreviewGeometry ComputePreviewGeometry(const WindowRect& host, float tppx, float tppy) {
  PreviewGeometry g;
  g.width_twips = Twips(host.right - host.left, tppx);
  g.height_twips = Twips(host.bottom - host.top, tppy);
  g.image_width = static_cast<float>(g.width_twips) / tppx;
  g.image_height = static_cast<float>(g.height_twips) / tppy;
  return g;
}

}  // namespace vx
