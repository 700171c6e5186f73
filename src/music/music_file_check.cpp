#include "music/music_file_check.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/utf8_path.h"

namespace vx {
namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kMsAdpcm = 2;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kALaw = 6;
constexpr uint16_t kMuLaw = 7;
constexpr uint16_t kImaAdpcm = 0x11;
constexpr uint16_t kExtensible = 0xFFFE;

// Wide enough for every recording people keep (8 kHz speech to 384 kHz studio masters);
// beyond it a resampler is asked for ratios nobody tests.
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 384000;
// The most channels the mixers on both systems take.
constexpr uint16_t kMaxChannels = 8;
// A header is a handful of chunks; a file of millions of empty ones is not music.
constexpr int kMaxChunks = 4096;

// The GUID tail every WAVE_FORMAT_EXTENSIBLE sub-format shares with the plain format tags.
constexpr std::array<uint8_t, 14> kSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
bool Is(const uint8_t* p, std::string_view tag) {
  return std::memcmp(p, tag.data(), tag.size()) == 0;
}

bool ReadExactly(const MusicByteReader& read, uint64_t offset, uint8_t* buffer, size_t length) {
  return read(offset, reinterpret_cast<char*>(buffer), length) == length;
}

struct WaveFormat {
  uint16_t tag = 0;
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t block_align = 0;
  uint16_t bits = 0;
};

// The "fmt " chunk's body, the extensible form resolved to the plain tag it carries.
bool ReadFormat(const uint8_t* body, uint32_t size, WaveFormat& f) {
  if (size < 16) return false;
  f.tag = Le16(body);
  f.channels = Le16(body + 2);
  f.rate = Le32(body + 4);
  f.block_align = Le16(body + 12);
  f.bits = Le16(body + 14);
  if (f.tag != kExtensible) return true;
  // cbSize, valid bits, channel mask, sub-format GUID.
  if (size < 40 || Le16(body + 16) < 22) return false;
  const uint16_t valid_bits = Le16(body + 18);
  if (valid_bits == 0 || valid_bits > f.bits) return false;
  if (std::memcmp(body + 26, kSubFormatTail.data(), kSubFormatTail.size()) != 0) return false;
  f.tag = Le16(body + 24);
  return f.tag == kPcm || f.tag == kFloat;
}

// True when a decoder can take the format at its word: a sample layout it knows, channels and
// rate in range, and frames exactly as wide as the layout says.
bool FormatIsSound(const WaveFormat& f) {
  if (f.channels == 0 || f.channels > kMaxChannels) return false;
  if (f.rate < kMinRate || f.rate > kMaxRate) return false;
  switch (f.tag) {
    case kPcm:
      if (f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) return false;
      break;
    case kFloat:
      if (f.bits != 32 && f.bits != 64) return false;
      break;
    case kALaw:
    case kMuLaw:
      if (f.bits != 8) return false;
      break;
    case kMsAdpcm:
    case kImaAdpcm:
      // Blocks of a per-channel header and packed 4-bit samples.
      return f.bits == 4 && f.channels <= 2 && f.block_align >= 8 * f.channels;
    default:
      return false;
  }
  return f.block_align == f.channels * (f.bits / 8);
}

bool WavIsSound(const MusicByteReader& read, uint64_t file_size) {
  WaveFormat format;
  bool have_format = false;
  uint64_t at = 12;
  for (int chunk = 0; chunk < kMaxChunks && at + 8 <= file_size; ++chunk) {
    uint8_t header[8];
    if (!ReadExactly(read, at, header, sizeof header)) return false;
    const uint32_t size = Le32(header + 4);
    const uint64_t body = at + 8;
    if (size > file_size - body) return false;  // the chunk claims more than the file holds
    if (Is(header, "fmt ")) {
      if (have_format) return false;
      uint8_t fmt[40] = {};
      const uint32_t take = size < sizeof fmt ? size : static_cast<uint32_t>(sizeof fmt);
      if (!ReadExactly(read, body, fmt, take) || !ReadFormat(fmt, size, format) ||
          !FormatIsSound(format))
        return false;
      have_format = true;
    } else if (Is(header, "data")) {
      // The format must come first, and a loop over no whole frame would never end.
      return have_format && size >= format.block_align;
    }
    at = body + size + (size & 1);  // chunks are padded to even lengths
  }
  return false;
}

bool IsMpegFrameHeader(const uint8_t* h) {
  return h[0] == 0xFF && (h[1] & 0xE0) == 0xE0  // frame sync
         && ((h[1] >> 3) & 3) != 1              // a known MPEG version
         && ((h[1] >> 1) & 3) != 0              // a known layer
         && (h[2] >> 4) != 15                   // a known bit rate
         && ((h[2] >> 2) & 3) != 3;             // a known sampling rate
}

bool IsId3Tag(const uint8_t* h, uint64_t file_size) {
  if (!Is(h, "ID3") || h[3] < 2 || h[3] > 4 || h[4] == 0xFF) return false;
  uint32_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (h[i] & 0x80) return false;  // sizes are seven bits a byte
    size = (size << 7) | h[i];
  }
  return 10 + uint64_t{size} < file_size;  // some audio after the tag
}

}  // namespace

MusicContent ClassifyMusic(const MusicByteReader& read, uint64_t file_size) {
  uint8_t head[12] = {};
  if (file_size < 4 || read(0, reinterpret_cast<char*>(head), sizeof head) < 4)
    return MusicContent::kRefused;
  if (file_size >= 12 && Is(head, "RIFF") && Is(head + 8, "WAVE"))
    return WavIsSound(read, file_size) ? MusicContent::kWav : MusicContent::kRefused;
  if (file_size >= 10 && IsId3Tag(head, file_size)) return MusicContent::kMp3;
  if (IsMpegFrameHeader(head)) return MusicContent::kMp3;
  return MusicContent::kRefused;
}

MusicContent ClassifyMusicFile(const std::string& path) {
  const std::filesystem::path file = Utf8Path(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return MusicContent::kRefused;
  const uint64_t size = std::filesystem::file_size(file, ec);
  if (ec) return MusicContent::kRefused;
  std::ifstream in(file, std::ios::binary);
  if (!in) return MusicContent::kRefused;
  return ClassifyMusic(
      [&in](uint64_t offset, char* buffer, size_t length) -> size_t {
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(buffer, static_cast<std::streamsize>(length));
        return static_cast<size_t>(in.gcount());
      },
      size);
}

}  // namespace vx
