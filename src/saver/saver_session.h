// One run of the saver: its load step, the paced frame loop, input and timers between
// frames, the end procedure and the unload step, against the window it runs in, the parts it
// drives and the music.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/texts.h"
#include "core/tick_clock.h"
#include "ports/music_port.h"
#include "ports/saver_parts.h"
#include "ports/saver_window.h"
#include "ports/window_system.h"
#include "saver/frame_pacer.h"
#include "saver/window_timer.h"
#include "startup/mode_dispatch.h"

namespace vx {

// What the saver says when its frame loop fails; the reason follows on the next line.
inline constexpr std::string_view kFrameFailedMessage = texts::kFrameFailed.japanese;

struct SaverRunLimits {
  std::optional<int64_t> frames;  // end after this many drawn frames
  bool uncapped = false;
};

// Undoes what start-up changed for mode "S" (the system-wide announcement, the hidden
// cursor): at the saver's end, and when it cannot start.
void UndoStartupChanges(StartupState& state, WindowSystem& windows);
// A saver that cannot start: says why (after kStartFailedMessage) in a message box, undoes
// start-up's changes and gives the exit status, 1.
int FailSaverStart(StartupState& state, WindowSystem& windows, std::string_view why);
// A saver that cannot start because of how it was asked to run: says why on the console only,
// undoes start-up's changes and gives the exit status, 1.
int RefuseSaverStart(StartupState& state, WindowSystem& windows, std::string_view why);

class SaverSession {
 public:
  SaverSession(StartupState& state, WindowSystem& windows, SaverWindow& window, SaverParts& parts,
               MusicPort& music, TickClock& clock, SaverRunLimits limits = {});

  // Runs the whole saver; returns the process's exit status. A failure inside the frame loop
  // ends the saver as a key would (music stopped, system state restored, images deleted),
  // says what failed and gives status 1.
  int Run();
  void OnKey(int32_t key_code);
  void OnClick() { End(); }
  void End();

  bool Running() const { return running_; }
  int64_t FramesDrawn() const { return frames_drawn_; }
  const WindowTimer& MusicTimer() const { return music_timer_; }

 private:
  // False when a frame failed; `failure` then says why.
  bool RunFrameLoop(std::string& failure);
  void Unload();
  void FireTimers();

  StartupState& state_;
  WindowSystem& windows_;
  SaverWindow& window_;
  SaverParts& parts_;
  MusicPort& music_;
  TickClock& clock_;
  SaverRunLimits limits_;
  WindowTimer music_timer_{0};  // polls the music at the interval it asks for
  bool running_ = false;
  bool unloaded_ = false;
  bool ended_ = false;
  int64_t frames_drawn_ = 0;
};

}  // namespace vx
