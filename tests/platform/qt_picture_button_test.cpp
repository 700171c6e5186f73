// The picture button's Qt face: the state picture's slices over the gradient the control asks for.
#include "platform/linux/qt_picture_button.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "platform/offscreen_app.h"

namespace vx {
namespace {

TEST(QtPictureButton, PaintsTheStatePictureOverTheGradientAndHoverFlipsIt) {
  test::OffscreenApp();
  // The slices' source rectangles assume every state picture is 64 x 25.
  for (const char* state :
       {"normal", "highlight", "highlight_select", "selected", "pressed", "disable"})
    EXPECT_EQ(QImage(QString(":/assets/button_%1.png").arg(state)).size(), QSize(64, 25)) << state;

  QtPictureButton button({{"Caption", "設定"}}, nullptr);
  button.resize(93, 25);
  button.show();  // a hidden widget gets its size only when shown
  button.Button().Initialize();
  const QImage normal(":/assets/button_normal.png");
  const QImage& face = button.Face();
  EXPECT_EQ(face.pixelColor(2, 0), normal.pixelColor(2, 0));               // top edge slice
  EXPECT_EQ(face.pixelColor(90, 23), normal.pixelColor(61, 23));           // bottom right corner
  EXPECT_GT(face.pixelColor(40, 5).red(), face.pixelColor(40, 20).red());  // light to lavender
  EXPECT_EQ(button.CaptionLabel()->text(), "設定");
  button.Button().MouseMove();
  EXPECT_LT(button.Face().pixelColor(40, 5).red(), button.Face().pixelColor(40, 20).red());
}

}  // namespace
}  // namespace vx
