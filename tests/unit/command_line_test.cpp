#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "fakes/temp_dir.h"
#include "fakes/wav_bytes.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, TheHostsArgumentComesFirstAndOptionsFollow) {
  const CommandLine cl = ParseCommandLine({"/s", "--seed", "7", "--frames", "10", "--windowed",
                                           "640x480", "--uncapped", "--stats", "--screenshot",
                                           "a.png", "--title", "Hello World"});
  EXPECT_EQ(cl.argument_text, "/s");
  EXPECT_EQ(cl.error, "");
  EXPECT_EQ(cl.options.seed, 7u);
  EXPECT_EQ(cl.options.frames, 10);
  EXPECT_EQ(cl.options.windowed, std::make_pair(640, 480));
  EXPECT_TRUE(cl.options.uncapped && cl.options.stats);
  EXPECT_EQ(cl.options.screenshot, "a.png");
  EXPECT_EQ(cl.options.title, "Hello World");

  struct Case {
    Args args;
    const char* text;
  } cases[] = {
      {{"/p", "1234"}, "/p 1234"},  // the preview's window is a word of its own
      {{"/p:1234"}, "/p:1234"},
      {{"/p", "--fps"}, "/p"},
      {{"/a"}, "/a"},
      {{"-q"}, "-q"},  // not ours: the host's, and ends the run silently
      {{"x"}, "x"},
      {{"-c:1234"}, "-c:1234"},
      {{"/c", "1234"}, "/c 1234"},  // some hosts give the window as a word of its own
      {{"/A", "1234"}, "/A 1234"},
      {{"-root"}, ""},  // ours: there is no host argument
      {{"--frames", "5"}, ""},
      {{"-window", "-fps"}, ""},
  };
  for (const Case& c : cases) {
    const CommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.argument_text, c.text) << c.args[0];
    EXPECT_EQ(parsed.error, "") << c.args[0];
  }
}

TEST(CommandLine, XScreenSaversOptionsTakeOneDashOrTwo) {
  for (const std::string dash : {"-", "--"}) {
    const CommandLine cl = ParseCommandLine({dash + "root", dash + "window", dash + "fps",
                                             dash + "delay", "0", dash + "window-id", "0x3c00007"});
    EXPECT_EQ(cl.error, "");
    EXPECT_TRUE(cl.options.root && cl.options.own_window && cl.options.fps);
    EXPECT_EQ(cl.options.delay_us, 0);
    EXPECT_EQ(cl.options.window_id, 0x3c00007u);
    EXPECT_TRUE(ParseCommandLine({dash + "help"}).options.help);
  }
  EXPECT_TRUE(ParseCommandLine({"-h"}).options.help);
}

TEST(CommandLine, TheHostsWindowIsNamedByIdOrVariableUnlessWindowAsksForOurOwn) {
  const auto hosted = [](const Args& args, const char* variable) {
    return RunsInHostWindow(ParseCommandLine(args).options, variable);
  };
  EXPECT_TRUE(hosted({"-window-id", "5"}, nullptr));
  EXPECT_TRUE(hosted({"-window", "-window-id", "5"}, nullptr));
  EXPECT_TRUE(hosted({"-root"}, nullptr));
  EXPECT_TRUE(hosted({"/s"}, "0x400007"));  // XScreenSaver's variable alone is enough
  EXPECT_FALSE(hosted({"-root", "-window"}, "0x400007"));
  EXPECT_FALSE(hosted({"/s"}, ""));
  EXPECT_FALSE(hosted({}, nullptr));
}

TEST(CommandLine, BadValuesAndUnknownOptionsAreErrors) {
  struct Case {
    Args args;
    bool usage;  // an unknown option: the usage follows the error
  } cases[] = {
      {{"/s", "--frames", "0"}, false},
      {{"/s", "--windowed", "big"}, false},
      {{"/s", "--windowed", "0x10"}, false},
      {{"/s", "--seed"}, false},
      {{"--window-id", "none"}, false},
      {{"--delay", "-1"}, false},
      {{"--delay", "1000001"}, false},
      {{"--atlas", "Letters"}, false},
      {{"--columns", "49"}, false},
      {{"--columns", "201"}, false},
      {{"--speed", "9"}, false},
      {{"--speed", "51"}, false},
      {{"--glyph-height", "14"}, false},
      {{"--glyph-width", "51"}, false},
      {{"--glyph-width", "20.5"}, false},
      {{"--music", ""}, false},
      {{"--music", std::string(kMusicPathLength + 1, 'a')}, false},
      {{"/s", "--bogus"}, true},
      {{"/s", "/c"}, true},  // a second mode is no option of ours either
      {{"-root", "extra"}, true},
      // First, what only a person types: a misspelt option, never a host's request.
      {{"--bogus"}, true},
      {{"--fullscreen"}, true},
      {{"-fullscreen"}, true},
      {{"--"}, true},
  };
  for (const Case& c : cases) {
    const CommandLine cl = ParseCommandLine(c.args);
    EXPECT_NE(cl.error, "") << c.args.back();
    EXPECT_EQ(cl.show_usage, c.usage) << c.args.back();
  }
  EXPECT_EQ(ParseCommandLine({"/s", "--bogus"}).error, "unknown option '--bogus'");
  EXPECT_EQ(ParseCommandLine({"--colums", "150"}).error, "unknown option '--colums'");
  // The range's ends are taken.
  const CommandLine ends = ParseCommandLine(
      {"--columns", "200", "--speed", "10", "--glyph-height", "50", "--glyph-width", "15"});
  EXPECT_EQ(ends.error, "");
  EXPECT_EQ(ends.options.column_limit, 200);
}

