#include "settings_dialog/settings_dialog_model.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/cp932.h"
#include "fakes/temp_dir.h"
#include "startup/ini_profile_strings.h"

namespace vx {
namespace {

Settings Defaults() {
  Settings s;
  s.time_step = 20;
  s.glyph_height = 21;
  s.glyph_width = 18;
  s.column_limit = 100;
  return s;
}

class SettingsDialogModelTest : public ::testing::Test {
 protected:
  std::string SaveAndRead() {
    const std::string file = dir.File("Vexlum.ini");
    Model().Save(profile, file);
    return test::TempDir::Read(file);
  }
  std::string Key(std::string_view utf8) { return Utf8ToCp932(utf8).value(); }
  test::TempDir dir;
  IniProfileStrings profile;
  Settings settings = Defaults();
  // Made on first use, from the settings as the test has set them by then.
  SettingsDialogModel& Model() {
    if (!model_) model_.emplace(settings);
    return *model_;
  }

 private:
  std::optional<SettingsDialogModel> model_;
};

TEST_F(SettingsDialogModelTest, DefaultsShowAndSaveTheEightKeysInOrder) {
  Model().Load();
  EXPECT_EQ(Model().Bar(0).Value(), 21);
  EXPECT_EQ(Model().Bar(2).Value(), 100);
  EXPECT_EQ(Model().BarText(3), "20");
  EXPECT_EQ(Model().AtlasMark(0), RadioMark::kOn);
  EXPECT_EQ(Model().AtlasMark(1), RadioMark::kOff);
  EXPECT_EQ(Model().MusicMark(0), RadioMark::kOn);
  EXPECT_EQ(Model().MusicMark(2), RadioMark::kOff);
  EXPECT_EQ(Model().RepeatText(), "");
  EXPECT_EQ(SaveAndRead(),
            "[Section]\r\nLetterHeight=21\r\nLetterWidth=18\r\nLimite=100\r\n"
            "SpeedFactor=20\r\nKind=0\r\n" +
                Key("BGM区分") + "=0\r\n" + Key("BGMﾘﾋﾟｰﾄ") + "=0\r\n" + Key("BGMﾌｧｲﾙ") + "=\r\n");
}

TEST_F(SettingsDialogModelTest, OutOfRangeValuesLeaveTheBarLowAndSavingBringsThemIntoRange) {
  settings.column_limit = 10;
  settings.glyph_height = 80;
  settings.time_step = 65536 + 30;  // the bar takes the low 16 bits
  Model().Load();
  EXPECT_EQ(Model().Bar(2).Value(), 50);
  EXPECT_EQ(Model().BarText(2), "10");
  EXPECT_EQ(Model().Bar(0).Value(), 15);
  EXPECT_EQ(Model().BarText(0), "80");
  EXPECT_EQ(Model().Bar(3).Value(), 30);
  EXPECT_EQ(Model().BarText(3), "65566");
  Model().SetBar(1, 40);
  EXPECT_EQ(Model().BarText(1), "40");
  std::string ini = SaveAndRead();
  EXPECT_NE(ini.find("Limite=50\r\n"), std::string::npos);
  EXPECT_NE(ini.find("LetterHeight=15\r\n"), std::string::npos);
  EXPECT_NE(ini.find("LetterWidth=40\r\n"), std::string::npos);
}

TEST_F(SettingsDialogModelTest, RepeatTextConversions) {
  settings.repeat_track = 7;
  Model().Load();
  EXPECT_EQ(Model().RepeatText(), "7");
  struct Case {
    const char* text;
    int16_t stored;
  } cases[] = {{"3", 3}, {"2.5", 2}, {"3.5", 4}, {" -2 ", -2}, {"abc", 0}, {"", 0}};
  for (const Case& c : cases) {
    Model().SetRepeatText(c.text);
    Model().Save(profile, dir.File("Vexlum.ini"));
    EXPECT_EQ(Model().Record().repeat_track, c.stored) << c.text;
    EXPECT_EQ(profile.GetString("Section", "BGMﾘﾋﾟｰﾄ", dir.File("Vexlum.ini")),
              std::to_string(c.stored));
  }
  Model().SetRepeatText("9");
  Model().Save(profile, dir.File("Vexlum.ini"));
  Model().SetRepeatText("40000");  // beyond 16 bits: the previous value stays
  Model().Save(profile, dir.File("Vexlum.ini"));
  EXPECT_EQ(Model().Record().repeat_track, 9);
}

TEST_F(SettingsDialogModelTest, RepeatListHas52EntriesInLoadOrder) {
  Model().Load();
  const auto& list = Model().RepeatList();
  ASSERT_EQ(list.size(), 52u);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1], "1");
  EXPECT_EQ(list[30], "30");
  EXPECT_EQ(list[31], "");
  EXPECT_EQ(list[51], "20");
}

TEST_F(SettingsDialogModelTest, ChoicesAndUnknownStoredValues) {
  settings.atlas = static_cast<AtlasKind>(2);
  settings.music_source = static_cast<MusicSource>(5);
  Model().Load();
  EXPECT_EQ(Model().AtlasMark(0), RadioMark::kBlank);
  EXPECT_EQ(Model().AtlasMark(1), RadioMark::kBlank);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Model().MusicMark(i), RadioMark::kOff);
  std::string ini = SaveAndRead();
  EXPECT_NE(ini.find("Kind=2\r\n"), std::string::npos);  // written back unchanged
  EXPECT_NE(ini.find(Key("BGM区分") + "=5\r\n"), std::string::npos);

  Model().ChooseAtlas(1);
  Model().ChooseMusicSource(2);
  Model().ChooseMusicSource(7);  // ignored
  EXPECT_EQ(static_cast<int>(Model().Record().atlas), 1);
  EXPECT_EQ(static_cast<int>(Model().Record().music_source), 2);
  EXPECT_EQ(static_cast<int>(settings.atlas), 2);  // the loaded settings stay as they were
  EXPECT_EQ(Model().AtlasMark(0), RadioMark::kOff);
  EXPECT_EQ(Model().MusicMark(2), RadioMark::kOn);
  EXPECT_EQ(Model().MusicMark(0), RadioMark::kOff);
  Model().SetMusicFile("/music/Track 1.MP3");
  EXPECT_EQ(Model().FileText(), "/music/Track 1.MP3");
  ini = SaveAndRead();
  EXPECT_NE(ini.find(Key("BGMﾌｧｲﾙ") + "=/music/Track 1.MP3\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vx
