#include "settings_dialog/dialog_layout.h"

#include <cmath>

#include "core/numbers.h"

namespace vx {

DialogPlacement PlaceDialog(double screen_width, double screen_height, double form_width,
                            double form_height) {
  return {Round32(screen_width - form_width) / 2, Round32(screen_height - form_height) / 3};
}

std::vector<uint8_t> PanelGradientLines(double height) {
  std::vector<uint8_t> lines;
  const double k = height / 3.142;
  const int16_t last = ToInt16(height).value_or(0);
  for (int32_t y = 0; y <= last; ++y) {
    const int16_t v = ToInt16(std::fabs(220 * std::sin(y / k))).value_or(0);
    lines.push_back(static_cast<uint8_t>(v + 30));
  }
  return lines;
}

}  // namespace vx
