#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CommandLine, OptionsNeverChangeTheModeLetter) {
  const CommandLine cl = ParseCommandLine({"/s", "--seed", "7", "--frames", "10", "--windowed",
                                           "640x480", "--uncapped", "--stats", "--screenshot",
                                           "a.png", "--title", "Hello World"});
  EXPECT_EQ(cl.argument_text, "/s");
  EXPECT_EQ(cl.error, "");
  EXPECT_EQ(cl.options.seed, 7u);
  EXPECT_EQ(cl.options.frames, 10);
  EXPECT_EQ(cl.options.windowed, std::make_pair(640, 480));
  EXPECT_TRUE(cl.options.uncapped);
  EXPECT_TRUE(cl.options.stats);
  EXPECT_EQ(cl.options.screenshot, "a.png");
  EXPECT_EQ(cl.options.title, "Hello World");

  EXPECT_EQ(ParseCommandLine({"/p", "1234"}).argument_text, "/p 1234");
  EXPECT_EQ(ParseCommandLine({"--seed", "1"}).argument_text, "--seed 1");  // first is the host's
  for (const auto& bad : {std::vector<std::string>{"/s", "--frames", "0"},
                          {"/s", "--windowed", "big"},
                          {"/s", "--seed"},
                          {"--window-id"},
                          {"--window-id", "none"}})
    EXPECT_NE(ParseCommandLine(bad).error, "") << bad.back();
}

TEST(CommandLine, XScreenSaverArgumentsComeFirstWithOneDashOrTwo) {
  const CommandLine old = ParseCommandLine({"-window-id", "0x2a", "/s"});
  EXPECT_EQ(old.options.window_id, 42u);
  EXPECT_EQ(old.argument_text, "/s");
  // XScreenSaver 6's settings window previews with "--window-id 0x...".
  const CommandLine preview = ParseCommandLine({"--window-id", "0x3c00007"});
  EXPECT_EQ(preview.error, "");
  EXPECT_EQ(preview.options.window_id, 0x3c00007u);
  EXPECT_EQ(preview.argument_text, "");
  for (const char* root : {"-root", "--root"}) {
    EXPECT_TRUE(ParseCommandLine({root}).options.root);
    EXPECT_EQ(ParseCommandLine({root}).argument_text, "");
  }
}

TEST(CommandLine, WindowIdsAreReadStrictly) {
  EXPECT_EQ(ParseWindowId("012"), 12u);  // decimal, not octal
  EXPECT_EQ(ParseWindowId("0x2A"), 42u);
  for (const char* bad : {"", "0x", "12a", "-1", "+5", " 7", "0x-1", "1e3", "99999999999999999999"})
    EXPECT_FALSE(ParseWindowId(bad)) << bad;
}

}  // namespace
}  // namespace vx
