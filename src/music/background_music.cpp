#include "music/background_music.h"

#include <cctype>

#include "music/music_file_check.h"

namespace vx {

std::string MusicFileType(const std::string& file) {
  std::string type = file.size() >= 3 ? file.substr(file.size() - 3) : file;
  for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return type;
}

bool CanPlayMusicFile(const std::string& file) {
  const std::string type = MusicFileType(file);
  if (type != "WAV" && type != "MP3") return false;
  const MusicContent content = ClassifyMusicFile(file);
  return content == MusicContent::kWav || (type == "MP3" && content == MusicContent::kMp3);
}

namespace {
BackgroundMusic::Kind KindOf(const Settings& settings) {
  if (settings.music_source == MusicSource::kCd) return BackgroundMusic::Kind::kCd;
  if (settings.music_source != MusicSource::kFile) return BackgroundMusic::Kind::kNone;
  const std::string type = MusicFileType(settings.music_file);
  if (type == "WAV") return BackgroundMusic::Kind::kWav;
  if (type == "MP3") return BackgroundMusic::Kind::kMp3;
  return BackgroundMusic::Kind::kNone;
}
}  // namespace

BackgroundMusic::BackgroundMusic(Multimedia& multimedia, const Settings& settings)
    : settings_(settings), player_(multimedia, settings), kind_(KindOf(settings)) {}

void BackgroundMusic::Start() {
  // The file is looked at before the platform's player is given it: a file it cannot play
  // safely leaves the saver silent, as a missing one does. The MP3 player also takes a WAV.
  if ((kind_ == Kind::kWav || kind_ == Kind::kMp3) && !CanPlayMusicFile(settings_.music_file))
    kind_ = Kind::kNone;
  switch (kind_) {
    case Kind::kCd:
      player_.OpenCd();
      cd_polling_ = true;
      break;
    case Kind::kWav:
      player_.PlayWav();
      break;
    case Kind::kMp3:
      player_.PlayMp3();
      break;
    case Kind::kNone:
      break;
  }
}

uint32_t BackgroundMusic::PollIntervalMs() const {
  if (kind_ == Kind::kCd) return kCdPollMs;
  if (kind_ == Kind::kMp3) return kMp3PollMs;
  return 0;
}

bool BackgroundMusic::Poll() {
  if (kind_ == Kind::kMp3) {
    player_.PollMp3();
    return true;
  }
  if (kind_ != Kind::kCd || !cd_polling_) return false;
  player_.PollCd();
  cd_polling_ = player_.cd_polling;
  return cd_polling_;
}

void BackgroundMusic::Stop() {
  switch (kind_) {
    case Kind::kCd:
      if (cd_polling_) player_.CloseCd();
      cd_polling_ = false;
      break;
    case Kind::kWav:
      player_.StopWav();
      break;
    case Kind::kMp3:
      player_.StopMp3();
      break;
    case Kind::kNone:
      break;
  }
}

}  // namespace vx
