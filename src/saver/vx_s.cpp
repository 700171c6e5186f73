#include "saver/vx_s.h"

#include <algorithm>
#include <cctype>

namespace vx {

std::string MusicFileType(const std::string& file) {
  std::string type = file.size() >= 3 ? file.substr(file.size() - 3) : file;
  for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return type;
}

VX_S::VX_S(StartupState& state, WindowSystem& windows, SaverWindow& window, SaverParts& parts,
           TickClock& clock, SaverRunLimits limits)
    : state_(state),
      windows_(windows),
      window_(window),
      parts_(parts),
      clock_(clock),
      limits_(limits) {}

int VX_S::Form_Load() {
  if (!parts_.CheckAndExtractPack()) {
    // A saver that cannot show anything ends at once, leaving the system as it found it.
    parts_.DeleteImages();
    RestoreSystemState();
    return 1;
  }
  const Settings& s = state_.settings;
  if (s.MusicSource == 1) {
    parts_.OpenCd();
    timer2_.Enable(clock_.Ticks());
  }
  if (s.MusicSource == 2) {
    const std::string type = MusicFileType(s.MusicFile);
    if (type == "WAV") parts_.PlayWav();
    if (type == "MP3") {
      parts_.PlayMp3();
      timer1_.Enable(clock_.Ticks());
    }
  }
  parts_.SeedRandom();
  if (!parts_.SetUpDevice()) {
    EndSaver();
    return 1;
  }
  RunScene();
  if (!ended_) EndSaver();
  return 0;
}

void VX_S::RunScene() {
  parts_.BeforeLoop();
  window_.ShowTopmost();
  running_ = true;
  FramePacer pacer(limits_.uncapped ? -1 : state_.settings.FrameRateCap, clock_.Ticks());
  while (running_) {
    const bool drew = pacer.Pass(clock_.Ticks());
    if (drew) {
      parts_.DrawFrame();
      ++frames_drawn_;
      if (limits_.frames && frames_drawn_ >= *limits_.frames) {
        parts_.NoteEnd("frame count reached");
        EndSaver();
        break;
      }
    }
    // Input and timers run between frames, never in the middle of one.
    while (running_) {
      auto event = window_.PollEvent();
      if (!event) break;
      if (event->kind == SaverEvent::kKey) {
        Form_KeyDown(event->key_code);
      } else {
        // A click, or the system asking us to go.
        parts_.NoteEnd(event->kind == SaverEvent::kClick ? "mouse button" : "termination request");
        EndSaver();
      }
    }
    if (running_) FireTimers();
    if (running_ && !drew) {
      const uint32_t now = clock_.Ticks();
      const uint32_t wait = std::min(
          {pacer.MsUntilDue(now), timer1_.MsUntilDue(now), timer2_.MsUntilDue(now), uint32_t{100}});
      if (wait > 0) window_.WaitForEvent(wait);
    }
  }
}

void VX_S::FireTimers() {
  const uint32_t now = clock_.Ticks();
  if (timer1_.Due(now)) parts_.PollMp3();
  if (timer2_.Due(now)) {
    if (!parts_.PollCd()) timer2_.Disable();
  }
}

void VX_S::Form_KeyDown(int32_t key_code) {
  if (state_.settings.MusicSource == 1 && key_code == kVkLeft) {
    parts_.PreviousTrack();
  } else if (state_.settings.MusicSource == 1 && key_code == kVkRight) {
    parts_.NextTrack();
  } else {
    parts_.NoteEnd("key");
    EndSaver();
  }
}

void VX_S::EndSaver() {
  if (ended_) return;
  ended_ = true;
  if (timer2_.Enabled()) {
    timer2_.Disable();
    parts_.CloseCd();
  }
  timer1_.Disable();
  if (state_.settings.MusicSource == 2) {
    const std::string type = MusicFileType(state_.settings.MusicFile);
    if (type == "WAV") parts_.StopWav();
    if (type == "MP3") parts_.StopMp3();
  }
  RestoreSystemState();
  windows_.SystemParametersInfo(kSpiSetScreenSaveActive, 1);
  running_ = false;
  Form_Unload();
}

void VX_S::RestoreSystemState() {
  if (state_.ModeLetter != 'S') return;
  SetSaverRunning(windows_, -1);
  state_.SavedCursorCount = windows_.ShowCursor(state_.SavedCursorCount != 0);
}

void VX_S::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  running_ = false;
  parts_.DeleteImages();
  parts_.ReleaseDevice();
}

}  // namespace vx
