#include "controls/command.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

struct RecordingSurface : CommandSurface {
  std::vector<FacePicture> faces;
  bool caption_enabled = true;
  int32_t colour = -1;
  std::string caption;
  void Paint(const FaceDrawing& f) override { faces.push_back(f.Picture); }
  void SetCaptionEnabled(bool e) override { caption_enabled = e; }
  void SetCaption(const std::string& t) override { caption = t; }
  void SetCaptionColour(int32_t c) override { colour = c; }
  void SetCaptionFont(const FontSpec&) override {}
  void StartHoverTimer(int) override {}
};

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.ReadProperties({{"Caption", "設定"}}, FontSpec{});
    button.Resize(1395, 375, 93, 25);
    button.Initialize();
    button.Click = [this] { ++clicks; };
    surface.faces.clear();
  }
  RecordingSurface surface;
  Command button{surface};
  int clicks = 0;
};

TEST_F(CommandTest, FirstClickOnUnfocusedButtonClicksOnceAndEndsHighlightSelected) {
  button.MouseMove();
  button.GotFocus();
  button.MouseDown(MouseButton::Left);
  button.MouseUp(MouseButton::Left);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.State(), 4);
  EXPECT_EQ(button.MouseIsDown(), Command::kFalse);
  EXPECT_EQ(surface.faces,
            (std::vector<FacePicture>{FacePicture::HighLight, FacePicture::Pressed,
                                      FacePicture::Pressed, FacePicture::HighLightSelect}));
}

TEST_F(CommandTest, PressDraggedOffIsCancelled) {
  button.GotFocus();  // focused: state 3
  button.MouseMove();
  ASSERT_EQ(button.State(), 4);
  button.MouseDown(MouseButton::Left);
  button.HoverTick(WindowUnderCursor::ParentForm);
  EXPECT_EQ(button.State(), 3);
  EXPECT_EQ(surface.faces.back(), FacePicture::Selected);
  button.MouseMove();  // coming back with the button still down does not restore hover
  EXPECT_EQ(button.State(), 3);
  button.MouseUp(MouseButton::Left);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(surface.faces.back(), FacePicture::Selected);
}

TEST_F(CommandTest, OtherButtonsClickExceptInSelectedState) {
  button.MouseUp(MouseButton::Right);  // state 1
  button.MouseMove();                  // 2
  button.MouseUp(MouseButton::Middle);
  button.GotFocus();  // 4
  button.MouseUp(MouseButton::Right);
  EXPECT_EQ(clicks, 3);
  button.HoverTick(WindowUnderCursor::Other);  // 3
  ASSERT_EQ(button.State(), 3);
  button.MouseUp(MouseButton::Right);
  EXPECT_EQ(clicks, 3);
  button.MouseDown(MouseButton::Right);  // no press look for other buttons
  EXPECT_EQ(button.MouseIsDown(), Command::kFalse);
}

TEST_F(CommandTest, LeftReleaseInHoverDrawsNormalAndPollingRestoresIdle) {
  button.MouseMove();
  button.MouseDown(MouseButton::Left);
  button.MouseUp(MouseButton::Left);
  EXPECT_EQ(surface.faces.back(), FacePicture::Normal);
  EXPECT_EQ(button.State(), 2);
  EXPECT_TRUE(button.GradientReversed());
  button.HoverTick(WindowUnderCursor::Control);
  EXPECT_EQ(button.State(), 2);
  button.HoverTick(WindowUnderCursor::Other);
  EXPECT_EQ(button.State(), 1);
  EXPECT_FALSE(button.GradientReversed());
  button.GotFocus();
  button.LostFocus();
  EXPECT_EQ(button.State(), 1);
}

TEST_F(CommandTest, DisabledButtonIgnoresEverythingButKeepsState) {
  button.MouseMove();
  button.SetEnabled(false);
  EXPECT_EQ(surface.faces.back(), FacePicture::Disable);
  EXPECT_FALSE(surface.caption_enabled);
  surface.faces.clear();
  button.MouseMove();
  button.MouseDown(MouseButton::Left);
  button.MouseUp(MouseButton::Left);
  button.MouseUp(MouseButton::Right);
  button.GotFocus();
  button.LostFocus();
  button.HoverTick(WindowUnderCursor::Other);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(surface.faces.empty());
  EXPECT_EQ(button.State(), 2);
  button.SetEnabled(true);
  EXPECT_EQ(surface.faces.back(), FacePicture::Normal);
  EXPECT_EQ(button.State(), 2);
}

TEST_F(CommandTest, BeforeInitializeHoverIsNotShownButFocusIs) {
  RecordingSurface s;
  Command fresh(s);
  fresh.ReadProperties({}, FontSpec{});
  fresh.MouseMove();
  EXPECT_EQ(fresh.State(), 0);
  fresh.GotFocus();
  EXPECT_EQ(fresh.State(), 3);
  EXPECT_FALSE(fresh.HoverTimerRunning());
}

