// The 3D scene's state: the columns, the point of view, the event script with its cursor and
// the title texts the script has queued. The objects that change it each frame (camera,
// scheduler) and draw it live with the frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/random.h"
#include "scene/event_script.h"
#include "scene/glyph_column.h"
#include "scene/title_queue.h"
#include "scene/viewpoint.h"

namespace vx {

class Scene {
 public:
  // The script starts with its one built-in event: show `title_text` every 1500 steps.
  explicit Scene(std::string title_text = "");

  std::vector<GlyphColumn> columns;  // never removed; each re-seeds itself
  Viewpoint view;
  EventScript script;
  TitleQueue pending_titles;

  // Appends one new column (which draws its own random start).
  void AddColumn(Random& random) { columns.emplace_back(view, random); }
  int32_t ColumnCount() const { return static_cast<int32_t>(columns.size()); }
};

}  // namespace vx
