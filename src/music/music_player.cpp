#include "music/music_player.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/numbers.h"

namespace vx {
namespace {

std::string UpperAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The first seven characters of a mode reply, as a fixed buffer of that many characters shows
// them: shorter replies are padded with NUL characters, so "open" never reads as "stopped".
std::string FirstSeven(const std::string& reply) {
  std::string seven = reply.substr(0, 7);
  seven.resize(7, '\0');
  return seven;
}

}  // namespace

int32_t MusicPlayer::SendMci(const std::string& command, std::string& return_text) {
  if (command.empty()) {
    return_text = kNoCommandText;
    return -1;
  }
  std::string reply;
  const uint32_t result = multimedia_.SendString(command, &reply, kReplyBufferLength);
  if (result == 0) {
    return_text = reply.substr(0, reply.find('\0'));
    return 0;
  }
  std::string error;
  if (multimedia_.GetErrorString(result, error, kErrorBufferLength)) {
    return_text = error.substr(0, error.find('\0'));
  } else {
    return_text = kNoErrorText;
  }
  return static_cast<int32_t>(result);
}

std::string MusicPlayer::MciQuery(const std::string& command) {
  const int32_t result = SendMci(command, last_reply);
  if (result != 0) return "Error:" + std::to_string(result);
  return last_reply;
}

int32_t MusicPlayer::MciPlay(const std::string& device_name, const std::string& from_pos,
                             const std::string& to_pos) {
  std::string command = "play " + device_name;
  if (!from_pos.empty()) command += " from " + from_pos;
  if (!to_pos.empty()) command += " to " + to_pos;
  return SendMci(command, last_reply);
}

void MusicPlayer::Send(std::string_view command) {
  multimedia_.SendString(command, nullptr, 0);
}

void MusicPlayer::OpenCd() {
  Send("open cdaudio");
  Send("set cdaudio time format tmsf");
}

void MusicPlayer::PollCd() {
  cd_polling = true;
  const std::string track = UpperAscii(MciQuery("status cdaudio current track"));
  if (track.find("ERR") != std::string::npos) {
    cd_polling = false;
    return;
  }
  const std::string count = UpperAscii(MciQuery("status cdaudio number of tracks"));
  if (count.find("ERR") != std::string::npos) {
    cd_polling = false;
    return;
  }
  std::string mode;
  multimedia_.SendString("status cdaudio mode", &mode, kModeBufferLength);
  const bool stopped = FirstSeven(mode) == "stopped";

  const int16_t repeat = settings_.repeat_track;
  if (repeat != 0) {
    // Both sides of the test are evaluated, so a current-track reply that is not a number ends
    // polling even when the disc is stopped.
    const std::optional<double> current = ParseNumber(track);
    if (!current) {
      cd_polling = false;
      return;
    }
    if (stopped || *current != repeat) {
      const std::string position =
          MciQuery("status cdaudio position track " + std::to_string(repeat));
      MciPlay("cdaudio", position, "");
    }
  } else if (stopped) {
    MciPlay("cdaudio", "", "");
  }
}

void MusicPlayer::PlayTrackRelative(int delta) {
  // Each step runs even when the one before failed: an unreadable track number counts as 0, and
  // a track number out of 16-bit range leaves the position empty, which plays from where the
  // disc stands.
  const int32_t current =
      ToInt16(ParseLeadingNumber(MciQuery("status cdaudio current track"))).value_or(0);
  std::string position;
  const int32_t target = current + delta;
  if (target >= INT16_MIN && target <= INT16_MAX) {
    position = MciQuery("status cdaudio position track " + std::to_string(target));
  }
  MciPlay("cdaudio", position, "");
}

void MusicPlayer::PreviousTrack() {
  PlayTrackRelative(-1);
}
void MusicPlayer::NextTrack() {
  PlayTrackRelative(1);
}

void MusicPlayer::CloseCd() {
  Send("stop cdaudio");
  Send("close cdaudio");
}

void MusicPlayer::PlayMp3() {
  // The file name travels in double quotes; a quote inside it would end the name early and let
  // the rest of the path be read as command words, so such a file is not opened at all.
  if (settings_.music_file.find('"') != std::string::npos) return;
  const uint32_t result = multimedia_.SendString(
      "open \"" + settings_.music_file + "\" type MPEGVideo Alias MP3Play", nullptr, 0);
  if (result == 0) Send("play MP3Play");
}

bool MusicPlayer::IsMp3Playing() {
  std::string mode;
  multimedia_.SendString("status MP3Play mode", &mode, kMp3ModeBufferLength);
  return FirstSeven(mode) == "playing";
}

void MusicPlayer::PollMp3() {
  if (!IsMp3Playing()) {
    Send("stop MP3Play");
    Send("play MP3Play from 0");
  }
}

void MusicPlayer::StopMp3() {
  Send("stop MP3Play");
  Send("close MP3Play");
}

void MusicPlayer::PlayWav() {
  if (static_cast<int32_t>(multimedia_.WaveOutGetNumDevs()) <= 0) return;
  multimedia_.PlaySound(&settings_.music_file, kSndAsync | kSndLoop);
}

void MusicPlayer::StopWav() {
  multimedia_.PlaySound(nullptr, kSndSync);
}

}  // namespace vx
