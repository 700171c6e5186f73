#include "platform/linux/sdl_multimedia.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace vx {
namespace {

constexpr int kOutputRate = 44100;  // the CD's own rate, so its sectors mix in unconverted

std::string CdSourceFromEnvironment() {
  const char* source = std::getenv("VEXLUM_CD_DEVICE");
  return source != nullptr ? source : "";
}

}  // namespace

SdlMultimedia::SdlMultimedia(std::string cd_source)
    : files_([this] { return AudioReady(); }),
      cd_(std::move(cd_source), [this] { return AudioReady(); }) {}

SdlMultimedia::SdlMultimedia() : SdlMultimedia(CdSourceFromEnvironment()) {}

SdlMultimedia::~SdlMultimedia() {
  // Everything that plays lets go of the mixer before it closes.
  PlaySound(nullptr, kSndSync);
  files_.CloseAll();
  cd_.Close();
  if (audio_ok_) {
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (audio_tried_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlMultimedia::AudioReady() {
  if (audio_tried_) return audio_ok_;
  audio_tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // No format changes allowed: SDL converts for the device, and CD sectors mix in as they are.
  if (Mix_OpenAudioDevice(kOutputRate, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) return false;
  Mix_Init(MIX_INIT_MP3);
  audio_ok_ = true;
  return true;
}

uint32_t SdlMultimedia::WaveOutGetNumDevs() {
  if (!AudioReady()) return 0;
  return static_cast<uint32_t>(std::max(1, SDL_GetNumAudioDevices(0)));
}

bool SdlMultimedia::GetErrorString(uint32_t code, std::string& text, uint32_t length) {
  const std::string_view message = ErrorText(code);
  if (message.empty() || length == 0) return false;
  text = std::string(message.substr(0, length - 1));
  return true;
}

void SdlMultimedia::StopSound() {
  if (sound_ == nullptr) return;
  Mix_FreeMusic(static_cast<Mix_Music*>(sound_));  // halts it first if it still plays
  sound_ = nullptr;
}

bool SdlMultimedia::PlaySound(const std::string* name, uint32_t flags) {
  StopSound();
  if (name == nullptr) return true;
  if ((flags & kSndAsync) == 0) return false;
  // Only a regular file: a device or a FIFO behind the name would never end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*name, ec) || !AudioReady()) return false;
  // Streamed through the music channel, so a sound of any length never holds up the loop
  // while it loads.
  Mix_Music* sound = LoadCheckedMusic(*name, /*mp3_too=*/false);
  if (sound == nullptr) return false;
  files_.YieldMusic();
  if (Mix_PlayMusic(sound, (flags & kSndLoop) != 0 ? -1 : 1) != 0) {
    Mix_FreeMusic(sound);
    return false;
  }
  sound_ = sound;
  return true;
}

uint32_t SdlMultimedia::SendString(std::string_view command, std::string* reply,
                                   uint32_t reply_length) {
  CommandString parsed;
  std::string text;
  uint32_t result = ParseCommandString(command, parsed);
  if (result == 0) result = Execute(parsed, text);
  if (reply != nullptr && reply_length > 0) {
    *reply = result == 0 ? text.substr(0, reply_length - 1) : std::string();
  }
  return result;
}

uint32_t SdlMultimedia::Execute(const CommandString& command, std::string& reply) {
  switch (command.verb) {
    case CommandVerb::kOpen:
      return Open(command);
    case CommandVerb::kClose:
      return command.arguments.empty() ? Close(command.device) : kMciErrUnrecognizedKeyword;
    case CommandVerb::kStop:
      return command.arguments.empty() ? Stop(command.device) : kMciErrUnrecognizedKeyword;
    case CommandVerb::kPlay:
      return Play(command);
    case CommandVerb::kStatus:
      return Status(command, reply);
    case CommandVerb::kSet:
      return Set(command);
  }
  return kMciErrUnrecognizedCommand;
}

bool SdlMultimedia::IsCd(const std::string& name) const {
  return name == "cdaudio" && cd_.IsOpen();
}

uint32_t SdlMultimedia::Open(const CommandString& command) {
  std::string type, alias;
  if (const uint32_t result = ReadOpenOptions(command, type, alias); result != 0) return result;
  if (type.empty()) {
    if (command.device == "cdaudio") {
      type = "cdaudio";
    } else if (std::filesystem::path(command.device).extension().string() == ".mp3") {
      type = "mpegvideo";
    } else {
      return kMciErrInvalidDeviceName;
    }
  }

  if (type == "cdaudio") {
    if (!alias.empty() && alias != "cdaudio") return kMciErrUnsupportedFunction;
    return cd_.Open();
  }
  if (type != "mpegvideo") return kMciErrCannotLoadDriver;

  const std::string& key = alias.empty() ? command.device : alias;
  // "close all" and the CD's name must stay unambiguous.
  if (key == "cdaudio" || key == "all") return kMciErrDuplicateAlias;
  return files_.Open(key, command.element);
}

uint32_t SdlMultimedia::Close(const std::string& name) {
  if (name == "all") {
    files_.CloseAll();
    cd_.Close();
    return 0;
  }
  if (IsCd(name)) {
    cd_.Close();
    return 0;
  }
  return files_.Close(name);
}

uint32_t SdlMultimedia::Stop(const std::string& name) {
  if (IsCd(name)) {
    cd_.Stop();
    return 0;
  }
  return files_.Stop(name);
}

uint32_t SdlMultimedia::Play(const CommandString& command) {
  std::string from, to;
  if (const uint32_t result = ReadPlayRange(command, from, to); result != 0) return result;
  if (IsCd(command.device)) return cd_.Play(from, to);
  if (files_.IsOpen(command.device)) StopSound();  // the file takes the music channel
  return files_.Play(command.device, from, to);
}

uint32_t SdlMultimedia::Status(const CommandString& command, std::string& reply) {
  if (command.arguments.empty()) return kMciErrMissingParameter;
  if (IsCd(command.device)) return cd_.Status(command.arguments, reply);
  return files_.Status(command.device, command.arguments, reply);
}

uint32_t SdlMultimedia::Set(const CommandString& command) {
  const bool cd = IsCd(command.device);
  if (!cd && !files_.IsOpen(command.device)) return kMciErrInvalidDeviceName;
  TimeFormat format;
  if (const uint32_t result = ReadTimeFormat(command, format); result != 0) return result;
  if (cd) {
    cd_.SetTimeFormat(format);
    return 0;
  }
  // Files know no frames: their positions are milliseconds only.
  return format == TimeFormat::kMilliseconds ? 0 : kMciErrBadConstant;
}

}  // namespace vx
