#include "controls/picture_button.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

struct RecordingSurface : PictureButtonSurface {
  std::vector<FacePicture> faces;
  bool caption_enabled = true;
  int32_t colour = -1;
  std::string caption;
  void Paint(const FaceDrawing& f) override { faces.push_back(f.picture); }
  void SetCaptionEnabled(bool e) override { caption_enabled = e; }
  void SetCaption(const std::string& t) override { caption = t; }
  void SetCaptionColour(int32_t c) override { colour = c; }
  void SetCaptionFont(const FontSpec&) override {}
  void StartHoverTimer(int) override {}
};

class PictureButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.ReadProperties({{"Caption", "設定"}}, FontSpec{});
    button.Resize(1395, 375, 93, 25);
    button.Initialize();
    button.on_click = [this] { ++clicks; };
    surface.faces.clear();
  }
  RecordingSurface surface;
  PictureButton button{surface};
  int clicks = 0;
};

TEST_F(PictureButtonTest, FirstClickOnUnfocusedButtonClicksOnceAndEndsHighlightSelected) {
  button.MouseMove();
  button.GotFocus();
  button.MouseDown(MouseButton::kLeft);
  button.MouseUp(MouseButton::kLeft);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.State(), 4);
  EXPECT_EQ(button.MouseIsDown(), PictureButton::kFalse);
  EXPECT_EQ(surface.faces,
            (std::vector<FacePicture>{FacePicture::kHighlight, FacePicture::kPressed,
                                      FacePicture::kPressed, FacePicture::kHighlightSelected}));
}

TEST_F(PictureButtonTest, PressDraggedOffIsCancelled) {
  button.GotFocus();  // focused: state 3
  button.MouseMove();
  ASSERT_EQ(button.State(), 4);
  button.MouseDown(MouseButton::kLeft);
  button.HoverTick(WindowUnderCursor::kParentForm);
  EXPECT_EQ(button.State(), 3);
  EXPECT_EQ(surface.faces.back(), FacePicture::kSelected);
  button.MouseMove();  // coming back with the button still down does not restore hover
  EXPECT_EQ(button.State(), 3);
  button.MouseUp(MouseButton::kLeft);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(surface.faces.back(), FacePicture::kSelected);
}

TEST_F(PictureButtonTest, OtherButtonsClickExceptInSelectedState) {
  button.MouseUp(MouseButton::kRight);  // state 1
  button.MouseMove();                   // 2
  button.MouseUp(MouseButton::kMiddle);
  button.GotFocus();  // 4
  button.MouseUp(MouseButton::kRight);
  EXPECT_EQ(clicks, 3);
  button.HoverTick(WindowUnderCursor::kOther);  // 3
  ASSERT_EQ(button.State(), 3);
  button.MouseUp(MouseButton::kRight);
  EXPECT_EQ(clicks, 3);
  button.MouseDown(MouseButton::kRight);  // no press look for other buttons
  EXPECT_EQ(button.MouseIsDown(), PictureButton::kFalse);
}

TEST_F(PictureButtonTest, LeftReleaseInHoverDrawsNormalAndPollingRestoresIdle) {
  button.MouseMove();
  button.MouseDown(MouseButton::kLeft);
  button.MouseUp(MouseButton::kLeft);
  EXPECT_EQ(surface.faces.back(), FacePicture::kNormal);
  EXPECT_EQ(button.State(), 2);
  EXPECT_TRUE(button.GradientReversed());
  button.HoverTick(WindowUnderCursor::kControl);
  EXPECT_EQ(button.State(), 2);
  button.HoverTick(WindowUnderCursor::kOther);
  EXPECT_EQ(button.State(), 1);
  EXPECT_FALSE(button.GradientReversed());
  button.GotFocus();
  button.LostFocus();
  EXPECT_EQ(button.State(), 1);
}

TEST_F(PictureButtonTest, DisabledButtonIgnoresEverythingButKeepsState) {
  button.MouseMove();
  button.SetEnabled(false);
  EXPECT_EQ(surface.faces.back(), FacePicture::kDisabled);
  EXPECT_FALSE(surface.caption_enabled);
  surface.faces.clear();
  button.MouseMove();
  button.MouseDown(MouseButton::kLeft);
  button.MouseUp(MouseButton::kLeft);
  button.MouseUp(MouseButton::kRight);
  button.GotFocus();
  button.LostFocus();
  button.HoverTick(WindowUnderCursor::kOther);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(surface.faces.empty());
  EXPECT_EQ(button.State(), 2);
  button.SetEnabled(true);
  EXPECT_EQ(surface.faces.back(), FacePicture::kNormal);
  EXPECT_EQ(button.State(), 2);
}

