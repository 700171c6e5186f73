#include "startup/command_line.h"

#include <algorithm>
#include <charconv>

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

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::vector<std::string> host;
  size_t i = 0;
  auto value = [&](const std::string& name) -> std::optional<std::string> {
    if (i + 1 >= args.size()) {
      cl.error = name + " needs a value";
      return std::nullopt;
    }
    return args[++i];
  };
  // XScreenSaver's arguments come first, before anything the host passes. XScreenSaver 6
  // spells them with two dashes (its settings window runs previews with "--window-id"),
  // older versions and hand-written command lines with one.
  for (; i < args.size(); ++i) {
    if (args[i] == "-root" || args[i] == "--root") {
      cl.options.root = true;
    } else if (args[i] == "-window-id" || args[i] == "--window-id") {
      auto v = value(args[i]);
      if (!v) return cl;
      cl.options.window_id = ParseWindowId(*v);
      if (!cl.options.window_id) cl.error = "-window-id needs a window id, not '" + *v + "'";
    } else {
      break;
    }
  }
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (host.empty() || a.rfind("--", 0) != 0) {
      host.push_back(a);
      continue;
    }
    if (a == "--uncapped") {
      cl.options.uncapped = true;
    } else if (a == "--stats") {
      cl.options.stats = true;
    } else if (a == "--windowed") {
      auto v = value(a);
      if (!v) return cl;
      int w = 0, h = 0;
      size_t x = v->find_first_of("xX");
      auto wp = x == std::string::npos ? std::nullopt : ParseWhole<int>(v->substr(0, x));
      auto hp = x == std::string::npos ? std::nullopt : ParseWhole<int>(v->substr(x + 1));
      if (wp && hp && *wp > 0 && *hp > 0 && *wp <= 16384 && *hp <= 16384) {
        w = *wp;
        h = *hp;
        cl.options.windowed = std::make_pair(w, h);
      } else {
        cl.error = "--windowed needs a size such as 1280x720, not '" + *v + "'";
      }
    } else if (a == "--seed") {
      auto v = value(a);
      if (!v) return cl;
      cl.options.seed = ParseWhole<uint32_t>(*v);
      if (!cl.options.seed) cl.error = "--seed needs a whole number, not '" + *v + "'";
    } else if (a == "--frames") {
      auto v = value(a);
      if (!v) return cl;
      cl.options.frames = ParseWhole<int64_t>(*v);
      if (!cl.options.frames || *cl.options.frames < 1)
        cl.error = "--frames needs a positive whole number, not '" + *v + "'";
    } else if (a == "--screenshot") {
      auto v = value(a);
      if (!v) return cl;
      cl.options.screenshot = *v;
    } else if (a == "--title") {
      auto v = value(a);
      if (!v) return cl;
      cl.options.title = *v;
    } else {
      host.push_back(a);  // not ours: it belongs to the host's argument text
    }
  }
  for (size_t k = 0; k < host.size(); ++k) {
    if (k) cl.argument_text += ' ';
    cl.argument_text += host[k];
  }
  return cl;
}

std::string UsageText() {
  return "Usage: vexlum [/s | /c | /p <window-id>] [options]\n"
         "\n"
         "  /s               run the screen saver full screen (cursor hidden)\n"
         "  (nothing)        run the screen saver, cursor left visible\n"
         "  /c               open the settings dialog\n"
         "  /p <window-id>   show the preview inside the X window <window-id> (decimal)\n"
         "\n"
         "Options for the saver:\n"
         "  --windowed WxH   draw in a window of W x H pixels instead of full screen\n"
         "  --seed N         seed the random generator with N (same seed, same picture)\n"
         "  --frames N       end after N drawn frames (renders off-screen without a display)\n"
         "  --screenshot F   write the last frame to the PNG file F\n"
         "  --uncapped       do not limit the frame rate to 40 frames per second\n"
         "  --stats          at the end print frames, frames per second, CPU ms per frame\n"
         "                   and GL draw calls per frame\n"
         "  --title TEXT     show TEXT as the title sequence's text\n"
         "\n"
         "XScreenSaver: -root or -window-id <id> (before the mode) draws into that window;\n"
         "so does the XSCREENSAVER_WINDOW environment variable.\n"
         "\n"
         "  --help           this text\n"
         "  --version        the program's version\n";
}

}  // namespace vx
