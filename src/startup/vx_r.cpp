#include "startup/vx_r.h"

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
  g.WidthTwips = Twips(host.right - host.left, tppx);
  g.HeightTwips = Twips(host.bottom - host.top, tppy);
  g.ImageWidth = static_cast<float>(g.WidthTwips) / tppx;
  g.ImageHeight = static_cast<float>(g.HeightTwips) / tppy;
  return g;
}

}  // namespace vx
