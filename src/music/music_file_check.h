// What a music file must look like before any decoder is given it. The user picks the file,
// and a decoder that trusts a damaged header can crash the saver (a WAV that claims no
// channels divides by zero inside the mixer), so the header is read here first and only a
// file a decoder can take at its word goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vx {

enum class MusicContent {
  kRefused,  // neither: nothing is played
  kWav,      // a RIFF WAVE file whose format and data a decoder can trust
  kMp3,      // an MPEG audio stream (an ID3 tag or a frame header first)
};

// Reads up to `length` bytes at `offset` into `buffer`; returns how many it read.
using MusicByteReader = std::function<size_t(uint64_t offset, char* buffer, size_t length)>;

// Looks at the file's bytes, not its name: a WAV named .mp3 is a WAV. `file_size` bounds
// every chunk the header declares.
MusicContent ClassifyMusic(const MusicByteReader& read, uint64_t file_size);

// The same for a file named in UTF-8; anything but a regular file (a FIFO, a device, a
// folder) is refused without being opened.
MusicContent ClassifyMusicFile(const std::string& path);

}  // namespace vx
