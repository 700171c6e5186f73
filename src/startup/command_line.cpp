#include "startup/command_line.h"

#include <algorithm>
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

struct Option {
  std::string_view name;
  bool takes_value;
  // Stores the value (empty for a flag); returns an error message, or "".
  std::function<std::string(SaverOptions&, const std::string&)> apply;
};

std::function<std::string(SaverOptions&, const std::string&)> Flag(bool SaverOptions::*member) {
  return [member](SaverOptions& o, const std::string&) {
    o.*member = true;
    return std::string();
  };
}

// A whole number in [low, high], as the settings dialog's scroll bar for it allows.
std::function<std::string(SaverOptions&, const std::string&)> Ranged(
    std::optional<int32_t> SaverOptions::*member, std::string_view name, int32_t low,
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

const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      {"help", false, Flag(&SaverOptions::help)},
      {"h", false, Flag(&SaverOptions::help)},
      {"version", false, Flag(&SaverOptions::version)},
      {"root", false, Flag(&SaverOptions::root)},
      {"window", false, Flag(&SaverOptions::own_window)},
      {"window-id", true,
       [](SaverOptions& o, const std::string& v) {
         o.window_id = ParseWindowId(v);
         return o.window_id ? std::string() : "--window-id needs a window id, not '" + v + "'";
       }},
      {"fps", false, Flag(&SaverOptions::fps)},
      {"delay", true,
       [](SaverOptions& o, const std::string& v) {
         const auto n = ParseWhole<int32_t>(v);
         if (!n || *n < 0 || *n > kMaxDelayUs)
           return "--delay needs microseconds from 0 to " + std::to_string(kMaxDelayUs) +
                  ", not '" + v + "'";
         o.delay_us = *n;
         return std::string();
       }},
      {"atlas", true,
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
      {"columns", true, Ranged(&SaverOptions::column_limit, "columns", 50, 200)},
      {"speed", true, Ranged(&SaverOptions::time_step, "speed", 10, 50)},
      {"glyph-height", true, Ranged(&SaverOptions::glyph_height, "glyph-height", 15, 50)},
      {"glyph-width", true, Ranged(&SaverOptions::glyph_width, "glyph-width", 15, 50)},
      {"music", true,
       [](SaverOptions& o, const std::string& v) {
         if (v.empty()) return std::string("--music needs a file name");
         if (v.size() > kMusicPathLength)
           return "--music: the file name is longer than " + std::to_string(kMusicPathLength) +
                  " bytes";
         o.music_file = v;
         return std::string();
       }},
      {"no-music", false, Flag(&SaverOptions::no_music)},
      {"windowed", true,
       [](SaverOptions& o, const std::string& v) {
         const size_t x = v.find_first_of("xX");
         const auto w = x == std::string::npos ? std::nullopt : ParseWhole<int>(v.substr(0, x));
         const auto h = x == std::string::npos ? std::nullopt : ParseWhole<int>(v.substr(x + 1));
         if (!w || !h || *w < 1 || *h < 1 || *w > 16384 || *h > 16384)
           return "--windowed needs a size such as 1280x720, not '" + v + "'";
         o.windowed = std::make_pair(*w, *h);
         return std::string();
       }},
      {"seed", true,
       [](SaverOptions& o, const std::string& v) {
         o.seed = ParseWhole<uint32_t>(v);
         return o.seed ? std::string() : "--seed needs a whole number, not '" + v + "'";
       }},
      {"frames", true,
       [](SaverOptions& o, const std::string& v) {
         o.frames = ParseWhole<int64_t>(v);
         if (!o.frames || *o.frames < 1)
           return "--frames needs a positive whole number, not '" + v + "'";
         return std::string();
       }},
      {"screenshot", true,
       [](SaverOptions& o, const std::string& v) {
         o.screenshot = v;
         return v.empty() ? std::string("--screenshot needs a file name") : std::string();
       }},
      {"uncapped", false, Flag(&SaverOptions::uncapped)},
      {"stats", false, Flag(&SaverOptions::stats)},
      {"title", true,
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
  // sends: "/a", "x" or "-q" stay the host's text and end the run silently.
  if (!args.empty() && !FindOption(args[0])) {
    cl.argument_text = args[i++];
    const bool preview =
        cl.argument_text.size() >= 2 && (cl.argument_text[1] == 'p' || cl.argument_text[1] == 'P');
    // "/p 1234": the host's window follows as a word of its own.
    if (preview && i < args.size() && !FindOption(args[i])) cl.argument_text += ' ' + args[i++];
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
  return "Usage: vexlum [/s | /c | /p <window-id>] [options]\n"
         "       vexlum [options]\n"
         "\n"
         "  /s                  run the screen saver full screen (cursor hidden)\n"
         "  /c                  open the settings dialog\n"
         "  /p <window-id>      show the preview inside the X window <window-id>\n"
         "  (nothing)           run the screen saver, cursor left visible\n"
         "Only the second character of the first argument counts; any other first argument\n"
         "(such as /a) ends at once, unless it is one of the options below: then the saver\n"
         "runs as XScreenSaver runs it (vexlum -root, vexlum -window -fps). Options take one\n"
         "dash or two; an unknown one is an error (status 2).\n"
         "\n"
         "XScreenSaver's options:\n"
         "  -root               draw in $XSCREENSAVER_WINDOW, or else the root window\n"
         "  -window             draw in a window of our own (960 x 540 unless --windowed)\n"
         "  -window-id ID       draw in the window ID (decimal or 0x hexadecimal)\n"
         "  -fps                show the frame rate and CPU load in a corner\n"
         "  -delay N            N microseconds between frames, 0 to 1000000 (0: no cap;\n"
         "                      without it at most 40 frames a second)\n"
         "  -h, -help           this text\n"
         "  --version           the program's version\n"
         "\n"
         "Settings for this run (the settings file is neither read for them nor written):\n"
         "  --atlas letters|scenery  the glyphs' pictures\n"
         "  --columns N         how many columns stand at once, 50 to 200\n"
         "  --speed N           how fast everything moves, 10 to 50\n"
         "  --glyph-height N    glyph height, 15 to 50\n"
         "  --glyph-width N     glyph width, 15 to 50\n"
         "  --music FILE        loop this MP3 or WAV file (one that cannot be read: silence)\n"
         "  --no-music          play nothing\n"
         "\n"
         "For tests and measurements:\n"
         "  --windowed WxH      draw in a window of W x H pixels instead of full screen\n"
         "  --seed N            seed the random generator with N (same seed, same picture)\n"
         "  --frames N          end after N drawn frames (renders off-screen without a display)\n"
         "  --screenshot F      write the last frame to the PNG file F\n"
         "  --uncapped          do not limit the frame rate\n"
         "  --stats             at the end print frames, frames per second, CPU ms per frame\n"
         "                      and GL draw calls per frame\n"
         "  --title TEXT        show TEXT as the title sequence's text\n"
         "\n"
         "Exit status: 0 ended normally, 1 could not run, 2 bad command line.\n";
}

void PrintCommandLineError(const CommandLine& command_line, std::ostream& err) {
  if (command_line.show_usage)
    err << ConsoleLine(command_line.error) << "\n\n" << UsageText();
  else
    SayLine(err, command_line.error + " (see vexlum --help)");
}

}  // namespace vx
