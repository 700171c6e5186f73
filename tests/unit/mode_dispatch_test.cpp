#include "startup/mode_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "settings/ini_profile_strings.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

// Keeps which mode ran (a preview with its window) and what it was given.
struct RecordingModes : ModeRunner {
  int Ran(std::string mode, const StartupState& state) {
    ran = std::move(mode);
    seen = state;
    return 0;
  }
  int RunPreview(StartupState& s, int32_t h) override {
    return Ran("preview " + std::to_string(h), s);
  }
  int RunSettingsDialog(StartupState& s) override { return Ran("dialog", s); }
  int RunSaver(StartupState& s) override { return Ran("saver", s); }
  std::string ran;
  StartupState seen;
};

// Start-up over a settings file that limits the columns to 5, so that its reading shows.
struct Dispatch {
  Dispatch() { dir.Write("Vexlum.ini", "[Section]\nLimite=5\n"); }
  int Run(const Args& args, bool in_host_window = false) {
    StartupServices sv{windows, profile, modes, dir.File("Vexlum.ini"), out, err, in_host_window};
    return DispatchMode(ParseCommandLine(args), sv);
  }
  bool Called(const std::string& call) const { return std::ranges::count(windows.calls, call) > 0; }
  test::FakeWindowSystem windows;
  IniProfileStrings profile;
  RecordingModes modes;
  test::TempDir dir;
  std::ostringstream out, err;
};

