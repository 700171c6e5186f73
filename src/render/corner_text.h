// A few short lines of text in the bottom-left corner, over the picture: the frame-rate and
// CPU display. Drawn from a small built-in pixel font as untextured squares, so it needs no
// font file and looks the same on every device.
#pragma once

#include <string_view>
#include <vector>

#include "ports/device.h"

namespace vx {

// The screen-space triangles (a list) for `text` ('\n' between lines) in the corner of the
// viewport: a dark backing box, then the lit runs of each glyph row. Characters the font does
// not have are drawn as blanks.
std::vector<ScreenVertex> CornerTextTriangles(std::string_view text, const D3DViewport& viewport);

// Draws the text with depth testing off and no texture, then turns depth testing back on for
// the frame that follows.
void DrawCornerText(Device& device, std::string_view text);

}  // namespace vx
