#include "platform/linux/sdl_file_player.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>

#include "music/command_string.h"
#include "ports/multimedia.h"

namespace vx {

struct SdlFilePlayer::FileDevice {
  Mix_Music* music = nullptr;
  double resume_seconds = 0;
};

SdlFilePlayer::SdlFilePlayer(std::function<bool()> output_ready)
    : output_ready_(std::move(output_ready)) {}

SdlFilePlayer::~SdlFilePlayer() {
  CloseAll();
}

bool SdlFilePlayer::IsOpen(const std::string& alias) const {
  return files_.count(alias) != 0;
}

uint32_t SdlFilePlayer::Open(const std::string& alias, const std::string& file) {
  if (IsOpen(alias)) return kMciErrDuplicateAlias;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return kMciErrFileNotFound;
  if (!output_ready_()) return kMciErrHardware;
  Mix_Music* music = Mix_LoadMUS(file.c_str());
  if (music == nullptr) return kMciErrInvalidFile;
  if (Mix_MusicDuration(music) <= 0) {
    Mix_FreeMusic(music);
    return kMciErrInvalidFile;
  }
  auto device = std::make_unique<FileDevice>();
  device->music = music;
  files_[alias] = std::move(device);
  return 0;
}

uint32_t SdlFilePlayer::Close(const std::string& alias) {
  if (!IsOpen(alias)) return kMciErrInvalidDeviceName;
  CloseFile(alias);
  return 0;
}

void SdlFilePlayer::CloseAll() {
  while (!files_.empty()) CloseFile(files_.begin()->first);
}

void SdlFilePlayer::CloseFile(const std::string& alias) {
  auto it = files_.find(alias);
  if (it == files_.end()) return;
  if (music_owner_ == alias) {
    Mix_HaltMusic();
    music_owner_.clear();
  }
  Mix_FreeMusic(it->second->music);
  files_.erase(it);
}

bool SdlFilePlayer::OwnsMusic(const FileDevice& device) const {
  return !music_owner_.empty() && files_.at(music_owner_).get() == &device;
}

uint32_t SdlFilePlayer::Play(const std::string& alias, const std::string& from,
                             const std::string& to) {
  auto it = files_.find(alias);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  if (!to.empty()) return kMciErrUnsupportedFunction;
  FileDevice& device = *it->second;
  double start = device.resume_seconds;
  if (!from.empty()) {
    auto ms = ParseCount(from);
    if (!ms) return kMciErrBadInteger;
    start = static_cast<double>(*ms) / 1000.0;
    if (start > Mix_MusicDuration(device.music)) return kMciErrOutOfRange;
  }
  if (Mix_PlayMusic(device.music, 1) != 0) return kMciErrHardware;
  if (start > 0) Mix_SetMusicPosition(start);
  music_owner_ = alias;
  device.resume_seconds = 0;
  return 0;
}

uint32_t SdlFilePlayer::Stop(const std::string& alias) {
  auto it = files_.find(alias);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  FileDevice& device = *it->second;
  if (OwnsMusic(device)) {
    // Stopped in the middle: a later plain "play" resumes there. Ended: it starts again.
    device.resume_seconds =
        Mix_PlayingMusic() != 0 ? std::max(0.0, Mix_GetMusicPosition(device.music)) : 0.0;
    Mix_HaltMusic();
    music_owner_.clear();
  }
  return 0;
}

void SdlFilePlayer::YieldMusic() {
  if (!music_owner_.empty()) Stop(music_owner_);
}

uint32_t SdlFilePlayer::Status(const std::string& alias, const std::vector<std::string>& items,
                               std::string& reply) {
  auto it = files_.find(alias);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  const FileDevice& device = *it->second;
  const std::string item = JoinWords(items);
  const bool playing = OwnsMusic(device) && Mix_PlayingMusic() != 0;
  if (item == "mode") {
    reply = playing ? "playing" : "stopped";
  } else if (item == "position") {
    const double seconds = playing ? Mix_GetMusicPosition(device.music) : device.resume_seconds;
    reply = std::to_string(std::llround(std::max(0.0, seconds) * 1000));
  } else if (item == "length") {
    reply = std::to_string(std::llround(std::max(0.0, Mix_MusicDuration(device.music)) * 1000));
  } else {
    return kMciErrUnrecognizedKeyword;
  }
  return 0;
}

}  // namespace vx