TEST(CommandLine, OptionsReplaceOnlyWhatTheyName) {
  test::TempDir dir;
  dir.Write("song.wav", test::WavBytes({}));
  dir.Write("broken.wav", test::WavBytes({.channels = 0, .block_align = 0}));
  Settings file_settings;
  file_settings.column_limit = 77;
  file_settings.time_step = 33;
  file_settings.frame_rate_cap = 40;
  file_settings.music_source = MusicSource::kCd;

  Settings s = file_settings;
  EXPECT_EQ(ApplyOptionsToSettings(ParseCommandLine({"--music", dir.File("song.wav")}).options, s),
            "");
  EXPECT_EQ(s.music_source, MusicSource::kFile);
  EXPECT_EQ(s.music_file, dir.File("song.wav"));
  EXPECT_EQ(s.column_limit, 77);
  EXPECT_EQ(s.time_step, 33);
  EXPECT_EQ(s.frame_rate_cap, 40);

  // A song that cannot be read, or not safely played, costs the music, not the picture (and
  // says so); --no-music wins.
  EXPECT_NE(
      ApplyOptionsToSettings(ParseCommandLine({"--music", dir.File("broken.wav")}).options, s), "");
  for (const Args& args :
       {Args{"--music", dir.File("gone.mp3")}, Args{"--music", dir.File("broken.wav")},
        Args{"--no-music", "--music", dir.File("song.wav")}}) {
    s = file_settings;
    ApplyOptionsToSettings(ParseCommandLine(args).options, s);
    EXPECT_EQ(s.music_source, MusicSource::kNone) << args[0];
  }

  // -delay is microseconds between frames: the cap is its rate, rounded half to even.
  struct Delay {
    const char* us;
    int32_t cap;
  } delays[] = {{"0", -1},     {"25000", 40},  {"30000", 33}, {"16000", 62},
                {"400000", 2}, {"1000000", 1}, {"800000", 1}};
  for (const Delay& d : delays) {
    s = file_settings;
    ApplyOptionsToSettings(ParseCommandLine({"-delay", d.us}).options, s);
    EXPECT_EQ(s.frame_rate_cap, d.cap) << d.us;
  }
}

TEST(CommandLine, WindowIdsAreReadStrictly) {
  EXPECT_EQ(ParseWindowId("012"), 12u);  // decimal, not octal
  EXPECT_EQ(ParseWindowId("0x2A"), 42u);
  for (const char* bad : {"", "0x", "12a", "-1", "+5", " 7", "0x-1", "1e3", "99999999999999999999"})
    EXPECT_FALSE(ParseWindowId(bad)) << bad;
}

// The options are said once, in the table --help is made from; the manual must describe each,
// and XScreenSaver's panel may pass none the table lacks.
TEST(CommandLine, TheManualDescribesEveryOptionAndThePanelPassesOnlyOurs) {
  const char* root = std::getenv("VEXLUM_SOURCE_DIR");
  const std::string manual =
      test::TempDir::Read(std::string(root ? root : ".") + "/packaging/vexlum.6");
  const std::string panel =
      test::TempDir::Read(std::string(root ? root : ".") + "/packaging/vexlum.xml");
  if (manual.empty() || panel.empty()) GTEST_SKIP() << "the packaging files are not readable here";
  const std::vector<std::string_view> names = OptionNames();
  for (std::string_view name : names) {
    if (name.size() == 1) continue;  // a short spelling, listed beside its long one
    std::string escaped = "\\-\\-";  // as troff writes "--"
    for (char c : name) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_NE(manual.find(escaped), std::string::npos) << "the manual lacks --" << name;
  }
  const std::regex passed(R"re(arg(-set)?="--?([a-z-]+))re");
  int seen = 0;
  for (std::sregex_iterator it(panel.begin(), panel.end(), passed), end; it != end; ++it, ++seen)
    EXPECT_NE(std::ranges::find(names, (*it)[2].str()), names.end())
        << "the panel passes --" << (*it)[2].str();
  EXPECT_GE(seen, 10);
}

}  // namespace
}  // namespace vx
