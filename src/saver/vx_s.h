// The saver window: its load step, frame loop, input handlers, timers, end procedure and
// unload step, against the pieces it drives (data pack, music, device, scene) and the
// window it runs in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/tick_clock.h"
#include "ports/saver_window.h"
#include "saver/frame_pacer.h"
#include "saver/window_timer.h"
#include "startup/vx_b.h"

namespace vx {

// What the saver window drives. Failures that must end the saver return false.
class SaverParts {
 public:
  virtual ~SaverParts() = default;
  virtual bool CheckAndExtractPack() = 0;  // shows its own message on failure
  virtual void SeedRandom() = 0;
  virtual bool SetUpDevice() = 0;  // shows its own message on failure
  virtual void BeforeLoop() = 0;
  virtual void DrawFrame() = 0;
  virtual void DeleteImages() = 0;
  virtual void ReleaseDevice() = 0;
  // Music.
  virtual void OpenCd() = 0;
  virtual bool PollCd() = 0;  // returns CdPolling
  virtual void PreviousTrack() = 0;
  virtual void NextTrack() = 0;
  virtual void CloseCd() = 0;
  virtual void PlayMp3() = 0;
  virtual void PollMp3() = 0;
  virtual void StopMp3() = 0;
  virtual void PlayWav() = 0;
  virtual void StopWav() = 0;
  // Why the loop is about to end (for statistics and diagnostics).
  virtual void NoteEnd(std::string_view) {}
};

struct SaverRunLimits {
  std::optional<int64_t> frames;  // end after this many drawn frames
  bool uncapped = false;
};

// The last three characters of the music file's name, upper-cased.
std::string MusicFileType(const std::string& music_file);

class VX_S {
 public:
  VX_S(StartupState& state, WindowSystem& windows, SaverWindow& window, SaverParts& parts,
       TickClock& clock, SaverRunLimits limits = {});

  // Runs the whole saver; returns the process's exit status.
  int Form_Load();
  void Form_KeyDown(int32_t key_code);
  void Form_Click() { EndSaver(); }
  void EndSaver();

  bool Running() const { return running_; }
  int64_t FramesDrawn() const { return frames_drawn_; }
  const WindowTimer& Timer1() const { return timer1_; }
  const WindowTimer& Timer2() const { return timer2_; }

 private:
  void RunScene();
  void Form_Unload();
  void FireTimers();
  // Undoes what start-up changed for mode "S" (also on a failed start).
  void RestoreSystemState();

  StartupState& state_;
  WindowSystem& windows_;
  SaverWindow& window_;
  SaverParts& parts_;
  TickClock& clock_;
  SaverRunLimits limits_;
  WindowTimer timer1_{1000};
  WindowTimer timer2_{200};
  bool running_ = false;
  bool unloaded_ = false;
  bool ended_ = false;
  int64_t frames_drawn_ = 0;
};

}  // namespace vx
