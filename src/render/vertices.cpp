#include "render/vertices.h"

#include <cstdio>

namespace vx {
namespace {
std::string Hex(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", static_cast<uint32_t>(v));
  return buf;
}
}  // namespace

int32_t PackColourByText(int32_t opacity, int32_t colour) {
  return HexToLong(Hex(opacity) + Hex(colour));
}

}  // namespace vx
