#include "saver/saver_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "fakes/fake_tick_clock.h"
#include "fakes/fake_window_system.h"

namespace vx {
namespace {

using Log = std::vector<std::string>;
constexpr uint32_t kStart = 100000;

// The parts, the music and the window in one, logging their calls in order. The clock moves a
// millisecond at each look for input and otherwise only while the loop waits; input arrives at
// set ticks.
struct Saver final : SaverParts, MusicPort, SaverWindow {
  // By default music polled every 200 ms that takes the arrow keys, like a CD.
  explicit Saver(char mode = 'S', uint32_t poll_ms = 200, bool track_keys = true)
      : poll_ms(poll_ms), track_keys(track_keys) {
    state.mode_letter = mode;
    state.saved_cursor_count = -1;
    state.settings.frame_rate_cap = 40;
    clock.now = kStart;
  }

  bool Note(const char* call, bool result = true) {
    log.emplace_back(call);
    return result;
  }
  bool CheckAndExtractPack() override { return Note("pack", pack_ok); }
  void SeedRandom() override { Note("seed"); }
  bool SetUpDevice() override { return Note("device", device_ok); }
  void BeforeLoop() override { Note("before loop"); }
  void DrawFrame() override {
    Note("frame");
    if (Count("frame") == fail_at_frame) throw std::runtime_error("device lost");
  }
  void DeleteImages() override { Note("delete images"); }
  void ReleaseDevice() override { Note("release device"); }

  void Start() override { Note("music start"); }
  uint32_t PollIntervalMs() const override { return poll_ms; }
  bool Poll() override { return Note("poll", poll_ok); }
  bool TakesTrackKeys() const override { return track_keys; }
  void PreviousTrack() override { Note("previous"); }
  void NextTrack() override { Note("next"); }
  void Stop() override { Note("music stop"); }

  void ShowTopmost() override { Note("show"); }
  std::optional<SaverEvent> PollEvent() override {
    ++clock.now;
    if (events.empty() || events.begin()->first > clock.now) return std::nullopt;
    return events.extract(events.begin()).mapped();
  }
  void WaitForEvent(uint32_t ms) override {
    ++waits;
    const uint32_t next = events.empty() ? clock.now + ms : events.begin()->first;
    clock.now = std::min(clock.now + ms, std::max(clock.now, next));
  }

  void At(uint32_t ms, SaverEvent::Kind kind, int32_t key = 0) {
    events.insert({kStart + ms, {kind, key}});
  }
  int Run(SaverRunLimits limits = {}) {
    return SaverSession(state, windows, *this, *this, *this, clock, limits).Run();
  }
  size_t Count(const std::string& call) const {
    return static_cast<size_t>(std::ranges::count(log, call));
  }
  // The log without the polls, a run of frames shown once.
  Log Steps() const {
    Log steps;
    for (const std::string& call : log)
      if (call != "poll" && (steps.empty() || call != steps.back())) steps.push_back(call);
    return steps;
  }

