#include "saver/saver_session.h"

#include <algorithm>
#include <exception>
#include <iostream>

#include "core/console.h"

namespace vx {

void UndoStartupChanges(StartupState& state, WindowSystem& windows) {
  if (state.mode_letter != 'S') return;
  SetSaverRunning(windows, -1);
  state.saved_cursor_count = windows.ShowCursor(state.saved_cursor_count != 0);
}

int FailSaverStart(StartupState& state, WindowSystem& windows, std::string_view why) {
  windows.MessageBox(std::string(kStartFailedMessage) + "\n" + std::string(why), kSaverMessageTitle,
                     kMbIconExclamation);
  UndoStartupChanges(state, windows);
  return 1;
}

int RefuseSaverStart(StartupState& state, WindowSystem& windows, std::string_view why) {
  SayLine(std::cerr, why);
  UndoStartupChanges(state, windows);
  return 1;
}

SaverSession::SaverSession(StartupState& state, WindowSystem& windows, SaverWindow& window,
                           SaverParts& parts, MusicPort& music, TickClock& clock,
                           SaverRunLimits limits)
    : state_(state),
      windows_(windows),
      window_(window),
      parts_(parts),
      music_(music),
      clock_(clock),
      limits_(limits) {}

int SaverSession::Run() {
  if (!parts_.CheckAndExtractPack()) {
    // A saver that cannot show anything ends at once, leaving the system as it found it.
    parts_.DeleteImages();
    UndoStartupChanges(state_, windows_);
    return 1;
  }
  music_.Start();
  if (const uint32_t interval = music_.PollIntervalMs()) {
    music_timer_ = WindowTimer(interval);
    music_timer_.Enable(clock_.Ticks());
  }
  parts_.SeedRandom();
  if (!parts_.SetUpDevice()) {
    End();
    return 1;
  }
  std::string failure;
  const bool ok = RunFrameLoop(failure);
  if (!ended_) End();
  if (ok) return 0;
  windows_.MessageBox(std::string(kFrameFailedMessage) + "\n" + failure, kSaverMessageTitle,
                      kMbIconExclamation);
  return 1;
}

bool SaverSession::RunFrameLoop(std::string& failure) {
  parts_.BeforeLoop();
  window_.ShowTopmost();
  running_ = true;
  FramePacer pacer(limits_.uncapped ? -1 : state_.settings.frame_rate_cap, clock_.Ticks());
  while (running_) {
    const bool drew = pacer.Pass(clock_.Ticks());
    if (drew) {
      try {
        parts_.DrawFrame();
      } catch (const std::exception& e) {
        failure = e.what();
      } catch (...) {
        failure = "an unknown error";
      }
      if (!failure.empty()) {
        parts_.NoteEnd("failure");
        End();
        return false;
      }
      ++frames_drawn_;
      if (limits_.frames && frames_drawn_ >= *limits_.frames) {
        parts_.NoteEnd("frame count reached");
        End();
        break;
      }
    }
    // Input and timers run between frames, never in the middle of one.
    while (running_) {
      auto event = window_.PollEvent();
      if (!event) break;
      if (event->kind == SaverEvent::kKey) {
        OnKey(event->key_code);
      } else {
        // A click, or the system asking us to go.
        parts_.NoteEnd(event->kind == SaverEvent::kClick ? "mouse button" : "termination request");
        End();
      }
    }
    if (running_) FireTimers();
    if (running_ && !drew) {
      const uint32_t now = clock_.Ticks();
      const uint32_t wait =
          std::min({pacer.MsUntilDue(now), music_timer_.MsUntilDue(now), uint32_t{100}});
      if (wait > 0) window_.WaitForEvent(wait);
    }
  }
  return true;
}

void SaverSession::FireTimers() {
  if (music_timer_.Due(clock_.Ticks()) && !music_.Poll()) music_timer_.Disable();
}

void SaverSession::OnKey(int32_t key_code) {
  if (music_.TakesTrackKeys() && key_code == kVkLeft) {
    music_.PreviousTrack();
  } else if (music_.TakesTrackKeys() && key_code == kVkRight) {
    music_.NextTrack();
  } else {
    parts_.NoteEnd("key");
    End();
  }
}

void SaverSession::End() {
  if (ended_) return;
  ended_ = true;
  music_timer_.Disable();
  music_.Stop();
  UndoStartupChanges(state_, windows_);
  windows_.SystemParametersInfo(kSpiSetScreenSaveActive, 1);
  running_ = false;
  Unload();
}

void SaverSession::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  running_ = false;
  parts_.DeleteImages();
  parts_.ReleaseDevice();
}

}  // namespace vx
