#include "controls/picture_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace vx {
namespace {

using Faces = std::vector<FacePicture>;

struct RecordingSurface : PictureButtonSurface {
  void Paint(const FaceDrawing& f) override { faces.push_back(f.picture); }
  void SetCaptionEnabled(bool e) override { caption_enabled = e; }
  void SetCaption(const std::string&) override {}
  void SetCaptionColour(int32_t) override {}
  void SetCaptionFont(const FontSpec&) override {}
  void StartHoverTimer(int) override {}
  Faces faces;
  bool caption_enabled = true;
};

// A button as the dialog places it: read, sized and started, with its clicks counted.
class PictureButtonTest : public ::testing::Test {
 protected:
  PictureButtonTest() {
    button.ReadProperties({{"Caption", "設定"}}, FontSpec{});
    button.Resize(1395, 375, 93, 25);
    button.Initialize();
    button.on_click = [this] { ++clicks; };
    surface.faces.clear();
  }
  // Feeds the events named by the words; "up" and "down" are the left button's, "over" and
  // "off..." what the hover poll finds under the cursor.
  void Feed(const std::string& words) {
    static const std::map<std::string, std::function<void(PictureButton&)>> kEvents = {
        {"move", [](PictureButton& b) { b.MouseMove(); }},
        {"down", [](PictureButton& b) { b.MouseDown(MouseButton::kLeft); }},
        {"up", [](PictureButton& b) { b.MouseUp(MouseButton::kLeft); }},
        {"right-down", [](PictureButton& b) { b.MouseDown(MouseButton::kRight); }},
        {"right-up", [](PictureButton& b) { b.MouseUp(MouseButton::kRight); }},
        {"middle-up", [](PictureButton& b) { b.MouseUp(MouseButton::kMiddle); }},
        {"focus", [](PictureButton& b) { b.GotFocus(); }},
        {"blur", [](PictureButton& b) { b.LostFocus(); }},
        {"key", [](PictureButton& b) { b.KeyPressed(); }},
        {"over", [](PictureButton& b) { b.HoverTick(WindowUnderCursor::kControl); }},
        {"off-form", [](PictureButton& b) { b.HoverTick(WindowUnderCursor::kParentForm); }},
        {"off", [](PictureButton& b) { b.HoverTick(WindowUnderCursor::kOther); }},
    };
    std::istringstream in(words);
    for (std::string word; in >> word;) kEvents.at(word)(button);
  }
  Faces Drawn() { return std::exchange(surface.faces, {}); }

  RecordingSurface surface;
  PictureButton button{surface};
  int clicks = 0;
};

TEST_F(PictureButtonTest, FirstClickOnUnfocusedButtonClicksOnceAndEndsHighlightSelected) {
  using enum FacePicture;
  Feed("move focus down up");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Drawn(), (Faces{kHighlight, kPressed, kPressed, kHighlightSelected}));
  Feed("off move");  // the button is no longer down, so hover shows again
  EXPECT_EQ(Drawn(), (Faces{kSelected, kHighlightSelected}));
}

TEST_F(PictureButtonTest, PressDraggedOffIsCancelled) {
  using enum FacePicture;
  // Coming back with the button still down does not restore hover, and the release is no click.
  Feed("focus move down off-form move up");
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(Drawn(), (Faces{kSelected, kHighlightSelected, kPressed, kSelected}));
}

TEST_F(PictureButtonTest, OtherButtonsClickExceptInSelectedStateAndShowNoPress) {
  Feed("right-up move middle-up focus right-up");
  EXPECT_EQ(clicks, 3);
  Feed("off right-up");
  EXPECT_EQ(clicks, 3);
  Drawn();
  Feed("right-down move");
  EXPECT_EQ(Drawn(), Faces{FacePicture::kHighlightSelected});
}

