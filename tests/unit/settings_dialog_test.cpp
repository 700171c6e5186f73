#include <gtest/gtest.h>

#include <algorithm>

#include "core/cp932.h"
#include "fakes/temp_dir.h"
#include "settings_dialog/ball_animation.h"
#include "settings_dialog/dialog_model.h"
#include "settings_dialog/raster.h"
#include "startup/ini_profile_strings.h"

namespace vx {
namespace {

Settings Defaults() {
  Settings s;
  s.TimeStep = 20;
  s.LetterHeight = 21;
  s.LetterWidth = 18;
  s.Limite = 100;
  return s;
}

class DialogModelTest : public ::testing::Test {
 protected:
  std::string SaveAndRead() {
    const std::string file = dir.File("Vexlum.ini");
    model.Save(profile, file);
    return test::TempDir::Read(file);
  }
  std::string Key(std::string_view utf8) { return Utf8ToCp932(utf8).value(); }
  test::TempDir dir;
  IniProfileStrings profile;
  Settings settings = Defaults();
  SettingsDialogModel model{settings};
};

TEST_F(DialogModelTest, DefaultsShowAndSaveTheEightKeysInOrder) {
  model.Load();
  EXPECT_EQ(model.Bar(0).Value(), 21);
  EXPECT_EQ(model.Bar(2).Value(), 100);
  EXPECT_EQ(model.BarText(3), "20");
  EXPECT_EQ(model.KindMark(0), RadioMark::On);
  EXPECT_EQ(model.KindMark(1), RadioMark::Off);
  EXPECT_EQ(model.MusicMark(0), RadioMark::On);
  EXPECT_EQ(model.MusicMark(2), RadioMark::Off);
  EXPECT_EQ(model.RepeatText(), "");
  EXPECT_EQ(SaveAndRead(),
            "[Section]\nLetterHeight=21\nLetterWidth=18\nLimite=100\n"
            "SpeedFactor=20\nKind=0\n" +
                Key("BGM区分") + "=0\n" + Key("BGMﾘﾋﾟｰﾄ") + "=0\n" + Key("BGMﾌｧｲﾙ") + "=\n");
}

TEST_F(DialogModelTest, OutOfRangeValuesLeaveTheBarLowAndSavingBringsThemIntoRange) {
  settings.Limite = 10;
  settings.LetterHeight = 80;
  settings.TimeStep = 65536 + 30;  // the bar takes the low 16 bits
  model.Load();
  EXPECT_EQ(model.Bar(2).Value(), 50);
  EXPECT_EQ(model.BarText(2), "10");
  EXPECT_EQ(model.Bar(0).Value(), 15);
  EXPECT_EQ(model.BarText(0), "80");
  EXPECT_EQ(model.Bar(3).Value(), 30);
  EXPECT_EQ(model.BarText(3), "65566");
  model.SetBar(1, 40);
  EXPECT_EQ(model.BarText(1), "40");
  std::string ini = SaveAndRead();
  EXPECT_NE(ini.find("Limite=50\n"), std::string::npos);
  EXPECT_NE(ini.find("LetterHeight=15\n"), std::string::npos);
  EXPECT_NE(ini.find("LetterWidth=40\n"), std::string::npos);
}

TEST_F(DialogModelTest, RepeatTextConversions) {
  settings.MusicRepeat = 7;
  model.Load();
  EXPECT_EQ(model.RepeatText(), "7");
  struct Case {
    const char* text;
    int16_t stored;
  } cases[] = {{"3", 3}, {"2.5", 2}, {"3.5", 4}, {" -2 ", -2}, {"abc", 0}, {"", 0}};
  for (const Case& c : cases) {
    model.SetRepeatText(c.text);
    model.Save(profile, dir.File("Vexlum.ini"));
    EXPECT_EQ(settings.MusicRepeat, c.stored) << c.text;
    EXPECT_EQ(profile.GetString("Section", "BGMﾘﾋﾟｰﾄ", dir.File("Vexlum.ini")),
              std::to_string(c.stored));
  }
  settings.MusicRepeat = 9;
  model.SetRepeatText("40000");  // beyond 16 bits: the previous value stays
  model.Save(profile, dir.File("Vexlum.ini"));
  EXPECT_EQ(settings.MusicRepeat, 9);
}

TEST_F(DialogModelTest, RepeatListHas52EntriesInLoadOrder) {
  model.Load();
  const auto& list = model.RepeatList();
  ASSERT_EQ(list.size(), 52u);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1], "1");
  EXPECT_EQ(list[30], "30");
  EXPECT_EQ(list[31], "");
  EXPECT_EQ(list[51], "20");
}

