#include "saver/saver_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <stdexcept>

#include "fakes/fake_tick_clock.h"
#include "fakes/fake_window_system.h"

namespace vx {
namespace {

// Records every call in one log shared with the window system's calls.
struct Log {
  std::vector<std::string> lines;
  size_t Count(const std::string& s) const {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), s));
  }
  ptrdiff_t Index(const std::string& s) const {
    auto it = std::find(lines.begin(), lines.end(), s);
    return it == lines.end() ? -1 : it - lines.begin();
  }
};

struct FakeParts : SaverParts {
  explicit FakeParts(Log& log) : log(log) {}
  Log& log;
  bool pack_ok = true, device_ok = true;
  int fail_at_frame = -1;  // throws from this frame on, as a lost device does
  void L(const std::string& s) { log.lines.push_back(s); }
  bool CheckAndExtractPack() override {
    L("pack");
    return pack_ok;
  }
  void SeedRandom() override { L("seed"); }
  bool SetUpDevice() override {
    L("device");
    return device_ok;
  }
  void BeforeLoop() override { L("before loop"); }
  void DrawFrame() override {
    L("frame");
    if (fail_at_frame >= 0 && ++frames >= fail_at_frame) throw std::runtime_error("device lost");
  }
  int frames = 0;
  void DeleteImages() override { L("delete images"); }
  void ReleaseDevice() override { L("release device"); }
};

// Music that asks to be polled every `interval` ms and may take the arrow keys.
struct FakeMusic : MusicPort {
  FakeMusic(Log& log, uint32_t interval, bool track_keys)
      : log(log), interval(interval), track_keys(track_keys) {}
  Log& log;
  uint32_t interval;
  bool track_keys;
  bool poll_ok = true;
  void Start() override { log.lines.push_back("music start"); }
  uint32_t PollIntervalMs() const override { return interval; }
  bool Poll() override {
    log.lines.push_back("poll");
    return poll_ok;
  }
  bool TakesTrackKeys() const override { return track_keys; }
  void PreviousTrack() override { log.lines.push_back("previous"); }
  void NextTrack() override { log.lines.push_back("next"); }
  void Stop() override { log.lines.push_back("music stop"); }
};

// A window whose clock moves only while the loop waits; events are delivered at set ticks.
struct FakeWindow : SaverWindow {
  FakeWindow(Log& log, FakeTickClock& clock) : log(log), clock(clock) {}
  Log& log;
  FakeTickClock& clock;
  std::multimap<uint32_t, SaverEvent> events;
  int waits = 0;
  void ShowTopmost() override { log.lines.push_back("show"); }
  std::optional<SaverEvent> PollEvent() override {
    ++clock.now;  // every pass costs a millisecond
    auto it = events.begin();
    if (it == events.end() || it->first > clock.now) return std::nullopt;
    SaverEvent e = it->second;
    events.erase(it);
    return e;
  }
  void WaitForEvent(uint32_t ms) override {
    ++waits;
    uint32_t until = clock.now + ms;
    if (!events.empty()) until = std::min(until, std::max(clock.now, events.begin()->first));
    clock.now = until;
  }
};

struct Saver {
  Log log;
  test::FakeWindowSystem windows;
  FakeTickClock clock;
  FakeParts parts{log};
  FakeWindow window{log, clock};
  FakeMusic music;
  StartupState state;

  // By default music polled every 200 ms that takes the arrow keys, like a CD.
  explicit Saver(char mode = 'S', uint32_t poll_ms = 200, bool track_keys = true)
      : music(log, poll_ms, track_keys) {
    state.mode_letter = mode;
    state.saved_cursor_count = -1;
    state.settings.frame_rate_cap = 40;
    clock.now = 100000;
  }
  void KeyAt(uint32_t ms, int32_t key) {
    window.events.insert({100000 + ms, {SaverEvent::kKey, key}});
  }
  void ClickAt(uint32_t ms) { window.events.insert({100000 + ms, {SaverEvent::kClick, 0}}); }
  int Run(SaverRunLimits limits = {}) {
    SaverSession s(state, windows, window, parts, music, clock, limits);
    int status = s.Run();
    for (auto& c : windows.calls) log.lines.push_back(c);
    frames = s.FramesDrawn();
    return status;
  }
  int64_t frames = 0;
};

TEST(SaverSession, LoadsRunsAndEndsInOrder) {
  Saver s('S');
  s.KeyAt(3000, 65);
  EXPECT_EQ(s.Run(), 0);
  auto& l = s.log;
  EXPECT_LT(l.Index("pack"), l.Index("music start"));
  EXPECT_LT(l.Index("music start"), l.Index("seed"));
  EXPECT_LT(l.Index("seed"), l.Index("device"));
  EXPECT_LT(l.Index("device"), l.Index("before loop"));
  EXPECT_LT(l.Index("before loop"), l.Index("show"));
  EXPECT_LT(l.Index("show"), l.Index("frame"));
  EXPECT_LT(l.Index("music stop"), l.Index("delete images"));
  EXPECT_LT(l.Index("delete images"), l.Index("release device"));
  EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"SPI 97 0", "ShowCursor 1", "SPI 17 1"}));
  EXPECT_EQ(s.state.saved_cursor_count, 1);
  // About 40 frames a second for three seconds, and the loop slept between them.
  EXPECT_NEAR(s.frames, 121, 3);
  EXPECT_GT(s.window.waits, 100);
  // The music was polled at the interval it asked for.
  EXPECT_NEAR(static_cast<double>(l.Count("poll")), 15, 1);
}

