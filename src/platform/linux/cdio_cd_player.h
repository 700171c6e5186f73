// The "cdaudio" device: an audio CD read through libcdio and mixed into SDL2_mixer's output
// after the music and sounds, so the CD plays beside them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "music/command_string.h"

namespace vx {

class CdioCdPlayer {
 public:
  // `source` names the drive or disc image; empty for the default drive. `output_ready` opens
  // the audio output on first use and tells whether there is one; only a play asks for it.
  CdioCdPlayer(std::string source, std::function<bool()> output_ready);
  ~CdioCdPlayer();
  CdioCdPlayer(const CdioCdPlayer&) = delete;
  CdioCdPlayer& operator=(const CdioCdPlayer&) = delete;

  bool IsOpen() const { return state_ != nullptr; }
  // Opens the disc in the time format msf. A drive without a readable disc still opens; its
  // table of contents is read again at each status and play until there is one.
  uint32_t Open();
  void Close();

  // The rest need an open CD. Positions are written in the current time format and empty
  // when not given: then from where it stands, to the end of the disc.
  uint32_t Play(const std::string& from, const std::string& to);
  void Stop();
  // The status item, in lower-case words.
  uint32_t Status(const std::vector<std::string>& items, std::string& reply);
  void SetTimeFormat(TimeFormat format);

 private:
  struct CdState;

  bool TocReady();
  std::string FormatPosition(int32_t lsn) const;
  std::string FormatLength(int32_t sectors) const;
  bool ParsePosition(const std::string& text, int32_t& lsn) const;
  static void MixCd(void* state, uint8_t* stream, int length);

  std::string source_;
  std::function<bool()> output_ready_;
  std::unique_ptr<CdState> state_;
};

}  // namespace vx
