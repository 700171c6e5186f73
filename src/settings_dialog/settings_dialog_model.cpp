#include "settings_dialog/settings_dialog_model.h"

#include "core/numbers.h"

namespace vx {

std::string FormatHash(int32_t value) {
  return value == 0 ? std::string() : std::to_string(value);
}

SettingsDialogModel::SettingsDialogModel(const Settings& loaded)
    : settings_(loaded),
      bars_{ScrollBarModel(15, 50), ScrollBarModel(15, 50), ScrollBarModel(50, 200),
            ScrollBarModel(10, 50)} {}

void SettingsDialogModel::Load() {
  const std::array<int32_t, kBarCount> values = {settings_.glyph_height, settings_.glyph_width,
                                                 settings_.column_limit, settings_.time_step};
  for (int i = 0; i < kBarCount; ++i) {
    // The bar holds 16 bits; a value it refuses leaves it at its low end while the box
    // still shows the stored number.
    SetBar(i, static_cast<int16_t>(static_cast<uint32_t>(values[static_cast<size_t>(i)])));
    bar_texts_[static_cast<size_t>(i)] = std::to_string(values[static_cast<size_t>(i)]);
  }
  const auto atlas = static_cast<int16_t>(settings_.atlas);
  if (atlas == 0 || atlas == 1) {
    atlas_marks_[static_cast<size_t>(atlas)] = RadioMark::kOn;
    atlas_marks_[static_cast<size_t>(atlas ^ 1)] = RadioMark::kOff;
  }
  music_marks_.fill(RadioMark::kOff);
  const auto source = static_cast<int16_t>(settings_.music_source);
  if (source >= 0 && source <= 2) music_marks_[static_cast<size_t>(source)] = RadioMark::kOn;

  repeat_list_.clear();
  for (int i = 0; i <= 30; ++i) repeat_list_.push_back(FormatHash(i));
  for (int i = 0; i <= 20; ++i) repeat_list_.push_back(FormatHash(i));
  repeat_text_ = FormatHash(settings_.repeat_track);
  file_text_ = settings_.music_file;
}

void SettingsDialogModel::SetBar(int index, int32_t value) {
  auto& bar = bars_[static_cast<size_t>(index)];
  const int16_t before = bar.Value();
  if (bar.SetValue(value) && bar.Value() != before)
    bar_texts_[static_cast<size_t>(index)] = std::to_string(bar.Value());
}

void SettingsDialogModel::ChooseAtlas(int index) {
  if (index < 0 || index > 1) return;
  settings_.atlas = static_cast<AtlasKind>(index);
  atlas_marks_[static_cast<size_t>(index)] = RadioMark::kOn;
  atlas_marks_[static_cast<size_t>(index ^ 1)] = RadioMark::kOff;
}

void SettingsDialogModel::ChooseMusicSource(int index) {
  if (index < 0 || index > 2) return;
  music_marks_.fill(RadioMark::kOff);
  music_marks_[static_cast<size_t>(index)] = RadioMark::kOn;
  settings_.music_source = static_cast<MusicSource>(index);
}

void SettingsDialogModel::SetMusicFile(std::string path) {
  settings_.music_file = std::move(path);
  file_text_ = settings_.music_file;
}

void SettingsDialogModel::Save(ProfileStrings& profile, const std::string& file) {
  auto write = [&](std::string_view key, const std::string& value) {
    WriteIni(profile, kSettingsSection, key, value, file);
  };
  write(kKeyLetterHeight, std::to_string(bars_[0].Value()));
  write(kKeyLetterWidth, std::to_string(bars_[1].Value()));
  write(kKeyColumnLimit, std::to_string(bars_[2].Value()));
  write(kKeySpeedFactor, std::to_string(bars_[3].Value()));
  write(kKeyAtlas, std::to_string(static_cast<int16_t>(settings_.atlas)));
  write(kKeyMusicSource, std::to_string(static_cast<int16_t>(settings_.music_source)));
  if (auto number = ParseNumber(repeat_text_)) {
    // A number beyond 16 bits cannot be taken; the previous choice is written instead.
    if (auto repeat = ToInt16(*number)) settings_.repeat_track = *repeat;
  } else {
    settings_.repeat_track = 0;
  }
  write(kKeyMusicRepeat, std::to_string(settings_.repeat_track));
  write(kKeyMusicFile, settings_.music_file);
}

}  // namespace vx
