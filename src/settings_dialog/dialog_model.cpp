#include "settings_dialog/dialog_model.h"

#include <cmath>

#include "core/numbers.h"

namespace vx {

bool ScrollBarModel::SetValue(int32_t value) {
  if (value < min_ || value > max_) return false;
  value_ = static_cast<int16_t>(value);
  return true;
}

std::string FormatHash(int32_t value) {
  return value == 0 ? std::string() : std::to_string(value);
}

DialogPlacement PlaceDialog(double screen_width, double screen_height, double form_width,
                            double form_height) {
  return {Round32(screen_width - form_width) / 2, Round32(screen_height - form_height) / 3};
}

std::vector<uint8_t> PanelGradientLines(double height) {
  std::vector<uint8_t> lines;
  const double k = height / 3.142;
  const int16_t last = ToInt16(height).value_or(0);
  for (int32_t y = 0; y <= last; ++y) {
    const int16_t v = ToInt16(std::fabs(220 * std::sin(y / k))).value_or(0);
    lines.push_back(static_cast<uint8_t>(v + 30));
  }
  return lines;
}

SettingsDialogModel::SettingsDialogModel(Settings& settings)
    : settings_(settings),
      bars_{ScrollBarModel(15, 50), ScrollBarModel(15, 50), ScrollBarModel(50, 200),
            ScrollBarModel(10, 50)} {}

void SettingsDialogModel::Load() {
  const std::array<int32_t, kBarCount> values = {settings_.LetterHeight, settings_.LetterWidth,
                                                 settings_.Limite, settings_.TimeStep};
  for (int i = 0; i < kBarCount; ++i) {
    // The bar holds 16 bits; a value it refuses leaves it at its low end while the box
    // still shows the stored number.
    SetBar(i, static_cast<int16_t>(static_cast<uint32_t>(values[static_cast<size_t>(i)])));
    bar_texts_[static_cast<size_t>(i)] = std::to_string(values[static_cast<size_t>(i)]);
  }
  if (settings_.Kind == 0 || settings_.Kind == 1) {
    kind_marks_[static_cast<size_t>(settings_.Kind)] = RadioMark::On;
    kind_marks_[static_cast<size_t>(settings_.Kind ^ 1)] = RadioMark::Off;
  }
  music_marks_.fill(RadioMark::Off);
  if (settings_.MusicSource >= 0 && settings_.MusicSource <= 2)
    music_marks_[static_cast<size_t>(settings_.MusicSource)] = RadioMark::On;

  repeat_list_.clear();
  for (int i = 0; i <= 30; ++i) repeat_list_.push_back(FormatHash(i));
  for (int i = 0; i <= 20; ++i) repeat_list_.push_back(FormatHash(i));
  repeat_text_ = FormatHash(settings_.MusicRepeat);
  file_text_ = settings_.MusicFile;
}

void SettingsDialogModel::SetBar(int index, int32_t value) {
  auto& bar = bars_[static_cast<size_t>(index)];
  const int16_t before = bar.Value();
  if (bar.SetValue(value) && bar.Value() != before)
    bar_texts_[static_cast<size_t>(index)] = std::to_string(bar.Value());
}

void SettingsDialogModel::ChooseKind(int index) {
  if (index < 0 || index > 1) return;
  settings_.Kind = static_cast<int16_t>(index);
  kind_marks_[static_cast<size_t>(index)] = RadioMark::On;
  kind_marks_[static_cast<size_t>(index ^ 1)] = RadioMark::Off;
}

void SettingsDialogModel::ChooseMusicSource(int index) {
  if (index < 0 || index > 2) return;
  music_marks_.fill(RadioMark::Off);
  music_marks_[static_cast<size_t>(index)] = RadioMark::On;
  settings_.MusicSource = static_cast<int16_t>(index);
}

void SettingsDialogModel::SetMusicFile(std::string path) {
  settings_.MusicFile = std::move(path);
  file_text_ = settings_.MusicFile;
}

void SettingsDialogModel::Save(ProfileStrings& profile, const std::string& file) {
  auto write = [&](std::string_view key, const std::string& value) {
    WriteIni(profile, kSettingsSection, key, value, file);
  };
  write(kKeyLetterHeight, std::to_string(bars_[0].Value()));
  write(kKeyLetterWidth, std::to_string(bars_[1].Value()));
  write(kKeyLimite, std::to_string(bars_[2].Value()));
  write(kKeySpeedFactor, std::to_string(bars_[3].Value()));
  write(kKeyKind, std::to_string(settings_.Kind));
  write(kKeyMusicSource, std::to_string(settings_.MusicSource));
  if (auto number = ParseNumber(repeat_text_)) {
    // A number beyond 16 bits cannot be taken; the previous choice is written instead.
    if (auto repeat = ToInt16(*number)) settings_.MusicRepeat = *repeat;
  } else {
    settings_.MusicRepeat = 0;
  }
  write(kKeyMusicRepeat, std::to_string(settings_.MusicRepeat));
  write(kKeyMusicFile, settings_.MusicFile);
}

}  // namespace vx
