// Where the settings dialog stands on the screen, and the shading of its panels.
#pragma once

#include <cstdint>
#include <vector>

namespace vx {

// The dialog's position (left, top) in the same unit as its arguments: centred across,
// a third of the free height above.
struct DialogPlacement {
  int32_t left, top;
};
DialogPlacement PlaceDialog(double screen_width, double screen_height, double form_width,
                            double form_height);

// The panels' metallic half-sine: the grey of each drawn line, from the top edge (y = 0) to
// the panel's height rounded, both in the panel's own unit.
std::vector<uint8_t> PanelGradientLines(double height);

}  // namespace vx
