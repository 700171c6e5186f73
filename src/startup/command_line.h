// Splits the process arguments into the host's argument text and our own options.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings.h"

namespace vx {

struct SaverOptions {
  std::optional<std::pair<int, int>> windowed;  // --windowed WxH
  std::optional<uint32_t> seed;                 // --seed N
  std::optional<int64_t> frames;                // --frames N
  std::string screenshot;                       // --screenshot FILE, --screenshot-all FILE
  bool screenshot_all = false;                  // every monitor's picture, not the primary's
  bool uncapped = false;                        // --uncapped
  bool stats = false;                           // --stats
  std::optional<std::string> title;             // --title TEXT
  // The options every XScreenSaver hack takes.
  bool root = false;                  // -root
  bool own_window = false;            // -window
  std::optional<uint64_t> window_id;  // -window-id ID
  bool fps = false;                   // -fps
  std::optional<int32_t> delay_us;    // -delay N
  bool help = false;                  // -h, -help
  bool version = false;               // --version
  // The settings file's values, replaced for this run only.
  std::optional<AtlasKind> atlas;         // --atlas letters|scenery
  std::optional<int32_t> column_limit;    // --columns N
  std::optional<int32_t> time_step;       // --speed N
  std::optional<int32_t> glyph_height;    // --glyph-height N
  std::optional<int32_t> glyph_width;     // --glyph-width N
  std::optional<std::string> music_file;  // --music FILE
  bool no_music = false;                  // --no-music
  bool primary_monitor_only = false;      // --monitors primary (else all)
};

struct CommandLine {
  std::string argument_text;  // what the screen-saver host passed ("/s", "/p 1234"), or ""
  SaverOptions options;
  std::string error;        // non-empty when the command line cannot be run
  bool show_usage = false;  // the error is an unknown option: the usage follows it
};

// The window size -window opens when --windowed does not choose one.
inline constexpr std::pair<int, int> kOwnWindowSize{960, 540};
// The longest -delay taken: a frame a second.
inline constexpr int32_t kMaxDelayUs = 1000000;

// A window id as XScreenSaver writes it: decimal, or hexadecimal after "0x" (a leading zero
// does not make it octal). nullopt for anything else.
std::optional<uint64_t> ParseWindowId(const std::string& text);

// True when the saver is to draw in a window its host made: -window-id; unless -window asks
// for a window of its own, the window XScreenSaver names in its variable (`named_window`,
// null when unset); else, with -root, the root window.
bool RunsInHostWindow(const SaverOptions& options, const char* named_window);

// args excludes the program name. A screen-saver host's argument comes first ("/s", "/c",
// "/p <id>"); when the first argument is one of our options there is none, and the saver runs
// as XScreenSaver runs its hacks. Options take one dash or two, as XScreenSaver's do.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The options that replace settings-file values or pacing, applied to freshly loaded settings.
// Returns a warning to show (a music file that cannot be read), or "".
std::string ApplyOptionsToSettings(const SaverOptions& options, Settings& settings);

// The usage --help prints, made from the table of options.
std::string UsageText();
// Every option's name without its dashes, from that table.
std::vector<std::string_view> OptionNames();

// Says what is wrong with a command line that cannot be run: one line naming the fault, and
// the usage after an option that is not known at all. The process then ends with status 2.
void PrintCommandLineError(const CommandLine& command_line, std::ostream& err);

}  // namespace vx
