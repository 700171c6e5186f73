// The multimedia command strings on Linux: an interpreter for the "cdaudio" device (libcdio,
// a drive or the disc image named by VEXLUM_CD_DEVICE) and for files opened with
// "type MPEGVideo" (SDL2_mixer), plus PlaySound for looped WAV files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ports/multimedia.h"

namespace vx {

class CdDisc;

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
  enum class TimeFormat { kMilliseconds, kMsf, kTmsf };
  struct FileDevice;
  struct CdState;

  uint32_t Execute(const std::vector<std::string>& words, std::string& reply);
  uint32_t Open(const std::vector<std::string>& words);
  uint32_t Close(const std::string& name);
  uint32_t Play(const std::string& name, const std::vector<std::string>& words);
  uint32_t Stop(const std::string& name);
  uint32_t Status(const std::string& name, const std::vector<std::string>& words,
                  std::string& reply);
  uint32_t Set(const std::string& name, const std::vector<std::string>& words);

  uint32_t CdStatus(const std::vector<std::string>& items, std::string& reply);
  uint32_t CdPlay(const std::string& from, const std::string& to);
  bool CdTocReady();
  std::string FormatCd(int32_t lsn) const;
  bool ParseCd(const std::string& text, int32_t& lsn) const;

  uint32_t FileStatus(FileDevice& device, const std::vector<std::string>& items,
                      std::string& reply);
  uint32_t FilePlay(const std::string& alias, FileDevice& device, const std::string& from);
  void FileStop(FileDevice& device);
  void CloseFile(const std::string& alias);
  void CloseCd();

  bool AudioReady();
  static void MixCd(void* self, uint8_t* stream, int length);

  std::string cd_source_;
  bool audio_tried_ = false;
  bool audio_ok_ = false;
  std::map<std::string, std::unique_ptr<FileDevice>> files_;  // by lower-case alias
  std::string music_owner_;  // alias of the file the mixer's music channel plays
  std::unique_ptr<CdState> cd_;
  void* chunk_ = nullptr;  // PlaySound's sound (Mix_Chunk)
  int chunk_channel_ = -1;
};

}  // namespace vx
