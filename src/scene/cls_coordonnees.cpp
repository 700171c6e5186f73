#include "scene/cls_coordonnees.h"

namespace vx {

void ClsCoordonnees::Enlever(int32_t Index) {
  if (Index < 1 || Index > TotalElements()) return;
  elements_.erase(elements_.begin() + (Index - 1));
}

}  // namespace vx
