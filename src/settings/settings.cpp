#include "settings/settings.h"

#include <filesystem>
#include <fstream>
#include <type_traits>

#include "core/numbers.h"
#include "core/utf8_path.h"

namespace vx {

std::string ReadIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                    const std::string& file, size_t max_length) {
  std::string value = profile.GetString(section, key, file);
  if (size_t nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
  if (value.size() > max_length) value.resize(max_length);
  return value;
}

std::string WriteIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                     std::string_view value, const std::string& file) {
  profile.WriteString(section.substr(0, 127), key.substr(0, 127), value, file);
  return {};
}

bool FileExists(std::string_view path) {
  std::string_view p(path);
  if (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.remove_suffix(1);
  if (p.empty()) return false;
  const std::filesystem::path file = Utf8Path(p);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  std::ifstream in(file, std::ios::binary);
  return static_cast<bool>(in);
}

void LoadSettings(Settings& s, ProfileStrings& profile, const std::string& file,
                  const ScreenMetrics& screen) {
  auto read = [&](std::string_view key) { return ReadIni(profile, kSettingsSection, key, file); };
  // A value that is not a number, or does not fit, leaves the member as it was.
  auto to32 = [](const std::string& text, int32_t& out) {
    if (auto n = ParseNumber(text))
      if (auto v = ToInt32(*n)) out = *v;
  };
  // The 16-bit values are floored, not rounded; the two choices keep any number they are given.
  auto to16 = [](const std::string& text, auto& out) {
    if (auto n = ParseNumber(text))
      if (auto v = FloorToInt16(*n)) out = static_cast<std::remove_reference_t<decltype(out)>>(*v);
  };

  std::string text = read(kKeySpeedFactor);
  if (text.empty()) {
    s.time_step = 20;
  } else {
    to32(text, s.time_step);
    if (s.time_step == 0) s.time_step = 17;
  }

  const int32_t tppx = Round32(screen.twips_per_pixel_x);
  const int32_t tppy = Round32(screen.twips_per_pixel_y);
  s.screen_width_px = tppx != 0 ? Round32(screen.width_twips) / tppx : 0;
  s.screen_height_px = tppy != 0 ? Round32(screen.height_twips) / tppy : 0;

  text = read(kKeyLetterHeight);
  if (text.empty())
    s.glyph_height = 21;
  else
    to32(text, s.glyph_height);
  text = read(kKeyLetterWidth);
  if (text.empty())
    s.glyph_width = 18;
  else
    to32(text, s.glyph_width);
  if (s.glyph_height < 1) s.glyph_height = 21;
  if (s.glyph_width < 1) s.glyph_width = Round32(static_cast<double>(s.glyph_height) / 21.0 * 18.0);

  s.frame_rate_cap = 40;
  s.adapter_index = 0;

  text = read(kKeyColumnLimit);
  if (text.empty()) {
    s.column_limit = 100;
  } else {
    to32(text, s.column_limit);
    if (s.column_limit < 1) s.column_limit = 10;
  }

  text = read(kKeyAtlas);
  if (text.empty())
    s.atlas = AtlasKind::kScenery;
  else
    to16(text, s.atlas);

  text = read(kKeyMusicSource);
  if (text.empty())
    s.music_source = MusicSource::kNone;
  else
    to16(text, s.music_source);
  text = read(kKeyMusicRepeat);
  if (text.empty())
    s.repeat_track = 0;
  else
    to16(text, s.repeat_track);

  text = ReadIni(profile, kSettingsSection, kKeyMusicFile, file, kMusicPathLength);
  s.music_file = text;
  if (text.empty() || !FileExists(text)) {
    s.music_file.clear();
    if (s.music_source == MusicSource::kFile) s.music_source = MusicSource::kNone;
  }
}

}  // namespace vx
