#include "startup/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

#include "core/console.h"
#include "core/numbers.h"
#include "music/background_music.h"

namespace vx {
namespace {

template <typename T>
std::optional<T> ParseWhole(const std::string& s, int base = 10) {
  T v{};
  if (s.empty()) return std::nullopt;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

// The option's name without its one or two leading dashes; "" when it has none.
std::string_view OptionName(std::string_view arg) {
  if (arg.size() > 2 && arg.substr(0, 2) == "--") return arg.substr(2);
  if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') return arg.substr(1);
  return {};
}

using Apply = std::function<std::string(SaverOptions&, const std::string&)>;

Apply Flag(bool SaverOptions::*member) {
  return [member](SaverOptions& o, const std::string&) {
    o.*member = true;
    return std::string();
  };
}

// A whole number in [low, high], as the settings dialog's scroll bar for it allows.
Apply Ranged(std::optional<int32_t> SaverOptions::*member, std::string_view name, int32_t low,
             int32_t high) {
  return [=](SaverOptions& o, const std::string& v) {
    const auto n = ParseWhole<int32_t>(v);
    if (!n || *n < low || *n > high)
      return "--" + std::string(name) + " needs a whole number from " + std::to_string(low) +
             " to " + std::to_string(high) + ", not '" + v + "'";
    o.*member = *n;
    return std::string();
  };
}

enum class Group { kXScreenSaver, kThisRun, kTests };

// Every option, said once: how it is read, and how --help shows it.
struct Option {
  std::string_view name;  // without its dashes
  bool takes_value;
  Group group;
  std::string_view shown;  // its --help entry's left column
  std::string_view help;   // its --help text; '\n' starts a continued line
  Apply apply;             // stores the value (empty for a flag); returns an error, or ""
};

const std::vector<Option>& Options() {
  using G = Group;
  static const std::vector<Option> options = {
      {"root", false, G::kXScreenSaver, "-root",
       "draw in $XSCREENSAVER_WINDOW, or else the root window", Flag(&SaverOptions::root)},
      {"window", false, G::kXScreenSaver, "-window",
       "draw in a window of our own (960 x 540 unless --windowed)",
       Flag(&SaverOptions::own_window)},
      {"window-id", true, G::kXScreenSaver, "-window-id ID",
       "draw in the window ID (decimal or 0x hexadecimal)",
       [](SaverOptions& o, const std::string& v) {
         o.window_id = ParseWindowId(v);
         return o.window_id ? std::string() : "--window-id needs a window id, not '" + v + "'";
       }},
      {"fps", false, G::kXScreenSaver, "-fps", "show the frame rate and CPU load in a corner",
       Flag(&SaverOptions::fps)},
      {"delay", true, G::kXScreenSaver, "-delay N",
       "N microseconds between frames, 0 to 1000000 (0: no cap;\nwithout it at most 40 frames a "
       "second)",
       [](SaverOptions& o, const std::string& v) {
         const auto n = ParseWhole<int32_t>(v);
         if (!n || *n < 0 || *n > kMaxDelayUs)
           return "--delay needs microseconds from 0 to " + std::to_string(kMaxDelayUs) +
                  ", not '" + v + "'";
         o.delay_us = *n;
         return std::string();
       }},
      {"help", false, G::kXScreenSaver, "-h, -help", "this text", Flag(&SaverOptions::help)},
      {"h", false, G::kXScreenSaver, "", "", Flag(&SaverOptions::help)},
      {"version", false, G::kXScreenSaver, "--version", "the program's version",
       Flag(&SaverOptions::version)},
      {"atlas", true, G::kThisRun, "--atlas letters|scenery", "the glyphs' pictures",
       [](SaverOptions& o, const std::string& v) {
         if (v == "letters") {
           o.atlas = AtlasKind::kLetters;
         } else if (v == "scenery") {
           o.atlas = AtlasKind::kScenery;
         } else {
           return "--atlas needs letters or scenery, not '" + v + "'";
         }
         return std::string();
       }},
      {"columns", true, G::kThisRun, "--columns N", "how many columns stand at once, 50 to 200",
       Ranged(&SaverOptions::column_limit, "columns", 50, 200)},
      {"speed", true, G::kThisRun, "--speed N", "how fast everything moves, 10 to 50",
       Ranged(&SaverOptions::time_step, "speed", 10, 50)},
      {"glyph-height", true, G::kThisRun, "--glyph-height N", "glyph height, 15 to 50",
       Ranged(&SaverOptions::glyph_height, "glyph-height", 15, 50)},
      {"glyph-width", true, G::kThisRun, "--glyph-width N", "glyph width, 15 to 50",
       Ranged(&SaverOptions::glyph_width, "glyph-width", 15, 50)},
      {"music", true, G::kThisRun, "--music FILE",
       "loop this MP3 or WAV file (one that cannot be read: silence)",
       [](SaverOptions& o, const std::string& v) {
         if (v.empty()) return std::string("--music needs a file name");
         if (v.size() > kMusicPathLength)
           return "--music: the file name is longer than " + std::to_string(kMusicPathLength) +
                  " bytes";
         o.music_file = v;
         return std::string();
       }},
      {"no-music", false, G::kThisRun, "--no-music", "play nothing", Flag(&SaverOptions::no_music)},
      {"monitors", true, G::kThisRun, "--monitors all|primary",
       "a scene on every monitor (all), or on the primary one only,\nthe others black",
       [](SaverOptions& o, const std::string& v) {
         if (v != "all" && v != "primary")
           return "--monitors needs all or primary, not '" + v + "'";
         o.primary_monitor_only = v == "primary";
         return std::string();
       }},
      {"windowed", true, G::kTests, "--windowed WxH",
       "draw in a window of W x H pixels instead of full screen",
       [](SaverOptions& o, const std::string& v) {
         const size_t x = v.find_first_of("xX");
         const auto w = x == std::string::npos ? std::nullopt : ParseWhole<int>(v.substr(0, x));
         const auto h = x == std::string::npos ? std::nullopt : ParseWhole<int>(v.substr(x + 1));
         if (!w || !h || *w < 1 || *h < 1 || *w > 16384 || *h > 16384)
           return "--windowed needs a size such as 1280x720, not '" + v + "'";
         o.windowed = std::make_pair(*w, *h);
         return std::string();
       }},
      {"seed", true, G::kTests, "--seed N",
       "seed the random generator with N (same seed, same picture)",
       [](SaverOptions& o, const std::string& v) {
         o.seed = ParseWhole<uint32_t>(v);
         return o.seed ? std::string() : "--seed needs a whole number, not '" + v + "'";
       }},
      {"frames", true, G::kTests, "--frames N",
       "end after N drawn frames (renders off-screen without a display)",
       [](SaverOptions& o, const std::string& v) {
         o.frames = ParseWhole<int64_t>(v);
         if (!o.frames || *o.frames < 1)
           return "--frames needs a positive whole number, not '" + v + "'";
         return std::string();
       }},
      {"screenshot", true, G::kTests, "--screenshot F", "write the last frame to the PNG file F",
       [](SaverOptions& o, const std::string& v) {
         o.screenshot = v;
         return v.empty() ? std::string("--screenshot needs a file name") : std::string();
       }},
      {"screenshot-all", true, G::kTests, "--screenshot-all F",
       "the same for every monitor: F for the primary one, then F-2,\nF-3... (F-2.png for "
       "F.png)",
       [](SaverOptions& o, const std::string& v) {
         o.screenshot = v;
         o.screenshot_all = true;
         return v.empty() ? std::string("--screenshot-all needs a file name") : std::string();
       }},
      {"uncapped", false, G::kTests, "--uncapped", "do not limit the frame rate",
       Flag(&SaverOptions::uncapped)},
      {"stats", false, G::kTests, "--stats",
       "at the end print frames, frames per second, CPU ms per frame\nand GL draw calls per "
       "frame",
       Flag(&SaverOptions::stats)},
      {"title", true, G::kTests, "--title TEXT", "show TEXT as the title sequence's text",
       [](SaverOptions& o, const std::string& v) {
         o.title = v;
         return std::string();
       }},
  };
  return options;
}

const Option* FindOption(std::string_view arg) {
  const std::string_view name = OptionName(arg);
  if (name.empty()) return nullptr;
  for (const Option& option : Options())
    if (option.name == name) return &option;
  return nullptr;
}

}  // namespace

std::optional<uint64_t> ParseWindowId(const std::string& s) {
  // Only digits: from_chars would also take a sign.
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const std::string digits = hex ? s.substr(2) : s;
  const bool ok = !digits.empty() && std::all_of(digits.begin(), digits.end(), [&](char c) {
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
  });
  if (!ok) return std::nullopt;
  return ParseWhole<uint64_t>(digits, hex ? 16 : 10);
}

bool RunsInHostWindow(const SaverOptions& o, const char* named_window) {
  if (o.window_id) return true;
  if (o.own_window) return false;
  return (named_window != nullptr && *named_window != '\0') || o.root;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  size_t i = 0;
  // The host's argument is never taken for an option unless it is one of ours, which no host
  // sends: "/a", "x" or "-q" stay the host's text and end the run silently. What only a person
  // types, "--" and a word or a dash and a word, is a misspelt option (a host writes "/c:123").
  if (!args.empty() && !FindOption(args[0])) {
    const std::string& first = args[0];
    if (first.starts_with("--") || (first.size() > 2 && first[0] == '-' && first[2] != ':')) {
      cl.error = "unknown option '" + first + "'";
      cl.show_usage = true;
      return cl;
    }
    cl.argument_text = args[i++];
    const char mode =
        cl.argument_text.size() >= 2
            ? static_cast<char>(std::tolower(static_cast<unsigned char>(cl.argument_text[1])))
            : '\0';
    // "/p 1234": the host's window follows as a word of its own. Some hosts write "/c 1234"
    // and "/a 1234" so too: a window handle after those is the host's as well.
    const bool handle_follows =
        i < args.size() && !args[i].empty() &&
        std::all_of(args[i].begin(), args[i].end(), [](char c) { return c >= '0' && c <= '9'; });
    if (i < args.size() &&
        ((mode == 'p' && !FindOption(args[i])) || ((mode == 'c' || mode == 'a') && handle_follows)))
      cl.argument_text += ' ' + args[i++];
  }
  for (; i < args.size(); ++i) {
    const Option* option = FindOption(args[i]);
    if (!option) {
      cl.error = "unknown option '" + args[i] + "'";
      cl.show_usage = true;
      return cl;
    }
    std::string value;
    if (option->takes_value) {
      if (i + 1 >= args.size()) {
        cl.error = "--" + std::string(option->name) + " needs a value";
        return cl;
      }
      value = args[++i];
    }
    cl.error = option->apply(cl.options, value);
    if (!cl.error.empty()) return cl;
  }
  return cl;
}

std::string ApplyOptionsToSettings(const SaverOptions& o, Settings& s) {
  if (o.atlas) s.atlas = *o.atlas;
  if (o.column_limit) s.column_limit = *o.column_limit;
  if (o.time_step) s.time_step = *o.time_step;
  if (o.glyph_height) s.glyph_height = *o.glyph_height;
  if (o.glyph_width) s.glyph_width = *o.glyph_width;
  // -delay 0 draws as fast as it can; any other delay becomes the frames-per-second cap the
  // pacer keeps (at least one frame a second).
  if (o.delay_us)
    s.frame_rate_cap = *o.delay_us == 0 ? -1 : std::max(1, Round32(1e6 / *o.delay_us));
  std::string warning;
  if (o.music_file) {
    // A missing or unplayable song must not cost the picture: the run goes on in silence.
    if (!FileExists(*o.music_file)) {
      warning = "cannot read the music file '" + *o.music_file + "'; playing no music";
      s.music_source = MusicSource::kNone;
    } else if (!CanPlayMusicFile(*o.music_file)) {
      warning = "'" + *o.music_file +
                "' is not an MP3 or WAV file that can be played safely; playing no music";
      s.music_source = MusicSource::kNone;
    } else {
      s.music_source = MusicSource::kFile;
      s.music_file = *o.music_file;
    }
  }
  if (o.no_music) s.music_source = MusicSource::kNone;
  return warning;
}

std::string UsageText() {
  std::string text =
      "Usage: vexlum [/s | /c | /p <window-id>] [options]\n"
      "       vexlum [options]\n"
      "\n"
      "  /s                  run the screen saver full screen (cursor hidden)\n"
      "  /c                  open the settings dialog\n"
      "  /p <window-id>      show the preview inside the X window <window-id>\n"
      "  (nothing)           run the screen saver, cursor left visible\n"
      "Only the second character of the first argument counts; any other first argument\n"
      "(such as /a) ends at once, unless it is one of the options below: then the saver\n"
      "runs as XScreenSaver runs it (vexlum -root, vexlum -window -fps). Options take one\n"
      "dash or two; an unknown one is an error (status 2).\n";
  constexpr std::pair<Group, std::string_view> kHeadings[] = {
      {Group::kXScreenSaver, "XScreenSaver's options:"},
      {Group::kThisRun,
       "Settings for this run (the settings file is neither read for them nor written):"},
      {Group::kTests, "For tests and measurements:"},
  };
  constexpr size_t kHelpColumn = 22;
  for (const auto& [group, heading] : kHeadings) {
    text += "\n" + std::string(heading) + "\n";
    for (const Option& option : Options()) {
      if (option.group != group || option.shown.empty()) continue;
      std::string line = "  " + std::string(option.shown);
      line.resize(std::max(line.size() + 2, kHelpColumn), ' ');
      for (const char c : option.help)
        line += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
      text += line + "\n";
    }
  }
  return text + "\nExit status: 0 ended normally, 1 could not run, 2 bad command line.\n";
}

std::vector<std::string_view> OptionNames() {
  std::vector<std::string_view> names;
  for (const Option& option : Options()) names.push_back(option.name);
  return names;
}

void PrintCommandLineError(const CommandLine& command_line, std::ostream& err) {
  if (command_line.show_usage)
    err << ConsoleLine(command_line.error) << "\n\n" << UsageText();
  else
    SayLine(err, command_line.error + " (see vexlum --help)");
}

}  // namespace vx
