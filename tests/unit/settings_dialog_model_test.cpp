#include "settings_dialog/settings_dialog_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace vx {
namespace {

using Lines = std::vector<std::string>;

// Keeps what a save writes as KEY=VALUE lines; the file's own format is the INI code's.
struct WrittenKeys : ProfileStrings {
  std::string GetString(std::string_view, std::string_view, const std::string&) override {
    return {};
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file) override {
    EXPECT_EQ(section, "Section");
    EXPECT_EQ(file, "Vexlum.ini");
    lines.push_back(std::string(key) + "=" + std::string(value));
    return true;
  }
  Lines lines;
};

class SettingsDialogModelTest : public ::testing::Test {
 protected:
  SettingsDialogModelTest() {
    settings.time_step = 20;
    settings.glyph_height = 21;
    settings.glyph_width = 18;
    settings.column_limit = 100;
  }
  // Made and loaded on first use, from the settings as the test has set them by then.
  SettingsDialogModel& Model() {
    if (!model_) model_.emplace(settings).Load();
    return *model_;
  }
  Lines Save() {
    Model().Save(written, "Vexlum.ini");
    return std::exchange(written.lines, {});
  }
  // The atlas marks, a blank, the music marks: 1 on, 0 off, - not set.
  std::string Marks() {
    std::string marks;
    const auto letter = [](RadioMark m) { return "-01"[static_cast<int>(m)]; };
    for (int i = 0; i < 2; ++i) marks += letter(Model().AtlasMark(i));
    marks += ' ';
    for (int i = 0; i < 3; ++i) marks += letter(Model().MusicMark(i));
    return marks;
  }

  Settings settings;
  WrittenKeys written;

 private:
  std::optional<SettingsDialogModel> model_;
};

TEST_F(SettingsDialogModelTest, DefaultsShowAndSaveTheEightKeysInOrder) {
  EXPECT_EQ(Model().Bar(0).Value(), 21);
  EXPECT_EQ(Model().Bar(2).Value(), 100);
  EXPECT_EQ(Model().BarText(3), "20");
  EXPECT_EQ(Marks(), "10 100");
  EXPECT_EQ(Model().RepeatText(), "");
  // Two lists of tracks, 0 to 30 and 0 to 20, the 0s blank.
  const auto& list = Model().RepeatList();
  ASSERT_EQ(list.size(), 52u);
  EXPECT_EQ(list[0] + "," + list[1] + "," + list[30] + "," + list[31] + "," + list[51],
            ",1,30,,20");
  EXPECT_EQ(Save(), (Lines{"LetterHeight=21", "LetterWidth=18", "Limite=100", "SpeedFactor=20",
                           "Kind=0", "BGM区分=0", "BGMﾘﾋﾟｰﾄ=0", "BGMﾌｧｲﾙ="}));
}

TEST_F(SettingsDialogModelTest, OutOfRangeValuesLeaveTheBarLowAndSavingBringsThemIntoRange) {
  settings.column_limit = 10;
  settings.glyph_height = 80;
  settings.time_step = 65536 + 30;  // the bar takes the low 16 bits
  EXPECT_EQ(Model().Bar(0).Value(), 15);
  EXPECT_EQ(Model().BarText(0), "80");
  EXPECT_EQ(Model().Bar(2).Value(), 50);
  EXPECT_EQ(Model().BarText(2), "10");
  EXPECT_EQ(Model().Bar(3).Value(), 30);
  EXPECT_EQ(Model().BarText(3), "65566");
  Model().SetBar(1, 40);
  EXPECT_EQ(Model().BarText(1), "40");
  const Lines saved = Save();
  EXPECT_EQ(Lines(saved.begin(), saved.begin() + 4),
            (Lines{"LetterHeight=15", "LetterWidth=40", "Limite=50", "SpeedFactor=30"}));
}

TEST_F(SettingsDialogModelTest, RepeatTextConversions) {
  settings.repeat_track = 7;
  EXPECT_EQ(Model().RepeatText(), "7");
  const std::pair<const char*, const char*> cases[] = {
      {"3", "3"}, {"2.5", "2"}, {"3.5", "4"},  {" -2 ", "-2"}, {"abc", "0"},
      {"", "0"},  {"9", "9"},   {"40000", "9"}};  // beyond 16 bits: the previous value stays
  for (const auto& [text, stored] : cases) {
    Model().SetRepeatText(text);
    EXPECT_EQ(Save()[6], std::string("BGMﾘﾋﾟｰﾄ=") + stored) << text;
  }
}

TEST_F(SettingsDialogModelTest, ChoicesAndUnknownStoredValues) {
  settings.atlas = static_cast<AtlasKind>(2);
  settings.music_source = static_cast<MusicSource>(5);
  EXPECT_EQ(Marks(), "-- 000");
  Lines saved = Save();  // written back unchanged
  EXPECT_EQ(Lines(saved.begin() + 4, saved.begin() + 6), (Lines{"Kind=2", "BGM区分=5"}));

  Model().ChooseAtlas(1);
  Model().ChooseMusicSource(2);
  Model().ChooseMusicSource(7);  // ignored
  EXPECT_EQ(Marks(), "01 001");
  Model().SetMusicFile("/music/Track 1.MP3");
  EXPECT_EQ(Model().FileText(), "/music/Track 1.MP3");
  saved = Save();
  EXPECT_EQ(Lines(saved.begin() + 4, saved.end()),
            (Lines{"Kind=1", "BGM区分=2", "BGMﾘﾋﾟｰﾄ=0", "BGMﾌｧｲﾙ=/music/Track 1.MP3"}));
}

}  // namespace
}  // namespace vx
