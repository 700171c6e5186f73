// The saver window's side of the music: what its load step, its two timers, its key handler and
// its end procedure do with the player.
#pragma once

#include <cstdint>
#include <string_view>

#include "music/vx_bgm.h"

namespace vx {

inline constexpr uint32_t kTimer1IntervalMs = 1000;  // MP3 poll
inline constexpr uint32_t kTimer2IntervalMs = 200;   // CD poll
inline constexpr int16_t kKeyLeft = 37;
inline constexpr int16_t kKeyRight = 39;

enum class MusicFileType { kNone, kWav, kMp3 };

// The last three characters of the path, upper-cased, compared with "WAV" and "MP3".
MusicFileType FileTypeOf(std::string_view music_file);

class SaverMusic {
 public:
  // Both are borrowed and must outlive this object.
  SaverMusic(Multimedia& multimedia, const Settings& settings)
      : settings_(settings), player_(multimedia, settings) {}

  // The load step's music start: opens the CD (and enables Timer2) or starts the file (and,
  // for an MP3, enables Timer1). `now_ms` starts the timers' first interval.
  void Start(uint32_t now_ms);

  // Runs the timers that are due at `now_ms` (a wrapping millisecond tick count). Call it from
  // the loop's message processing; each due timer fires once, then waits a full interval.
  void Pump(uint32_t now_ms);
  // The timer handlers themselves, for a caller with timers of its own.
  void Timer1();  // PollMp3
  void Timer2();  // PollCd; Timer2 stays enabled only while the CD can be polled

  bool Timer1Enabled() const { return timer1_enabled_; }
  bool Timer2Enabled() const { return timer2_enabled_; }

  // The key handler's music part: with the CD as source, Left and Right change the track and
  // true is returned (the saver keeps running). False means the key ends the saver.
  bool HandleKey(int16_t key_code);

  // The end procedure's music steps: closes the CD if its timer still runs, stops the file.
  // Safe to call more than once.
  void Stop();

  MusicPlayer& player() { return player_; }

 private:
  const Settings& settings_;
  MusicPlayer player_;
  bool timer1_enabled_ = false;
  bool timer2_enabled_ = false;
  uint32_t timer1_due_ = 0;
  uint32_t timer2_due_ = 0;
  bool stopped_ = false;
};

}  // namespace vx
