// The choice of music the settings make (an audio CD, a looped MP3 file, a looped WAV file or
// nothing), played through the music player behind the session's one music port.
#pragma once

#include <cstdint>
#include <string>

#include "music/music_player.h"
#include "ports/multimedia.h"
#include "ports/music_port.h"
#include "settings/settings.h"

namespace vx {

// The last three characters of the music file's name, upper-cased: "MP3" and "WAV" play.
std::string MusicFileType(const std::string& music_file);

// True when the file's name picks a player (see MusicFileType) and its bytes are something that
// player can be trusted with: a sound WAV for "WAV", a sound WAV or an MP3 for "MP3".
bool CanPlayMusicFile(const std::string& music_file);

class BackgroundMusic final : public MusicPort {
 public:
  enum class Kind { kNone, kCd, kMp3, kWav };
  static constexpr uint32_t kCdPollMs = 200;    // follows the disc closely for track changes
  static constexpr uint32_t kMp3PollMs = 1000;  // only restarts the file once it has ended

  // Both are borrowed and must outlive the music. The file, if any, is looked at by Start:
  // one that cannot be played safely is not played.
  BackgroundMusic(Multimedia& multimedia, const Settings& settings);

  void Start() override;
  uint32_t PollIntervalMs() const override;
  bool Poll() override;
  bool TakesTrackKeys() const override { return kind_ == Kind::kCd; }
  void PreviousTrack() override { player_.PreviousTrack(); }
  void NextTrack() override { player_.NextTrack(); }
  void Stop() override;

  Kind GetKind() const { return kind_; }

 private:
  const Settings& settings_;
  MusicPlayer player_;
  Kind kind_;
  // Set while the CD is open and answering; a CD that stopped answering is not closed.
  bool cd_polling_ = false;
};

}  // namespace vx
