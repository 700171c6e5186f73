// The settings record, read once per run from the INI file, and its small file helpers.
#pragma once

#include <cstddef>
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
inline constexpr std::string_view kKeyColumnLimit = "Limite";
inline constexpr std::string_view kKeyAtlas = "Kind";
inline constexpr std::string_view kKeyMusicSource = "BGM区分";
inline constexpr std::string_view kKeyMusicRepeat = "BGMﾘﾋﾟｰﾄ";
inline constexpr std::string_view kKeyMusicFile = "BGMﾌｧｲﾙ";
inline constexpr std::string_view kSettingsFileName = "Vexlum.ini";

// Which atlas the glyphs show. The file may hold any 16-bit number: 0 draws scenery, every
// other value letters.
enum class AtlasKind : int16_t { kScenery = 0, kLetters = 1 };

// Where the music comes from. The file may hold any 16-bit number; values other than these
// play nothing.
enum class MusicSource : int16_t { kNone = 0, kCd = 1, kFile = 2 };

// Read once per run and not changed after.
struct Settings {
  int32_t time_step = 0;  // step units every drawn frame adds to every clock ("SpeedFactor")
  int32_t glyph_height = 0;
  int32_t glyph_width = 0;
  int32_t column_limit = 0;
  AtlasKind atlas = AtlasKind::kScenery;
  MusicSource music_source = MusicSource::kNone;
  int16_t repeat_track = 0;  // the CD track to come back to; 0 plays the disc through
  std::string music_file;
  int32_t screen_width_px = 0;  // the primary screen
  int32_t screen_height_px = 0;
  int32_t frame_rate_cap = 0;
  int32_t adapter_index = 0;
};

// The longest value the numbers and choices are read with, and the longest music path: the
// dialog refuses a longer one, so what is saved always reads back whole.
inline constexpr size_t kValueLength = 255;
inline constexpr size_t kMusicPathLength = 4095;

// Reads one value: at most `max_length` bytes, cut at a NUL byte; empty when missing.
std::string ReadIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                    const std::string& file, size_t max_length = kValueLength);
// Writes one value; section and key names longer than 127 bytes are cut. Always returns "".
std::string WriteIni(ProfileStrings& profile, std::string_view section, std::string_view key,
                     std::string_view value, const std::string& file);
// True when the path names a regular file that can be opened for reading (a trailing '/' or
// '\' is dropped first); folders, devices, FIFOs, unreadable and missing files give false.
// Never blocks: nothing but a regular file is opened.
bool FileExists(std::string_view path);

// Fills the settings record from the file with every default and correction.
void LoadSettings(Settings& settings, ProfileStrings& profile, const std::string& settings_file,
                  const ScreenMetrics& screen);

}  // namespace vx