TEST_F(PictureButtonTest, BeforeInitializeHoverIsNotShownButFocusIs) {
  RecordingSurface s;
  PictureButton fresh(s);
  fresh.ReadProperties({}, FontSpec{});
  fresh.MouseMove();
  EXPECT_EQ(fresh.State(), 0);
  fresh.GotFocus();
  EXPECT_EQ(fresh.State(), 3);
  EXPECT_FALSE(fresh.HoverTimerRunning());
}

TEST(PictureButton, GeometrySmallButtonKeepsFourPixelCorners) {
  auto s = PictureButton::SliceGeometry(435, 315);
  // MW = 315, MH = 195
  EXPECT_EQ(s[1].dest_width, 315);
  EXPECT_EQ(s[3].dest_height, 195);
  EXPECT_EQ(s[2].dest_left, 375);
  EXPECT_EQ(s[4].dest_left, 375);
  EXPECT_EQ(s[4].dest_top, 255);
  for (const Slice& c : {s[0], s[2], s[4], s[6]}) {
    EXPECT_EQ(c.dest_width, 60);
    EXPECT_EQ(c.dest_height, 60);
    EXPECT_EQ(c.src_width, 60);
  }
  EXPECT_EQ(s[7].src_left, 1);
  EXPECT_EQ(s[7].src_height, 255);
  EXPECT_EQ(s[5].src_top, 315);
}

TEST(PictureButton, GradientColoursAreRedGreenBlueTimes256) {
  RecordingSurface s;
  PictureButton b(s);
  b.ReadProperties({}, FontSpec{});
  b.Resize(1395, 375, 93, 25);
  const FaceDrawing& f = b.LastFace();
  EXPECT_EQ(f.top.red, 0xFF00);
  EXPECT_EQ(f.bottom.red, 198 * 256);
  EXPECT_EQ(f.bottom.green, 197 * 256);
  EXPECT_EQ(f.bottom.blue, 215 * 256);
  EXPECT_EQ(f.bottom.x, 92);
  EXPECT_EQ(f.bottom.y, 24);
  EXPECT_EQ(f.caption_top, 80);  // (375 - 195 - 20) / 2
}

TEST(PictureButton, PropertiesDefaultsAndTheCommandCaptionQuirk) {
  RecordingSurface s;
  PictureButton b(s);
  b.ReadProperties({}, FontSpec{});
  EXPECT_EQ(b.GetCaption(), "Command1");
  EXPECT_EQ(b.Enabled(), PictureButton::kTrue);
  EXPECT_EQ(b.FirstRun(), 1);

  b.SetCaption("Command");
  b.SetVisible(0);
  PropertyBag bag;
  b.WriteProperties(bag, FontSpec{});
  EXPECT_EQ(bag.count("Caption"), 0u);  // equal to the stored default, so left out
  EXPECT_EQ(bag.at("Visible"), "0");
  EXPECT_EQ(bag.count("Enabled"), 0u);

  PictureButton again(s);
  again.ReadProperties(bag, FontSpec{});
  EXPECT_EQ(again.GetCaption(), "Command1");
  EXPECT_EQ(again.GetVisible(), 0);
  again.SetVisible(7);
  EXPECT_EQ(again.GetVisible(), 255);
  EXPECT_TRUE(again.LastFace().opaque);

  FontSpec big{"IPAGothic", 12, true, false, 128};
  again.SetFont(big);
  again.SetFontColour(0x0000FF);
  PropertyBag bag2;
  again.WriteProperties(bag2, FontSpec{});
  PictureButton third(s);
  third.ReadProperties(bag2, FontSpec{});
  EXPECT_EQ(third.GetFont(), big);
  EXPECT_EQ(third.GetFontColour(), 0x0000FF);
}

TEST(PictureButton, PropertiesFreshControlComesAliveOnFirstEnabledRead) {
  RecordingSurface s;
  PictureButton b(s);  // placed without stored properties
  EXPECT_EQ(b.Enabled(), PictureButton::kFalse);
  EXPECT_EQ(b.FirstRun(), 0);
  b.GetEnabled();
  EXPECT_EQ(b.Enabled(), PictureButton::kTrue);
  EXPECT_EQ(b.FirstRun(), 1);
  EXPECT_EQ(s.faces.back(), FacePicture::kNormal);
}

TEST(PictureButton, PropertiesUnreadableStoredValuesKeepThePreviousOnes) {
  RecordingSurface s;
  PictureButton b(s);
  b.ReadProperties({{"Enabled", "maybe"}, {"FirstRun", "300"}, {"Font", "garbage"}}, FontSpec{});
  EXPECT_EQ(b.Enabled(), PictureButton::kFalse);
  EXPECT_EQ(b.FirstRun(), 0);
  EXPECT_EQ(b.GetFont(), FontSpec{});
  b.ReadProperties({{"Enabled", "0"}}, FontSpec{});
  EXPECT_EQ(s.faces.size(), 0u);  // a disabled control's caption refresh draws nothing
}

}  // namespace
}  // namespace vx