TEST(SaverSession, ArrowKeysChangeTracksOnlyWhenTheMusicTakesThem) {
  Saver cd('S', 200, true);
  cd.KeyAt(100, kVkLeft);
  cd.KeyAt(200, kVkRight);
  cd.KeyAt(300, 16);  // a modifier counts like any key
  cd.Run();
  EXPECT_EQ(cd.log.Count("previous"), 1u);
  EXPECT_EQ(cd.log.Count("next"), 1u);
  EXPECT_NEAR(cd.frames, 13, 2);

  Saver file('S', 1000, false);
  file.KeyAt(100, kVkLeft);
  file.Run();
  EXPECT_EQ(file.log.Count("previous"), 0u);
  EXPECT_NEAR(file.frames, 5, 2);
}

TEST(SaverSession, AClickEndsAndMusicWithoutPollingIsNeverPolled) {
  Saver s('S', 0, false);
  s.ClickAt(500);
  EXPECT_EQ(s.Run(), 0);
  EXPECT_NEAR(s.frames, 21, 2);
  EXPECT_EQ(s.log.Count("poll"), 0u);
  EXPECT_EQ(s.log.Count("music stop"), 1u);
}

TEST(SaverSession, PollingStopsForGoodWhenTheMusicSaysSo) {
  Saver s('S', 200, true);
  s.music.poll_ok = false;
  s.KeyAt(2000, 65);
  s.Run();
  EXPECT_EQ(s.log.Count("poll"), 1u);
}

TEST(SaverSession, EmptyArgumentTextLeavesCursorAndFlagAlone) {
  Saver s(0);
  s.KeyAt(100, 65);
  s.Run();
  EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"SPI 17 1"}));
}

TEST(SaverSession, BadPackOrDeviceEndsWithStatusOneAndRestores) {
  Saver pack('S');
  pack.parts.pack_ok = false;
  EXPECT_EQ(pack.Run(), 1);
  EXPECT_EQ(pack.log.Count("music start"), 0u);
  EXPECT_EQ(pack.log.Count("device"), 0u);
  EXPECT_EQ(pack.log.Count("delete images"), 1u);
  EXPECT_EQ(pack.log.Count("ShowCursor 1"), 1u);
  EXPECT_EQ(pack.log.Count("SPI 97 0"), 1u);

  Saver device('S');
  device.parts.device_ok = false;
  EXPECT_EQ(device.Run(), 1);
  EXPECT_EQ(device.log.Count("music stop"), 1u);
  EXPECT_EQ(device.log.Count("show"), 0u);
  EXPECT_EQ(device.log.Count("delete images"), 1u);
  EXPECT_EQ(device.log.Count("ShowCursor 1"), 1u);
}

TEST(SaverSession, AFailingFrameEndsLikeAKeyButSaysWhyAndGivesStatusOne) {
  Saver s('S');
  s.parts.fail_at_frame = 5;
  EXPECT_EQ(s.Run(), 1);
  EXPECT_EQ(s.log.Count("frame"), 5u);
  EXPECT_EQ(s.log.Count("music stop"), 1u);
  EXPECT_EQ(s.log.Count("delete images"), 1u);
  EXPECT_EQ(s.log.Count("release device"), 1u);
  EXPECT_EQ(s.windows.calls,
            (std::vector<std::string>{"SPI 97 0", "ShowCursor 1", "SPI 17 1",
                                      "MessageBox Vexlum(ScreenSaver) | 画面の描画に失敗しました!\n"
                                      "device lost | 48"}));
}

TEST(SaverSession, QuitRequestEndsLikeAKeyAndFrameLimitEnds) {
  Saver s('S');
  s.window.events.insert({100000 + 700, {SaverEvent::kQuit, 0}});
  EXPECT_EQ(s.Run(), 0);
  EXPECT_EQ(s.log.Count("music stop"), 1u);
  EXPECT_EQ(s.log.Count("delete images"), 1u);

  Saver limited('S', 0, false);
  EXPECT_EQ(limited.Run(SaverRunLimits{10, true}), 0);
  EXPECT_EQ(limited.frames, 10);
  EXPECT_EQ(limited.window.waits, 0);  // uncapped: never waits
  EXPECT_EQ(limited.log.Count("release device"), 1u);
}

}  // namespace
}  // namespace vx
