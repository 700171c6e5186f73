// The multimedia command strings on Linux: an interpreter for the "cdaudio" device (libcdio,
// a drive or the disc image named by VEXLUM_CD_DEVICE) and for files opened with
// "type MPEGVideo" (SDL2_mixer), plus PlaySound for looped WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "music/command_string.h"
#include "platform/linux/cdio_cd_player.h"
#include "platform/linux/sdl_file_player.h"
#include "ports/multimedia.h"

namespace vx {

class SdlMultimedia final : public Multimedia {
 public:
  // `cd_source` names the drive or disc image "cdaudio" reads; empty for the default drive.
  // The audio output is opened on first use; with no usable output, everything that would
  // sound fails as it would without a sound card.
  explicit SdlMultimedia(std::string cd_source);
  // Reads the CD source from VEXLUM_CD_DEVICE.
  SdlMultimedia();
  ~SdlMultimedia() override;
  SdlMultimedia(const SdlMultimedia&) = delete;
  SdlMultimedia& operator=(const SdlMultimedia&) = delete;

  uint32_t SendString(std::string_view command, std::string* reply, uint32_t reply_length) override;
  bool GetErrorString(uint32_t code, std::string& text, uint32_t length) override;
  bool PlaySound(const std::string* name, uint32_t flags) override;
  uint32_t WaveOutGetNumDevs() override;

 private:
  uint32_t Execute(const CommandString& command, std::string& reply);
  uint32_t Open(const CommandString& command);
  uint32_t Close(const std::string& name);
  uint32_t Play(const CommandString& command);
  uint32_t Stop(const std::string& name);
  uint32_t Status(const CommandString& command, std::string& reply);
  uint32_t Set(const CommandString& command);
  // True when `name` addresses the CD and it is open; otherwise the name is a file's alias.
  bool IsCd(const std::string& name) const;

  bool AudioReady();

  bool audio_tried_ = false;
  bool audio_ok_ = false;
  SdlFilePlayer files_;
  CdioCdPlayer cd_;
  void StopSound();

  void* sound_ = nullptr;  // what PlaySound streams (Mix_Music), sharing the files' channel
};

}  // namespace vx
