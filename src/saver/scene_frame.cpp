#include "saver/scene_frame.h"

#include "render/corner_text.h"
#include "render/device_setup.h"

namespace vx {

SceneSettings SceneSettingsOf(const Settings& s) {
  return {s.time_step, s.glyph_width, s.glyph_height, s.column_limit};
}

SceneFrame::SceneFrame(Device& device, Random& random, const SceneSettings& settings,
                       const std::string& image_file, std::string title_text)
    : device_(device),
      random_(random),
      settings_(settings),
      scene_(std::move(title_text)),
      camera_(scene_.view),
      scheduler_(scene_),
      glyph_canvas_{device, projection_},
      title_context_{settings.time_step, random, settings.glyph_width, settings.glyph_height},
      title_canvas_{device} {
  SetUpDevice(device_, render_, scene_.view.eye, scene_.view.target, image_file);
  glyph_canvas_.layer1 = render_.glyph_layer1.get();
  glyph_canvas_.layer2 = render_.glyph_layer2.get();
  glyph_canvas_.glyph_width = settings.glyph_width;
  glyph_canvas_.glyph_height = settings.glyph_height;
  title_canvas_.row_layer1 = render_.title_row_layer1.get();
  title_canvas_.row_layer2 = render_.glyph_layer1.get();
  title_canvas_.random_glyph = render_.title_random_glyph.get();
  title_canvas_.real_glyph = render_.title_real_glyph.get();
  title_canvas_.glyph_width = settings.glyph_width;
  title_canvas_.glyph_height = settings.glyph_height;
}

void SceneFrame::Draw() {
  Viewpoint& view = scene_.view;
  camera_.Advance(view, settings_.time_step, random_);

  BuildViewMatrix(render_.view, view.eye, view.target);
  device_.SetTransform(D3DTS_VIEW, render_.view);
  const D3DViewport viewport = device_.GetViewport();
  projection_.Prepare(viewport, render_.projection, render_.view, render_.world);
  // The title lays out on the surface actually drawn, which a host's window may resize.
  title_context_.screen_width = static_cast<int32_t>(viewport.Width);
  title_context_.screen_height = static_cast<int32_t>(viewport.Height);

  device_.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  device_.BeginScene();

  if (scheduler_.Advance(scene_, settings_, random_) && title_.phase == TitlePhase::kIdle)
    title_.Start(scene_.pending_titles, title_context_);

  for (GlyphColumn& column : scene_.columns) column.Update(view, settings_, random_);

  // 32-bit indexes throughout: scenes may hold more columns than a 16-bit counter can count.
  draw_order_.Clear();
  for (int32_t i = 0; i < scene_.ColumnCount(); ++i) draw_order_.Append(i);
  OrderBackToFront(scene_.columns, draw_order_, view.eye.z - view.target.z, keys_, order_);
  for (int32_t index : order_) scene_.columns[static_cast<size_t>(index)].Draw(glyph_canvas_);
  draw_order_.Clear();

  // Flat title objects go over the columns, in screen space.
  if (title_.phase != TitlePhase::kIdle) title_.Step(title_context_, title_canvas_);
  if (!corner_text_.empty()) DrawCornerText(device_, corner_text_);

  device_.EndScene();
  device_.Present();
}

}  // namespace vx