TEST(DispatchMode, TheModeLetterChoosesTheModeAndWhatItIsGiven) {
  struct Case {
    Args args;
    const char* mode;
    int32_t column_limit;  // 0: the settings were not read
    bool hides_cursor;
  } cases[] = {
      {{"/p", "1234"}, "preview 1234", 0, false},
      {{"/P:1234"}, "preview 1234", 0, false},
      {{"-p", " 1234"}, "preview 1234", 0, false},
      {{"/p"}, "preview 0", 0, false},
      {{"/c"}, "dialog", 5, false},
      {{"/c:1234"}, "dialog", 5, false},
      {{"/c", "1234"}, "dialog", 5, false},
      {{"-C"}, "dialog", 5, false},
      {{"/s"}, "saver", 5, true},
      {{"-S"}, "saver", 5, true},
      {{"xs"}, "saver", 5, true},
      {{}, "saver", 5, false},  // no text: the saver, with the cursor left visible
      {{"/a"}, "", 0, false},   // every other text ends silently
      {{"/a", "1234"}, "", 0, false},
      {{"s"}, "", 0, false},
      {{"-q"}, "", 0, false},          // not one of our options: still the host's text
      {{"-root"}, "saver", 5, false},  // an option first: run as XScreenSaver runs hacks
      {{"--frames", "5"}, "saver", 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    Dispatch d;
    EXPECT_EQ(d.Run(c.args), 0);
    EXPECT_EQ(d.modes.ran, c.mode);
    EXPECT_EQ(d.modes.seen.settings.column_limit, c.column_limit);
    EXPECT_EQ(d.modes.seen.saved_cursor_count, c.hides_cursor ? -1 : 0);
    EXPECT_EQ(d.Called("ShowCursor 0"), c.hides_cursor);
    EXPECT_EQ(d.Called("SPI 97 -1"), c.hides_cursor);  // the complement of "not running"
    EXPECT_EQ(d.out.str(), "");
  }
}

TEST(DispatchMode, ARunningSaverOrDialogEndsEveryModeButARunInAHostsWindow) {
  // Another saver or dialog, known by its mark or by its window's caption.
  const auto others = [](Dispatch& d, int which) {
    if (which == 0) d.windows.instance_held_elsewhere = true;
    if (which == 1) d.windows.captions.insert(std::string(kSaverCaption));
    if (which == 2) d.windows.captions.insert(std::string(kDialogCaption));
  };
  for (int which = 0; which < 3; ++which) {
    for (const Args& args : {Args{"/s"}, Args{"/c"}, Args{"/p", "1234"}, Args{}, Args{"-window"},
                             Args{"--frames", "5"}}) {
      Dispatch d;
      others(d, which);
      EXPECT_EQ(d.Run(args), 0);
      EXPECT_EQ(d.modes.ran, "") << which << " " << (args.empty() ? "(none)" : args[0]);
    }
    // XScreenSaver runs one saver per monitor in its own windows: each draws.
    for (const Args& args : {Args{"-root"}, Args{"/s", "-window-id", "77"}}) {
      Dispatch d;
      others(d, which);
      d.Run(args, /*in_host_window=*/true);
      EXPECT_EQ(d.modes.ran, "saver") << which << " " << args[0];
      EXPECT_FALSE(d.Called("ClaimSingleInstance"));
    }
  }
  // The modes that run take the mark before any window is made; a preview only looks, and a
  // running one blocks nothing; modes that end at once leave the mark alone.
  Dispatch saver;
  saver.Run({"/s"});
  EXPECT_EQ(saver.windows.calls.front(), "ClaimSingleInstance");
  Dispatch preview;
  preview.Run({"/p", "1234"});
  EXPECT_TRUE(preview.Called("SingleInstanceClaimed"));
  EXPECT_FALSE(preview.Called("ClaimSingleInstance"));
  Dispatch dialog;
  dialog.windows.captions.insert("Preview Window");
  dialog.Run({"/c"});
  EXPECT_EQ(dialog.modes.ran, "dialog");
  Dispatch other;
  other.Run({"/a"});
  EXPECT_FALSE(other.Called("ClaimSingleInstance"));
}

TEST(DispatchMode, HelpAndVersionRunNothing) {
  for (const char* help : {"-h", "-help", "--help"}) {
    Dispatch d;
    EXPECT_EQ(d.Run({help}), 0);
    EXPECT_TRUE(d.out.str().starts_with("Usage: vexlum")) << help;
    EXPECT_NE(d.out.str().find("settings file: " + d.dir.File("Vexlum.ini")), std::string::npos);
    EXPECT_EQ(d.modes.ran, "");
  }
  Dispatch version;
  EXPECT_EQ(version.Run({"/s", "--version"}), 0);
  EXPECT_TRUE(version.out.str().starts_with("vexlum "));
  EXPECT_EQ(version.modes.ran, "");
}

TEST(DispatchMode, OptionsReplaceTheSaversSettingsButNotTheDialogs) {
  Dispatch saver;
  saver.Run({"/s", "--columns", "150", "--atlas", "letters", "--music", "/no/such.mp3"});
  EXPECT_EQ(saver.modes.seen.settings.column_limit, 150);
  EXPECT_EQ(saver.modes.seen.settings.atlas, AtlasKind::kLetters);
  EXPECT_EQ(saver.modes.seen.settings.music_source, MusicSource::kNone);
  EXPECT_NE(saver.err.str().find("/no/such.mp3"), std::string::npos);
  Dispatch dialog;  // the dialog edits the file, so it must show the file's values
  dialog.Run({"/c", "--columns", "150"});
  EXPECT_EQ(dialog.modes.seen.settings.column_limit, 5);
}

TEST(SystemHelpers, SaverFlagAndZoomOutline) {
  test::FakeWindowSystem w;
  SetSaverRunning(w, -1);
  EXPECT_EQ(w.calls.back(), "SPI 97 0");
  StartupState s;
  s.zoom_point_x = 5;
  s.zoom_point_y = 6;
  ZoomOpen(w, 1234, s);
  EXPECT_EQ(w.calls.back(), "DrawAnimatedRects 3 5,6,5,6 -> 10,20,162,132");
  ZoomClose(w, 1234, s);
  EXPECT_EQ(w.calls.back(), "DrawAnimatedRects 3 10,20,162,132 -> 5,6,5,6");
}

}  // namespace
}  // namespace vx
