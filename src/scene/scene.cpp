#include "scene/scene.h"

namespace vx {

Scene::Scene(std::string title_text) {
  script.Append("txt", std::move(title_text), "1500");
}

}  // namespace vx