  uint32_t poll_ms;
  bool track_keys, pack_ok = true, device_ok = true, poll_ok = true;
  size_t fail_at_frame = 0;
  int waits = 0;
  std::multimap<uint32_t, SaverEvent> events;
  Log log;
  StartupState state;
  test::FakeWindowSystem windows;
  FakeTickClock clock;
};

const Log kWholeRun = {"pack", "music start", "seed",       "device",        "before loop",
                       "show", "frame",       "music stop", "delete images", "release device"};

TEST(SaverSession, LoadsRunsAndEndsInOrder) {
  Saver s;
  s.At(3000, SaverEvent::kKey, 65);
  EXPECT_EQ(s.Run(), 0);
  EXPECT_EQ(s.Steps(), kWholeRun);
  EXPECT_EQ(s.windows.calls, (Log{"SPI 97 0", "ShowCursor 1", "SPI 17 1"}));
  EXPECT_EQ(s.state.saved_cursor_count, 1);
  // About 40 frames a second for three seconds, the loop sleeping between them, and the music
  // polled at the interval it asked for.
  EXPECT_NEAR(s.Count("frame"), 121, 3);
  EXPECT_GT(s.waits, 100);
  EXPECT_NEAR(s.Count("poll"), 15, 1);
}

TEST(SaverSession, ArrowKeysChangeTracksOnlyWhenTheMusicTakesThem) {
  Saver cd;
  cd.At(100, SaverEvent::kKey, kVkLeft);
  cd.At(200, SaverEvent::kKey, kVkRight);
  cd.At(300, SaverEvent::kKey, 16);  // a modifier counts like any key
  cd.Run();
  EXPECT_EQ(cd.Count("previous"), 1u);
  EXPECT_EQ(cd.Count("next"), 1u);
  EXPECT_NEAR(cd.Count("frame"), 13, 2);

  Saver file('S', 1000, false);
  file.At(100, SaverEvent::kKey, kVkLeft);
  file.Run();
  EXPECT_EQ(file.Count("previous"), 0u);
  EXPECT_NEAR(file.Count("frame"), 5, 2);
}

// Without the mode letter S start-up changed neither the cursor nor the running flag, so the
// end leaves them alone.
TEST(SaverSession, AClickOrAQuitRequestEndsLikeAKey) {
  const std::pair<SaverEvent::Kind, char> cases[] = {{SaverEvent::kClick, 'S'},
                                                     {SaverEvent::kQuit, 0}};
  for (const auto& [kind, mode] : cases) {
    Saver s(mode, 0, false);  // music that needs no polling is never polled
    s.At(500, kind);
    EXPECT_EQ(s.Run(), 0);
    EXPECT_NEAR(s.Count("frame"), 21, 2);
    EXPECT_EQ(s.Steps(), kWholeRun);
    const Log restored = {"SPI 97 0", "ShowCursor 1", "SPI 17 1"};
    EXPECT_EQ(s.windows.calls, mode ? restored : Log{"SPI 17 1"});
  }
}

TEST(SaverSession, PollingStopsForGoodWhenTheMusicSaysSo) {
  Saver s;
  s.poll_ok = false;
  s.At(2000, SaverEvent::kKey, 65);
  s.Run();
  EXPECT_EQ(s.Count("poll"), 1u);
}

TEST(SaverSession, AFrameLimitEndsAndUncappedNeverWaits) {
  Saver s('S', 0, false);
  EXPECT_EQ(s.Run(SaverRunLimits{10, true}), 0);
  EXPECT_EQ(s.Count("frame"), 10u);
  EXPECT_EQ(s.waits, 0);
  EXPECT_EQ(s.Steps(), kWholeRun);
}

TEST(SaverSession, BadPackOrDeviceEndsWithStatusOneAndRestores) {
  Saver pack;
  pack.pack_ok = false;
  EXPECT_EQ(pack.Run(), 1);
  EXPECT_EQ(pack.log, (Log{"pack", "delete images"}));
  EXPECT_EQ(pack.windows.calls, (Log{"SPI 97 0", "ShowCursor 1"}));

  Saver device;
  device.device_ok = false;
  EXPECT_EQ(device.Run(), 1);
  EXPECT_EQ(device.log, (Log{"pack", "music start", "seed", "device", "music stop", "delete images",
                             "release device"}));
  EXPECT_EQ(device.windows.calls, (Log{"SPI 97 0", "ShowCursor 1", "SPI 17 1"}));
}

TEST(SaverSession, AFailingFrameEndsLikeAKeyButSaysWhyAndGivesStatusOne) {
  Saver s;
  s.fail_at_frame = 5;
  EXPECT_EQ(s.Run(), 1);
  EXPECT_EQ(s.Count("frame"), 5u);
  EXPECT_EQ(s.Steps(), kWholeRun);
  EXPECT_EQ(s.windows.calls, (Log{"SPI 97 0", "ShowCursor 1", "SPI 17 1",
                                  "MessageBox Vexlum(ScreenSaver) | 画面の描画に失敗しました!\n"
                                  "device lost | 48"}));
}

}  // namespace
}  // namespace vx
