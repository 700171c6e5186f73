// The settings dialog's state: what its controls show, the user's choices, and the save.
// A view (the platform's widgets) mirrors this model and forwards the user's actions to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ports/profile_strings.h"
#include "settings/settings.h"
#include "settings_dialog/scroll_bar_model.h"

namespace vx {

// What a radio mark shows: nothing until set, or one of the two mark pictures.
enum class RadioMark { kBlank, kOff, kOn };

// The bars, in the order of the form: height, width, object count, speed.
inline constexpr int kBarCount = 4;

// "##": a whole number without leading zeros; 0 prints as nothing.
std::string FormatHash(int32_t value);

class SettingsDialogModel {
 public:
  // Starts from a copy of the loaded settings; the user's choices change only the copy.
  explicit SettingsDialogModel(const Settings& loaded);

  void Load();

  // User actions.
  void SetBar(int index, int32_t value);  // a scroll-bar change
  void ChooseAtlas(int index);
  void ChooseMusicSource(int index);
  void SetRepeatText(std::string text) { repeat_text_ = std::move(text); }
  void SetMusicFile(std::string path);
  // Writes all eight keys to the settings file, in the fixed order.
  void Save(ProfileStrings& profile, const std::string& settings_file);

  const ScrollBarModel& Bar(int index) const { return bars_[static_cast<size_t>(index)]; }
  const std::string& BarText(int index) const { return bar_texts_[static_cast<size_t>(index)]; }
  RadioMark AtlasMark(int index) const { return atlas_marks_[static_cast<size_t>(index)]; }
  RadioMark MusicMark(int index) const { return music_marks_[static_cast<size_t>(index)]; }
  const std::string& RepeatText() const { return repeat_text_; }
  const std::vector<std::string>& RepeatList() const { return repeat_list_; }
  const std::string& FileText() const { return file_text_; }
  const Settings& Record() const { return settings_; }

 private:
  Settings settings_;
  std::array<ScrollBarModel, kBarCount> bars_;
  std::array<std::string, kBarCount> bar_texts_;
  std::array<RadioMark, 2> atlas_marks_{};
  std::array<RadioMark, 3> music_marks_{};
  std::string repeat_text_;
  std::vector<std::string> repeat_list_;
  std::string file_text_;
};

}  // namespace vx
