// The background-music player: an audio CD, or a looped MP3 or WAV file, driven through the
// platform's multimedia command strings and polled by the saver window's timers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/multimedia.h"
#include "settings/settings.h"

namespace vx {

inline constexpr std::string_view kNoCommandText = "コマンド文字列が指定されていません";
inline constexpr std::string_view kNoErrorText = "Error (文字列が取れません)";
inline constexpr uint32_t kReplyBufferLength = 512;
inline constexpr uint32_t kErrorBufferLength = 256;
inline constexpr uint32_t kModeBufferLength = 255;
inline constexpr uint32_t kMp3ModeBufferLength = 30;

class MusicPlayer {
 public:
  // Both are borrowed and must outlive the player; the settings are read at each call.
  MusicPlayer(Multimedia& multimedia, const Settings& settings)
      : multimedia_(multimedia), settings_(settings) {}

  // Sends a command; `return_text` gets the reply or the error text. Returns the result code,
  // -1 for an empty command.
  int32_t SendMci(const std::string& command, std::string& return_text);
  // The reply, or "Error:" and the result code in decimal.
  std::string MciQuery(const std::string& command);
  // "play DEVICE[ from FROM][ to TO]"; returns SendMci's result.
  int32_t MciPlay(const std::string& device_name, const std::string& from_pos,
                  const std::string& to_pos);

  void OpenCd();
  void PollCd();
  void PreviousTrack();
  void NextTrack();
  void CloseCd();

  void PlayMp3();
  void PollMp3();
  bool IsMp3Playing();
  void StopMp3();

  void PlayWav();
  void StopWav();

  // True from the start of each CD poll until the CD cannot be queried.
  bool cd_polling = false;
  // Reply (or error text) of the last MciQuery or MciPlay.
  std::string last_reply;

 private:
  // A command whose reply is not wanted; its result is dropped.
  void Send(std::string_view command);
  void PlayTrackRelative(int delta);

  Multimedia& multimedia_;
  const Settings& settings_;
};

}  // namespace vx
