// The background music as the saver session drives it: started when the saver loads, polled
// by a window timer for as long as it asks to be, moved between tracks by the arrow keys when
// it has tracks, and stopped at the end.
#pragma once

#include <cstdint>

namespace vx {

class MusicPort {
 public:
  virtual ~MusicPort() = default;
  virtual void Start() = 0;
  // How often Poll wants to run, in milliseconds; 0 when this music needs no polling.
  virtual uint32_t PollIntervalMs() const = 0;
  // One poll. False when polling should stop for good.
  virtual bool Poll() = 0;
  // True when the Left and Right arrow keys change the track instead of ending the saver.
  virtual bool TakesTrackKeys() const = 0;
  virtual void PreviousTrack() = 0;
  virtual void NextTrack() = 0;
  virtual void Stop() = 0;
};

}  // namespace vx
