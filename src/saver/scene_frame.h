// The saver's picture: the scene with the objects that change and draw it frame by frame
// (camera, scheduler, draw order, title), on a device set up for it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/random.h"
#include "ports/device.h"
#include "render/render_state.h"
#include "render/screen_projection.h"
#include "scene/camera.h"
#include "scene/draw_order.h"
#include "scene/event_scheduler.h"
#include "scene/glyph_canvas.h"
#include "scene/scene.h"
#include "scene/scene_settings.h"
#include "settings/settings.h"
#include "title/title_canvas.h"
#include "title/title_context.h"
#include "title/title_sequence.h"

namespace vx {

// What the scene and the title read of the settings.
SceneSettings SceneSettingsOf(const Settings& settings);

class SceneFrame {
 public:
  // Sets the device up (fixed states, the three matrices, the atlas `image_file` in every
  // texture slot) for an empty scene whose one event shows `title_text`. Throws DeviceError
  // when the atlas cannot be loaded. The device and the generator must outlive the frame.
  SceneFrame(Device& device, Random& random, const SceneSettings& settings,
             const std::string& image_file, std::string title_text = "");
  SceneFrame(const SceneFrame&) = delete;
  SceneFrame& operator=(const SceneFrame&) = delete;

  // One drawn frame: moves the camera, sets the view, clears, advances the scheduler (and
  // starts the title when an event asks for it and it is idle), updates every column, draws
  // the columns back to front, steps the title over them and presents.
  void Draw();
  // Text drawn over every frame in a corner (the frame-rate display); "" for none.
  void SetCornerText(std::string text) { corner_text_ = std::move(text); }

  Scene& GetScene() { return scene_; }
  const RenderState& Render() const { return render_; }
  Camera& GetCamera() { return camera_; }
  EventScheduler& Scheduler() { return scheduler_; }
  const TitleSequence& Title() const { return title_; }
  // Column indexes in the order the last frame drew them.
  const std::vector<int32_t>& DrawnOrder() const { return order_; }

 private:
  Device& device_;
  Random& random_;
  SceneSettings settings_;
  Scene scene_;
  RenderState render_;
  Camera camera_;
  EventScheduler scheduler_;
  DrawOrder draw_order_;
  TitleSequence title_;
  ScreenProjection projection_;
  GlyphCanvas glyph_canvas_;
  TitleContext title_context_;
  TitleCanvas title_canvas_;
  std::vector<DepthKey> keys_;  // scratch, reused from frame to frame
  std::vector<int32_t> order_;
  std::string corner_text_;
};

}  // namespace vx
