#include "platform/linux/sdl_file_player.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>

#include "music/command_string.h"
#include "music/music_file_check.h"
#include "ports/multimedia.h"

namespace vx {

struct SdlFilePlayer::FileDevice {
  Mix_Music* music = nullptr;
  double resume_seconds = 0;
};

Mix_Music* LoadCheckedMusic(const std::string& file, bool mp3_too) {
  SDL_RWops* in = SDL_RWFromFile(file.c_str(), "rb");
  if (in == nullptr) return nullptr;
  const Sint64 size = SDL_RWsize(in);
  const MusicContent content =
      size <= 0 ? MusicContent::kRefused
                : ClassifyMusic(
                      [in](uint64_t offset, char* buffer, size_t length) -> size_t {
                        if (SDL_RWseek(in, static_cast<Sint64>(offset), RW_SEEK_SET) < 0) return 0;
                        return SDL_RWread(in, buffer, 1, length);
                      },
                      static_cast<uint64_t>(size));
  const bool playable = content == MusicContent::kWav || (mp3_too && content == MusicContent::kMp3);
  if (!playable || SDL_RWseek(in, 0, RW_SEEK_SET) != 0) {
    SDL_RWclose(in);
    return nullptr;
  }
  // Streamed a piece at a time, so a file of any length takes the same little memory; the
  // mixer closes the file with the music.
  return Mix_LoadMUSType_RW(in, content == MusicContent::kWav ? MUS_WAV : MUS_MP3, 1);
}

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
  Mix_Music* music = LoadCheckedMusic(file, /*mp3_too=*/true);
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
