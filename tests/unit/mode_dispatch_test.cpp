#include "startup/mode_dispatch.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "startup/ini_profile_strings.h"

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
    return DispatchMode(ParseCommandLine(args), sv);
  }
  bool Called(const std::string& call) const {
    return std::find(windows.calls.begin(), windows.calls.end(), call) != windows.calls.end();
  }
};

TEST(DispatchMode, PreviewReadsTheHandleAndNotTheSettings) {
  for (auto args : {std::vector<std::string>{"/p", "1234"}, {"/P:1234"}, {"-p", " 1234"}}) {
    Dispatch d;
    d.dir.Write("Vexlum.ini", "[Section]\nLimite=5\n");
    EXPECT_EQ(d.Run(args), 0);
    EXPECT_EQ(d.modes.ran, "preview");
    EXPECT_EQ(d.modes.handle, 1234);
    EXPECT_EQ(d.modes.seen.settings.column_limit, 0);  // the settings file was not read
  }
  Dispatch d;
  d.Run({"/p"});
  EXPECT_EQ(d.modes.handle, 0);
}

TEST(DispatchMode, SettingsDialogReadsTheSettingsAndIgnoresAHandle) {
  for (auto arg : {"/c", "/c:1234", "-C"}) {
    Dispatch d;
    d.dir.Write("Vexlum.ini", "[Section]\nLimite=5\n");
    d.Run({arg});
    EXPECT_EQ(d.modes.ran, "dialog") << arg;
    EXPECT_EQ(d.modes.seen.settings.column_limit, 5);
    EXPECT_FALSE(d.Called("ShowCursor 0"));
  }
}

TEST(DispatchMode, SaverHidesTheCursorOnlyForModeS) {
  for (auto arg : {"/s", "-S", "xs"}) {
    Dispatch d;
    d.Run({arg});
    EXPECT_EQ(d.modes.ran, "saver") << arg;
    EXPECT_EQ(d.modes.seen.mode_letter, 'S');
    EXPECT_EQ(d.modes.seen.saved_cursor_count, -1);
    EXPECT_TRUE(d.Called("SPI 97 -1"));  // SetSaverRunning(0): complement of 0
  }
  Dispatch d;
  d.Run({});
  EXPECT_EQ(d.modes.ran, "saver");
  EXPECT_EQ(d.modes.seen.mode_letter, 0);
  EXPECT_FALSE(d.Called("ShowCursor 0"));
  EXPECT_FALSE(d.Called("SPI 97 -1"));
}

TEST(DispatchMode, EveryOtherTextEndsSilently) {
  for (auto args : {std::vector<std::string>{"/a"}, {"x"}, {"/"}, {"s"}, {"/x", "/s"}}) {
    Dispatch d;
    EXPECT_EQ(d.Run(args), 0);
    EXPECT_EQ(d.modes.ran, "") << args[0];
    EXPECT_EQ(d.out.str(), "");
  }
}

TEST(DispatchMode, ARunningSaverOrDialogEndsEveryMode) {
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

TEST(DispatchMode, HelpAndVersionAreTheWholeText) {
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
