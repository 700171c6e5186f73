// The settings record, read once per run from the INI file, and its small file helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/profile_strings.h"
#include "ports/window_system.h"

namespace vx {

inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kKeySpeedFactor = "SpeedFactor";
inline constexpr std::string_view kKeyLetterHeight = "LetterHeight";
inline constexpr std::string_view kKeyLetterWidth = "LetterWidth";
inline constexpr std::string_view kKeyLimite = "Limite";
inline constexpr std::string_view kKeyKind = "Kind";
inline constexpr std::string_view kKeyMusicSource = "BGM区分";
inline constexpr std::string_view kKeyMusicRepeat = "BGMﾘﾋﾟｰﾄ";
inline constexpr std::string_view kKeyMusicFile = "BGMﾌｧｲﾙ";
inline constexpr std::string_view kSettingsFileName = "Vexlum.ini";

struct Settings {
  int32_t TimeStep = 0;
  int32_t LetterHeight = 0;
  int32_t LetterWidth = 0;
  int32_t Limite = 0;
  int16_t Kind = 0;
  int16_t MusicSource = 0;
  int16_t MusicRepeat = 0;
  std::string MusicFile;
  int32_t ScreenWidthPx = 0;
  int32_t ScreenHeightPx = 0;
  int32_t FrameRateCap = 0;
  int32_t AdapterIndex = 0;
};

// Reads one value: at most 255 bytes, cut at a NUL byte; empty when missing.
std::string ReadIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                    const std::string& file);
// Writes one value; section and key names longer than 127 bytes are cut. Always returns "".
std::string WriteIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                     std::string_view value, const std::string& file);
// True when the path names a file that can be opened for reading (a trailing '/' or '\' is
// dropped first); folders, unreadable and missing files give false.
bool FileExists(std::string_view path);

// Fills the settings record from the file with every default and correction.
void LoadSettings(Settings& settings, ProfileStrings& profile, const std::string& settings_file,
                  const ScreenMetrics& screen);

}  // namespace vx
