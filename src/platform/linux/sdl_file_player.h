// The files opened with "type MPEGVideo": each is loaded as SDL2_mixer music under its alias,
// and the mixer's single music channel plays one of them at a time.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vx {

// Loads a music file for the mixer once its bytes, read through the same open file the mixer
// then decodes, show it to be a WAV (or, when `mp3_too`, an MP3) a decoder can trust. The
// decoder is chosen by those bytes, never guessed by the mixer. Null for anything else.
Mix_Music* LoadCheckedMusic(const std::string& file, bool mp3_too);

class SdlFilePlayer {
 public:
  // `output_ready` opens the audio output on first use and tells whether there is one; it is
  // asked only once a file has been found, so a missing file never wakes the sound card.
  explicit SdlFilePlayer(std::function<bool()> output_ready);
  ~SdlFilePlayer();
  SdlFilePlayer(const SdlFilePlayer&) = delete;
  SdlFilePlayer& operator=(const SdlFilePlayer&) = delete;

  // Aliases are lower case.
  bool IsOpen(const std::string& alias) const;
  uint32_t Open(const std::string& alias, const std::string& file);
  uint32_t Close(const std::string& alias);
  void CloseAll();
  // `from` and `to` are positions in milliseconds, empty when not given; only `from` is
  // offered. A plain play resumes where a stop left the file.
  uint32_t Play(const std::string& alias, const std::string& from, const std::string& to);
  uint32_t Stop(const std::string& alias);
  // Gives up the music channel, as a stop does, to a sound that will play on it.
  void YieldMusic();
  // "mode", "position" or "length", the last two in milliseconds.
  uint32_t Status(const std::string& alias, const std::vector<std::string>& items,
                  std::string& reply);

 private:
  struct FileDevice;

  bool OwnsMusic(const FileDevice& device) const;
  void CloseFile(const std::string& alias);

  std::function<bool()> output_ready_;
  std::map<std::string, std::unique_ptr<FileDevice>> files_;  // by alias
  std::string music_owner_;  // alias of the file the mixer's music channel plays
};

}  // namespace vx
