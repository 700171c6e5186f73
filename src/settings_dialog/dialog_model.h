// The settings dialog's state: what its controls show, the user's choices, and the save.
// A view (the platform's widgets) mirrors this model and forwards the user's actions to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ports/profile_strings.h"
#include "startup/settings.h"

namespace vx {

// A vertical scroll bar's value: 16 bits, a fixed range, small and large change 1.
class ScrollBarModel {
 public:
  ScrollBarModel(int16_t min, int16_t max) : min_(min), max_(max), value_(min) {}
  int16_t Min() const { return min_; }
  int16_t Max() const { return max_; }
  int16_t Value() const { return value_; }
  // False (value kept) when outside the range, as the platform's bar refuses it.
  bool SetValue(int32_t value);

 private:
  int16_t min_, max_, value_;
};

// What a radio mark shows: nothing until set, or one of the two mark pictures.
enum class RadioMark { Blank, Off, On };

// The bars, in the order of the form: height, width, object count, speed.
inline constexpr int kBarCount = 4;

// "##": a whole number without leading zeros; 0 prints as nothing.
std::string FormatHash(int32_t value);

// The dialog's position (left, top) in the same unit as its arguments: centred across,
// a third of the free height above.
struct DialogPlacement {
  int32_t Left, Top;
};
DialogPlacement PlaceDialog(double screen_width, double screen_height, double form_width,
                            double form_height);

// The panels' metallic half-sine: the grey of each drawn line, from the top edge (y = 0) to
// the panel's height rounded, both in the panel's own unit.
std::vector<uint8_t> PanelGradientLines(double height);

class SettingsDialogModel {
 public:
  // Edits the record's Kind, MusicSource, MusicRepeat and MusicFile in place; the four bar
  // settings are only read.
  explicit SettingsDialogModel(Settings& settings);

  void Load();

  // User actions.
  void SetBar(int index, int32_t value);  // a scroll-bar change
  void ChooseKind(int index);
  void ChooseMusicSource(int index);
  void SetRepeatText(std::string text) { repeat_text_ = std::move(text); }
  void SetMusicFile(std::string path);
  // Writes all eight keys to the settings file, in the fixed order.
  void Save(ProfileStrings& profile, const std::string& settings_file);

  const ScrollBarModel& Bar(int index) const { return bars_[static_cast<size_t>(index)]; }
  const std::string& BarText(int index) const { return bar_texts_[static_cast<size_t>(index)]; }
  RadioMark KindMark(int index) const { return kind_marks_[static_cast<size_t>(index)]; }
  RadioMark MusicMark(int index) const { return music_marks_[static_cast<size_t>(index)]; }
  const std::string& RepeatText() const { return repeat_text_; }
  const std::vector<std::string>& RepeatList() const { return repeat_list_; }
  const std::string& FileText() const { return file_text_; }
  const Settings& Record() const { return settings_; }

 private:
  Settings& settings_;
  std::array<ScrollBarModel, kBarCount> bars_;
  std::array<std::string, kBarCount> bar_texts_;
  std::array<RadioMark, 2> kind_marks_{};
  std::array<RadioMark, 3> music_marks_{};
  std::string repeat_text_;
  std::vector<std::string> repeat_list_;
  std::string file_text_;
};

}  // namespace vx