TEST(CommandGeometry, SmallButtonKeepsFourPixelCorners) {
  auto s = Command::SliceGeometry(435, 315);
  // MW = 315, MH = 195
  EXPECT_EQ(s[1].DestWidth, 315);
  EXPECT_EQ(s[3].DestHeight, 195);
  EXPECT_EQ(s[2].DestLeft, 375);
  EXPECT_EQ(s[4].DestLeft, 375);
  EXPECT_EQ(s[4].DestTop, 255);
  for (const Slice& c : {s[0], s[2], s[4], s[6]}) {
    EXPECT_EQ(c.DestWidth, 60);
    EXPECT_EQ(c.DestHeight, 60);
    EXPECT_EQ(c.SrcWidth, 60);
  }
  EXPECT_EQ(s[7].SrcLeft, 1);
  EXPECT_EQ(s[7].SrcHeight, 255);
  EXPECT_EQ(s[5].SrcTop, 315);
}

TEST(CommandGradient, ColoursAreRedGreenBlueTimes256) {
  RecordingSurface s;
  Command b(s);
  b.ReadProperties({}, FontSpec{});
  b.Resize(1395, 375, 93, 25);
  const FaceDrawing& f = b.LastFace();
  EXPECT_EQ(f.Top.Red, 0xFF00);
  EXPECT_EQ(f.Bottom.Red, 198 * 256);
  EXPECT_EQ(f.Bottom.Green, 197 * 256);
  EXPECT_EQ(f.Bottom.Blue, 215 * 256);
  EXPECT_EQ(f.Bottom.X, 92);
  EXPECT_EQ(f.Bottom.Y, 24);
  EXPECT_EQ(f.CaptionTop, 80);  // (375 - 195 - 20) / 2
}

TEST(CommandProperties, DefaultsAndTheCommandCaptionQuirk) {
  RecordingSurface s;
  Command b(s);
  b.ReadProperties({}, FontSpec{});
  EXPECT_EQ(b.GetCaption(), "Command1");
  EXPECT_EQ(b.Enabled(), Command::kTrue);
  EXPECT_EQ(b.FirstRun(), 1);

  b.SetCaption("Command");
  b.SetVisible(0);
  PropertyBag bag;
  b.WriteProperties(bag, FontSpec{});
  EXPECT_EQ(bag.count("Caption"), 0u);  // equal to the stored default, so left out
  EXPECT_EQ(bag.at("Visible"), "0");
  EXPECT_EQ(bag.count("Enabled"), 0u);

  Command again(s);
  again.ReadProperties(bag, FontSpec{});
  EXPECT_EQ(again.GetCaption(), "Command1");
  EXPECT_EQ(again.GetVisible(), 0);
  again.SetVisible(7);
  EXPECT_EQ(again.GetVisible(), 255);
  EXPECT_TRUE(again.LastFace().Opaque);

  FontSpec big{"IPAGothic", 12, true, false, 128};
  again.SetFont(big);
  again.SetFontColour(0x0000FF);
  PropertyBag bag2;
  again.WriteProperties(bag2, FontSpec{});
  Command third(s);
  third.ReadProperties(bag2, FontSpec{});
  EXPECT_EQ(third.GetFont(), big);
  EXPECT_EQ(third.GetFontColour(), 0x0000FF);
}

TEST(CommandProperties, FreshControlComesAliveOnFirstEnabledRead) {
  RecordingSurface s;
  Command b(s);  // placed without stored properties
  EXPECT_EQ(b.Enabled(), Command::kFalse);
  EXPECT_EQ(b.FirstRun(), 0);
  b.GetEnabled();
  EXPECT_EQ(b.Enabled(), Command::kTrue);
  EXPECT_EQ(b.FirstRun(), 1);
  EXPECT_EQ(s.faces.back(), FacePicture::Normal);
}

TEST(CommandProperties, UnreadableStoredValuesKeepThePreviousOnes) {
  RecordingSurface s;
  Command b(s);
  b.ReadProperties({{"Enabled", "maybe"}, {"FirstRun", "300"}, {"Font", "garbage"}}, FontSpec{});
  EXPECT_EQ(b.Enabled(), Command::kFalse);
  EXPECT_EQ(b.FirstRun(), 0);
  EXPECT_EQ(b.GetFont(), FontSpec{});
  b.ReadProperties({{"Enabled", "0"}}, FontSpec{});
  EXPECT_EQ(s.faces.size(), 0u);  // a disabled control's caption refresh draws nothing
}

}  // namespace
}  // namespace vx