TEST_F(DialogModelTest, ChoicesAndUnknownStoredValues) {
  settings.Kind = 2;
  settings.MusicSource = 5;
  model.Load();
  EXPECT_EQ(model.KindMark(0), RadioMark::Blank);
  EXPECT_EQ(model.KindMark(1), RadioMark::Blank);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(model.MusicMark(i), RadioMark::Off);
  std::string ini = SaveAndRead();
  EXPECT_NE(ini.find("Kind=2\n"), std::string::npos);  // written back unchanged
  EXPECT_NE(ini.find(Key("BGM区分") + "=5\n"), std::string::npos);

  model.ChooseKind(1);
  model.ChooseMusicSource(2);
  model.ChooseMusicSource(7);  // ignored
  EXPECT_EQ(settings.Kind, 1);
  EXPECT_EQ(settings.MusicSource, 2);
  EXPECT_EQ(model.KindMark(0), RadioMark::Off);
  EXPECT_EQ(model.MusicMark(2), RadioMark::On);
  EXPECT_EQ(model.MusicMark(0), RadioMark::Off);
  model.SetMusicFile("/music/Track 1.MP3");
  EXPECT_EQ(model.FileText(), "/music/Track 1.MP3");
  ini = SaveAndRead();
  EXPECT_NE(ini.find(Key("BGMﾌｧｲﾙ") + "=/music/Track 1.MP3\n"), std::string::npos);
}

TEST(DialogLayout, PlacementAndPanelGradient) {
  DialogPlacement p = PlaceDialog(1920, 1080, 451, 334);
  EXPECT_EQ(p.Left, 734);  // 1469 / 2, truncated
  EXPECT_EQ(p.Top, 248);   // 746 / 3, truncated
  auto lines = PanelGradientLines(117);
  ASSERT_EQ(lines.size(), 118u);
  EXPECT_EQ(lines[0], 30);
  EXPECT_EQ(lines[58], 250);  // the middle: 220 x sin(58 / 37.24...) rounds to 220
  EXPECT_LT(lines[117], 32);
}

RgbImage Ball() {
  RgbImage ball(14, 14);
  ball.At(7, 7) = {244, 84, 85};
  ball.At(3, 3) = {100, 10, 10};
  return ball;
}

TEST(Raster, FadeAndAdditiveBlendFollowThePixelRule) {
  RgbImage dst(3, 2), black(3, 2);
  dst.At(0, 0) = {255, 100, 1};
  dst.At(2, 1) = {16, 17, 0};
  BlendConstant(dst, black, 16);
  EXPECT_EQ(dst.At(0, 0), (Rgb{239, 93, 0}));  // 255*239/255, 100*239/255 = 93.7
  EXPECT_EQ(dst.At(2, 1), (Rgb{14, 15, 0}));

  RgbImage src(2, 2);
  src.At(0, 0) = {200, 0, 5};
  src.At(1, 1) = {1, 2, 3};
  dst.At(1, 0) = {100, 255, 250};
  BlendAdd(dst, 1, 0, src);
  EXPECT_EQ(dst.At(1, 0), (Rgb{255, 255, 255}));  // clamped
  EXPECT_EQ(dst.At(2, 1), (Rgb{15, 17, 3}));
  BlendAdd(dst, -1, -1, src);  // clipped, only src (1, 1) lands at (0, 0)
  EXPECT_EQ(dst.At(0, 0), (Rgb{240, 95, 3}));
  BlendAdd(dst, 50, 50, src);  // wholly outside: nothing happens
}

TEST(BallAnimationTest, BallRunsToAndFroAcrossIdenticalStrips) {
  BallAnimation anim(433, 21, Ball());
  anim.Tick();
  // First tick: only the ball, at column 0, row 1, on black.
  EXPECT_EQ(anim.Strip(0).At(7, 8), (Rgb{244, 84, 85}));
  EXPECT_EQ(anim.Strip(0).At(3, 4), (Rgb{100, 10, 10}));
  EXPECT_EQ(anim.Strip(0).At(7, 7), Rgb{});
  std::vector<int32_t> drawn{0};
  for (int i = 1; i < 420; ++i) {
    anim.Tick();
    drawn.push_back(anim.BallX() - anim.BallStep());  // the move follows the drawing
    ASSERT_EQ(anim.Strip(0), anim.Work());
    ASSERT_EQ(anim.Strip(1), anim.Work());
  }
  for (size_t i = 0; i <= 104; ++i) EXPECT_EQ(drawn[i], static_cast<int32_t>(4 * i)) << i;
  for (size_t i = 105; i <= 208; ++i) EXPECT_EQ(drawn[i], 416 - 4 * static_cast<int32_t>(i - 104));
  EXPECT_EQ(drawn[209], 4);
  EXPECT_EQ(*std::max_element(drawn.begin(), drawn.end()), 416);
  EXPECT_EQ(*std::min_element(drawn.begin(), drawn.end()), 0);
  // The trail: the first ball image has faded after 208 ticks of 16/255.
  EXPECT_LT(anim.Work().At(7 + 200, 8).R, 244);
}

TEST(BallAnimationTest, NarrowPictureAlternatesBetweenZeroAndMinusFour) {
  BallAnimation anim(17, 21, Ball());
  std::vector<int32_t> drawn;
  for (int i = 0; i < 6; ++i) {
    anim.Tick();
    drawn.push_back(anim.BallX() - anim.BallStep());
  }
  EXPECT_EQ(drawn, (std::vector<int32_t>{0, -4, 0, -4, 0, -4}));
}

}  // namespace
}  // namespace vx
