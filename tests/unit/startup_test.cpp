#include <gtest/gtest.h>

#include <sstream>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "startup/command_line.h"
#include "startup/ini_profile_strings.h"
#include "startup/vx_b.h"

namespace vx {
namespace {

struct RecordingModes : ModeRunner {
  std::string ran;
  int32_t handle = -1;
  StartupState seen;
  int RunPreview(StartupState& s, int32_t h) override {
    ran = "preview";
    handle = h;
    seen = s;
    return 0;
  }
  int RunSettingsDialog(StartupState& s) override {
    ran = "dialog";
    seen = s;
    return 0;
  }
  int RunSaver(StartupState& s) override {
    ran = "saver";
    seen = s;
    return 0;
  }
};

struct Dispatch {
  test::FakeWindowSystem windows;
  IniProfileStrings profile;
  RecordingModes modes;
  test::TempDir dir;
  std::ostringstream out;

  int Run(std::vector<std::string> args) {
    StartupServices sv{windows, profile, modes, dir.File("Vexlum.ini"), out};
    return Main(ParseCommandLine(args), sv);
  }
  bool Called(const std::string& call) const {
    return std::find(windows.calls.begin(), windows.calls.end(), call) != windows.calls.end();
  }
};

TEST(Dispatch, PreviewReadsTheHandleAndNotTheSettings) {
  for (auto args : {std::vector<std::string>{"/p", "1234"}, {"/P:1234"}, {"-p", " 1234"}}) {
    Dispatch d;
    d.dir.Write("Vexlum.ini", "[Section]\nLimite=5\n");
    EXPECT_EQ(d.Run(args), 0);
    EXPECT_EQ(d.modes.ran, "preview");
    EXPECT_EQ(d.modes.handle, 1234);
    EXPECT_EQ(d.modes.seen.settings.Limite, 0);  // the settings file was not read
  }
  Dispatch d;
  d.Run({"/p"});
  EXPECT_EQ(d.modes.handle, 0);
}

TEST(Dispatch, SettingsDialogReadsTheSettingsAndIgnoresAHandle) {
  for (auto arg : {"/c", "/c:1234", "-C"}) {
    Dispatch d;
    d.dir.Write("Vexlum.ini", "[Section]\nLimite=5\n");
    d.Run({arg});
    EXPECT_EQ(d.modes.ran, "dialog") << arg;
    EXPECT_EQ(d.modes.seen.settings.Limite, 5);
    EXPECT_FALSE(d.Called("ShowCursor 0"));
  }
}

TEST(Dispatch, SaverHidesTheCursorOnlyForModeS) {
  for (auto arg : {"/s", "-S", "xs"}) {
    Dispatch d;
    d.Run({arg});
    EXPECT_EQ(d.modes.ran, "saver") << arg;
    EXPECT_EQ(d.modes.seen.ModeLetter, 'S');
    EXPECT_EQ(d.modes.seen.SavedCursorCount, -1);
    EXPECT_TRUE(d.Called("SPI 97 -1"));  // SetSaverRunning(0): complement of 0
  }
  Dispatch d;
  d.Run({});
  EXPECT_EQ(d.modes.ran, "saver");
  EXPECT_EQ(d.modes.seen.ModeLetter, 0);
  EXPECT_FALSE(d.Called("ShowCursor 0"));
  EXPECT_FALSE(d.Called("SPI 97 -1"));
}

TEST(Dispatch, EveryOtherTextEndsSilently) {
  for (auto args : {std::vector<std::string>{"/a"}, {"x"}, {"/"}, {"s"}, {"/x", "/s"}}) {
    Dispatch d;
    EXPECT_EQ(d.Run(args), 0);
    EXPECT_EQ(d.modes.ran, "") << args[0];
    EXPECT_EQ(d.out.str(), "");
  }
}

TEST(Dispatch, ARunningSaverOrDialogEndsEveryMode) {
  for (auto caption : {kSaverCaption, kDialogCaption}) {
    for (auto arg : {"/s", "/c", "/p"}) {
      Dispatch d;
      d.windows.captions.insert(std::string(caption));
      EXPECT_EQ(d.Run({arg, "1234"}), 0);
      EXPECT_EQ(d.modes.ran, "");
    }
  }
  Dispatch d;
  d.windows.captions.insert("Preview Window");  // a running preview does not block
  d.Run({"/c"});
  EXPECT_EQ(d.modes.ran, "dialog");
}

TEST(Dispatch, HelpAndVersionAreTheWholeText) {
  Dispatch d;
  EXPECT_EQ(d.Run({"--help"}), 0);
  EXPECT_NE(d.out.str().find("Usage: vexlum"), std::string::npos);
  Dispatch v;
  EXPECT_EQ(v.Run({"--version"}), 0);
  EXPECT_EQ(v.out.str().rfind("vexlum ", 0), 0u);
  Dispatch x;
  x.Run({"--help", "/s"});  // not the whole text, so only its second character counts: '-'
  EXPECT_EQ(x.modes.ran, "");
  EXPECT_EQ(x.out.str(), "");
}

TEST(CommandLine, OptionsNeverChangeTheModeLetter) {
  CommandLine cl = ParseCommandLine({"/s", "--seed", "7", "--frames", "10", "--windowed", "640x480",
                                     "--uncapped", "--stats", "--screenshot", "a.png", "--title",
                                     "Hello World"});
  EXPECT_EQ(cl.ArgumentText, "/s");
  EXPECT_EQ(cl.Error, "");
  EXPECT_EQ(cl.Options.Seed, 7u);
  EXPECT_EQ(cl.Options.Frames, 10);
  EXPECT_EQ(cl.Options.Windowed, std::make_pair(640, 480));
  EXPECT_TRUE(cl.Options.Uncapped);
  EXPECT_TRUE(cl.Options.Stats);
  EXPECT_EQ(cl.Options.Screenshot, "a.png");
  EXPECT_EQ(cl.Options.Title, "Hello World");

  EXPECT_EQ(ParseCommandLine({"/p", "1234"}).ArgumentText, "/p 1234");
  EXPECT_EQ(ParseCommandLine({"--seed", "1"}).ArgumentText, "--seed 1");  // first is the host's
  EXPECT_NE(ParseCommandLine({"/s", "--frames", "0"}).Error, "");
  EXPECT_NE(ParseCommandLine({"/s", "--windowed", "big"}).Error, "");
  EXPECT_NE(ParseCommandLine({"/s", "--seed"}).Error, "");

  CommandLine xs = ParseCommandLine({"-window-id", "0x2a", "/s"});
  EXPECT_EQ(xs.Options.WindowId, 42u);
  EXPECT_EQ(xs.ArgumentText, "/s");
  EXPECT_TRUE(ParseCommandLine({"-root"}).Options.Root);
  EXPECT_EQ(ParseCommandLine({"-root"}).ArgumentText, "");

  // XScreenSaver 6's own spellings: its settings window previews with "--window-id 0x...".
  CommandLine preview = ParseCommandLine({"--window-id", "0x3c00007"});
  EXPECT_EQ(preview.Error, "");
  EXPECT_EQ(preview.Options.WindowId, 0x3c00007u);
  EXPECT_EQ(preview.ArgumentText, "");
  CommandLine daemon = ParseCommandLine({"--root"});
  EXPECT_TRUE(daemon.Options.Root);
  EXPECT_EQ(daemon.ArgumentText, "");
  EXPECT_NE(ParseCommandLine({"--window-id"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--window-id", "none"}).Error, "");
}

TEST(SystemHelpers, SaverFlagAndZoomOutline) {
  test::FakeWindowSystem w;
  SetSaverRunning(w, -1);
  EXPECT_EQ(w.calls.back(), "SPI 97 0");
  StartupState s;
  s.ZoomPointX = 5;
  s.ZoomPointY = 6;
  ZoomOpen(w, 1234, s);
  EXPECT_EQ(w.calls.back(), "DrawAnimatedRects 3 5,6,5,6 -> 10,20,162,132");
  ZoomClose(w, 1234, s);
  EXPECT_EQ(w.calls.back(), "DrawAnimatedRects 3 10,20,162,132 -> 5,6,5,6");
}

}  // namespace
}  // namespace vx
