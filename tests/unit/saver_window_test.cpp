#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "fakes/fake_tick_clock.h"
#include "fakes/fake_window_system.h"
#include "saver/vx_s.h"

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
  bool pack_ok = true, device_ok = true, cd_ok = true;
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
  void DrawFrame() override { L("frame"); }
  void DeleteImages() override { L("delete images"); }
  void ReleaseDevice() override { L("release device"); }
  void OpenCd() override { L("OpenCd"); }
  bool PollCd() override {
    L("PollCd");
    return cd_ok;
  }
  void PreviousTrack() override { L("PreviousTrack"); }
  void NextTrack() override { L("NextTrack"); }
  void CloseCd() override { L("CloseCd"); }
  void PlayMp3() override { L("PlayMp3"); }
  void PollMp3() override { L("PollMp3"); }
  void StopMp3() override { L("StopMp3"); }
  void PlayWav() override { L("PlayWav"); }
  void StopWav() override { L("StopWav"); }
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
  StartupState state;

  Saver(char mode = 'S', int16_t source = 0, std::string file = "") {
    state.ModeLetter = mode;
    state.SavedCursorCount = -1;
    state.settings.FrameRateCap = 40;
    state.settings.MusicSource = source;
    state.settings.MusicFile = std::move(file);
    clock.now = 100000;
  }
  void KeyAt(uint32_t ms, int32_t key) {
    window.events.insert({100000 + ms, {SaverEvent::kKey, key}});
  }
  void ClickAt(uint32_t ms) { window.events.insert({100000 + ms, {SaverEvent::kClick, 0}}); }
  int Run() {
    VX_S s(state, windows, window, parts, clock);
    int status = s.Form_Load();
    for (auto& c : windows.calls) log.lines.push_back(c);
    frames = s.FramesDrawn();
    return status;
  }
  int64_t frames = 0;
};

TEST(SaverWindow, LoadsRunsAndEndsInOrder) {
  Saver s('S', 1);
  s.KeyAt(3000, 65);
  EXPECT_EQ(s.Run(), 0);
  auto& l = s.log;
  EXPECT_LT(l.Index("pack"), l.Index("OpenCd"));
  EXPECT_LT(l.Index("OpenCd"), l.Index("seed"));
  EXPECT_LT(l.Index("seed"), l.Index("device"));
  EXPECT_LT(l.Index("device"), l.Index("before loop"));
  EXPECT_LT(l.Index("before loop"), l.Index("show"));
  EXPECT_LT(l.Index("show"), l.Index("frame"));
  EXPECT_LT(l.Index("CloseCd"), l.Index("delete images"));
  EXPECT_LT(l.Index("delete images"), l.Index("release device"));
  EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"SPI 97 0", "ShowCursor 1", "SPI 17 1"}));
  EXPECT_EQ(s.state.SavedCursorCount, 1);
  // About 40 frames a second for three seconds, and the loop slept between them.
  EXPECT_NEAR(s.frames, 121, 3);
  EXPECT_GT(s.window.waits, 100);
  // The CD was polled every 200 ms.
  EXPECT_NEAR(static_cast<double>(l.Count("PollCd")), 15, 1);
}

TEST(SaverWindow, ArrowKeysChangeTracksOnlyForTheCd) {
  Saver cd('S', 1);
  cd.KeyAt(100, kVkLeft);
  cd.KeyAt(200, kVkRight);
  cd.KeyAt(300, 16);  // a modifier counts like any key
  cd.Run();
  EXPECT_EQ(cd.log.Count("PreviousTrack"), 1u);
  EXPECT_EQ(cd.log.Count("NextTrack"), 1u);
  EXPECT_NEAR(cd.frames, 13, 2);

  Saver file('S', 2, "/m/a.mp3");
  file.KeyAt(100, kVkLeft);
  file.Run();
  EXPECT_EQ(file.log.Count("PreviousTrack"), 0u);
  EXPECT_NEAR(file.frames, 5, 2);
}

TEST(SaverWindow, AClickEnds) {
  Saver s('S', 0);
  s.ClickAt(500);
  EXPECT_EQ(s.Run(), 0);
  EXPECT_NEAR(s.frames, 21, 2);
}