TEST_F(PictureButtonTest, LeftReleaseInHoverDrawsNormalAndPollingRestoresIdle) {
  using enum FacePicture;
  Feed("move down up");
  EXPECT_TRUE(button.GradientReversed());
  Feed("over off");
  EXPECT_FALSE(button.GradientReversed());
  Feed("focus blur");
  EXPECT_EQ(Drawn(), (Faces{kHighlight, kPressed, kNormal, kNormal, kSelected, kNormal}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(PictureButtonTest, SpaceOrEnterOnTheFocusedButtonClicksWithoutChangingItsFace) {
  Feed("focus key");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Drawn(), Faces{FacePicture::kSelected});
}

TEST_F(PictureButtonTest, DisabledButtonIgnoresEverythingButKeepsState) {
  Feed("move");
  button.SetEnabled(false);
  EXPECT_EQ(Drawn().back(), FacePicture::kDisabled);
  EXPECT_FALSE(surface.caption_enabled);
  Feed("move down up right-up focus blur off key");
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(Drawn().empty());
  button.SetEnabled(true);
  EXPECT_EQ(Drawn(), Faces{FacePicture::kNormal});
  EXPECT_EQ(button.State(), 2);
}

TEST_F(PictureButtonTest, FaceGeometryAndGradientOfTheSizedButton) {
  // The gradient's colours are read red, green, blue from "&HC6C5D7"; the caption is centred
  // in twips.
  const FaceDrawing& f = button.LastFace();
  EXPECT_EQ(std::tie(f.top.red, f.top.green, f.top.blue), std::tuple(0xFF00, 0xFF00, 0xFF00));
  EXPECT_EQ(std::tie(f.bottom.red, f.bottom.green, f.bottom.blue),
            std::tuple(198 * 256, 197 * 256, 215 * 256));
  EXPECT_EQ(std::tie(f.bottom.x, f.bottom.y), std::tuple(92, 24));
  EXPECT_EQ(f.caption_top, 80);  // (375 - 195 - 20) / 2

  // A small button keeps its 60-twip corners; the middle slices take what is left.
  const auto s = PictureButton::SliceGeometry(435, 315);
  EXPECT_EQ(std::tie(s[1].dest_width, s[3].dest_height), std::tuple(315, 195));
  EXPECT_EQ(std::tie(s[2].dest_left, s[4].dest_left, s[4].dest_top), std::tuple(375, 375, 255));
}

TEST(PictureButton, BeforeInitializeHoverIsNotShownButFocusIs) {
  RecordingSurface s;
  PictureButton fresh(s);
  fresh.ReadProperties({}, FontSpec{});
  s.faces.clear();
  fresh.MouseMove();
  fresh.GotFocus();
  EXPECT_EQ(s.faces, Faces{FacePicture::kSelected});
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
  EXPECT_EQ(bag, (PropertyBag{{"Visible", "0"}}));  // defaults are left out
  PictureButton again(s);
  again.ReadProperties(bag, FontSpec{});
  EXPECT_EQ(again.GetCaption(), "Command1");
  EXPECT_EQ(again.GetVisible(), 0);
  again.SetVisible(7);
  EXPECT_EQ(again.GetVisible(), 255);
  EXPECT_TRUE(again.LastFace().opaque);

  const FontSpec big{"IPAGothic", 12, true, false, 128};
  again.SetFont(big);
  again.SetFontColour(0x0000FF);
  bag.clear();
  again.WriteProperties(bag, FontSpec{});
  PictureButton third(s);
  third.ReadProperties(bag, FontSpec{});
  EXPECT_EQ(third.GetFont(), big);
  EXPECT_EQ(third.GetFontColour(), 0x0000FF);
}

TEST(PictureButton, PropertiesFreshOrUnreadable) {
  RecordingSurface s;
  PictureButton fresh(s);  // placed without stored properties: alive on its first read
  EXPECT_EQ(fresh.GetEnabled(), PictureButton::kFalse);
  EXPECT_EQ(fresh.Enabled(), PictureButton::kTrue);
  EXPECT_EQ(fresh.FirstRun(), 1);
  EXPECT_EQ(s.faces.back(), FacePicture::kNormal);

  // Values that cannot be read keep the previous ones.
  s.faces.clear();
  PictureButton b(s);
  b.ReadProperties({{"Enabled", "maybe"}, {"FirstRun", "300"}, {"Font", "garbage"}}, FontSpec{});
  EXPECT_EQ(b.Enabled(), PictureButton::kFalse);
  EXPECT_EQ(b.FirstRun(), 0);
  EXPECT_EQ(b.GetFont(), FontSpec{});
  b.ReadProperties({{"Enabled", "0"}}, FontSpec{});
  EXPECT_TRUE(s.faces.empty());  // a disabled control's caption refresh draws nothing
}

}  // namespace
}  // namespace vx
