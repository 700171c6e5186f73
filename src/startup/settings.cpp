#include "startup/settings.h"

#include <filesystem>
#include <fstream>

#include "core/numbers.h"

namespace vx {

std::string ReadIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                    const std::string& file) {
  std::string value = profile.GetString(section, key, file);
  // The caller's buffer holds 256 bytes with its terminating NUL.
  if (size_t nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
  if (value.size() > 255) value.resize(255);
  return value;
}

std::string WriteIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                     std::string_view value, const std::string& file) {
  profile.WriteString(section.substr(0, 127), key.substr(0, 127), value, file);
  return {};
}

bool FileExists(std::string_view path) {
  std::string p(path);
  if (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  if (p.empty()) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) return false;
  std::ifstream in(p, std::ios::binary);
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
  auto to16 = [](const std::string& text, int16_t& out) {
    if (auto n = ParseNumber(text))
      if (auto v = FloorToInt16(*n)) out = *v;
  };

  std::string text = read(kKeySpeedFactor);
  if (text.empty()) {
    s.TimeStep = 20;
  } else {
    to32(text, s.TimeStep);
    if (s.TimeStep == 0) s.TimeStep = 17;
  }

  const int32_t tppx = Round32(screen.twips_per_pixel_x);
  const int32_t tppy = Round32(screen.twips_per_pixel_y);
  s.ScreenWidthPx = tppx != 0 ? Round32(screen.width_twips) / tppx : 0;
  s.ScreenHeightPx = tppy != 0 ? Round32(screen.height_twips) / tppy : 0;

  text = read(kKeyLetterHeight);
  if (text.empty())
    s.LetterHeight = 21;
  else
    to32(text, s.LetterHeight);
  text = read(kKeyLetterWidth);
  if (text.empty())
    s.LetterWidth = 18;
  else
    to32(text, s.LetterWidth);
  if (s.LetterHeight < 1) s.LetterHeight = 21;
  if (s.LetterWidth < 1) s.LetterWidth = Round32(static_cast<double>(s.LetterHeight) / 21.0 * 18.0);

  s.FrameRateCap = 40;
  s.AdapterIndex = 0;

  text = read(kKeyLimite);
  if (text.empty()) {
    s.Limite = 100;
  } else {
    to32(text, s.Limite);
    if (s.Limite < 1) s.Limite = 10;
  }

  text = read(kKeyKind);
  if (text.empty())
    s.Kind = 0;
  else
    to16(text, s.Kind);

  text = read(kKeyMusicSource);
  if (text.empty())
    s.MusicSource = 0;
  else
    to16(text, s.MusicSource);
  text = read(kKeyMusicRepeat);
  if (text.empty())
    s.MusicRepeat = 0;
  else
    to16(text, s.MusicRepeat);

  text = read(kKeyMusicFile);
  s.MusicFile = text;
  if (text.empty() || !FileExists(text)) {
    s.MusicFile.clear();
    if (s.MusicSource == 2) s.MusicSource = 0;
  }
}

}  // namespace vx