TEST(SaverWindow, CdPollingStopsForGoodAfterAFailure) {
  Saver s('S', 1);
  s.parts.cd_ok = false;
  s.KeyAt(2000, 65);
  s.Run();
  EXPECT_EQ(s.log.Count("PollCd"), 1u);
  EXPECT_EQ(s.log.Count("CloseCd"), 0u);  // the timer was off by the end
}

TEST(SaverWindow, MusicFileTypeDecidesThePlayer) {
  Saver wav('S', 2, "/m/Song.Wav");
  wav.KeyAt(2500, 65);
  wav.Run();
  EXPECT_EQ(wav.log.Count("PlayWav"), 1u);
  EXPECT_EQ(wav.log.Count("StopWav"), 1u);
  EXPECT_EQ(wav.log.Count("PollMp3"), 0u);

  Saver mp3('S', 2, "/m/song.mp3");
  mp3.KeyAt(2500, 65);
  mp3.Run();
  EXPECT_EQ(mp3.log.Count("PlayMp3"), 1u);
  EXPECT_EQ(mp3.log.Count("PollMp3"), 2u);  // every 1000 ms
  EXPECT_EQ(mp3.log.Count("StopMp3"), 1u);

  Saver other('S', 2, "/m/song.ogg");
  other.KeyAt(100, 65);
  other.Run();
  for (auto op : {"PlayWav", "PlayMp3", "StopWav", "StopMp3"}) EXPECT_EQ(other.log.Count(op), 0u);
  EXPECT_EQ(MusicFileType("ab"), "AB");
  EXPECT_EQ(MusicFileType("/a/bmp3"), "MP3");  // no dot needed
  EXPECT_EQ(MusicFileType("/a/b.wave"), "AVE");
}

TEST(SaverWindow, EmptyArgumentTextLeavesCursorAndFlagAlone) {
  Saver s(0, 0);
  s.KeyAt(100, 65);
  s.Run();
  EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"SPI 17 1"}));
}

TEST(SaverWindow, BadPackOrDeviceEndsWithStatusOneAndRestores) {
  Saver pack('S', 2, "/m/a.mp3");
  pack.parts.pack_ok = false;
  EXPECT_EQ(pack.Run(), 1);
  EXPECT_EQ(pack.log.Count("PlayMp3"), 0u);
  EXPECT_EQ(pack.log.Count("device"), 0u);
  EXPECT_EQ(pack.log.Count("delete images"), 1u);
  EXPECT_EQ(pack.log.Count("ShowCursor 1"), 1u);
  EXPECT_EQ(pack.log.Count("SPI 97 0"), 1u);

  Saver device('S', 2, "/m/a.mp3");
  device.parts.device_ok = false;
  EXPECT_EQ(device.Run(), 1);
  EXPECT_EQ(device.log.Count("StopMp3"), 1u);
  EXPECT_EQ(device.log.Count("show"), 0u);
  EXPECT_EQ(device.log.Count("delete images"), 1u);
  EXPECT_EQ(device.log.Count("ShowCursor 1"), 1u);
}

TEST(SaverWindow, QuitRequestEndsLikeAKeyAndFrameLimitEnds) {
  Saver s('S', 2, "/m/a.wav");
  s.window.events.insert({100000 + 700, {SaverEvent::kQuit, 0}});
  EXPECT_EQ(s.Run(), 0);
  EXPECT_EQ(s.log.Count("StopWav"), 1u);
  EXPECT_EQ(s.log.Count("delete images"), 1u);

  Log log;
  test::FakeWindowSystem windows;
  FakeTickClock clock;
  FakeParts parts{log};
  FakeWindow window{log, clock};
  StartupState state;
  state.settings.FrameRateCap = 40;
  VX_S saver(state, windows, window, parts, clock, SaverRunLimits{10, true});
  EXPECT_EQ(saver.Form_Load(), 0);
  EXPECT_EQ(saver.FramesDrawn(), 10);
  EXPECT_EQ(window.waits, 0);  // uncapped: never waits
  EXPECT_EQ(log.Count("release device"), 1u);
}

}  // namespace
}  // namespace vx
