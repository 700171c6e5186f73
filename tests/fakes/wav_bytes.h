// WAV files made in memory, right or wrong in exactly the field a test names.
#pragma once

#include <cstdint>
#include <string>

namespace vx::test {

struct WavFormat {
  uint16_t tag = 1;  // PCM; 0xFFFE writes the extensible form with this sub-format
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  int32_t block_align = -1;  // -1: channels x bits / 8
  int32_t fmt_size = -1;     // -1: 16, or 40 for the extensible form
  bool guid_ok = true;       // the extensible form's sub-format GUID
  int64_t data_size = -1;    // what the data chunk claims; -1: data_bytes
  uint32_t data_bytes = 1000;
};

inline void PutLe(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A RIFF WAVE file: the format chunk, then `extra_chunks` as they are, then the data.
inline std::string WavBytes(const WavFormat& f, const std::string& extra_chunks = "") {
  const bool extensible = f.tag == 0xFFFE;
  const uint16_t block_align = f.block_align >= 0
                                   ? static_cast<uint16_t>(f.block_align)
                                   : static_cast<uint16_t>(f.channels * (f.bits / 8));
  std::string fmt;
  PutLe(fmt, extensible ? 0xFFFE : f.tag, 2);
  PutLe(fmt, f.channels, 2);
  PutLe(fmt, f.rate, 4);
  PutLe(fmt, uint64_t{f.rate} * block_align, 4);
  PutLe(fmt, block_align, 2);
  PutLe(fmt, f.bits, 2);
  if (extensible) {
    PutLe(fmt, 22, 2);      // cbSize
    PutLe(fmt, f.bits, 2);  // valid bits
    PutLe(fmt, 3, 4);       // front left and right
    PutLe(fmt, 1, 2);       // PCM
    fmt += f.guid_ok ? std::string("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14)
                     : std::string(14, '\x5A');
  }
  if (f.fmt_size >= 0) fmt.resize(static_cast<size_t>(f.fmt_size));
  std::string body = "WAVE";
  body += "fmt ";
  PutLe(body, fmt.size(), 4);
  body += fmt;
  body += extra_chunks;
  body += "data";
  PutLe(body, f.data_size >= 0 ? static_cast<uint64_t>(f.data_size) : f.data_bytes, 4);
  body += std::string(f.data_bytes, '\x01');
  std::string file = "RIFF";
  PutLe(file, body.size(), 4);
  return file + body;
}

}  // namespace vx::test
