#include "music/music_file_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/temp_dir.h"
#include "fakes/wav_bytes.h"

namespace vx {
namespace {

using test::WavBytes;
using test::WavFormat;

MusicContent Classify(const std::string& bytes) {
  return ClassifyMusic(
      [&](uint64_t offset, char* buffer, size_t length) -> size_t {
        if (offset >= bytes.size()) return 0;
        const size_t n = std::min<size_t>(length, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, n);
        return n;
      },
      bytes.size());
}

TEST(MusicFileCheck, WavesADecoderCanTakeArePlayed) {
  EXPECT_EQ(Classify(WavBytes({})), MusicContent::kWav);  // 16-bit stereo PCM
  EXPECT_EQ(Classify(WavBytes({.channels = 1, .bits = 8})), MusicContent::kWav);
  EXPECT_EQ(Classify(WavBytes({.tag = 3, .bits = 32})), MusicContent::kWav);  // float
  EXPECT_EQ(Classify(WavBytes({.tag = 6, .channels = 1, .bits = 8})), MusicContent::kWav);
  EXPECT_EQ(Classify(WavBytes({.channels = 8, .rate = 8000})), MusicContent::kWav);
  EXPECT_EQ(Classify(WavBytes({.tag = 0x11, .bits = 4, .block_align = 1024, .data_bytes = 2048})),
            MusicContent::kWav);  // IMA ADPCM, which Windows plays
  // WAVE_FORMAT_EXTENSIBLE carrying 24-bit PCM.
  EXPECT_EQ(Classify(WavBytes({.tag = 0xFFFE, .bits = 24})), MusicContent::kWav);
  // Other chunks before the data, one of odd length with its pad byte.
  EXPECT_EQ(Classify(WavBytes({}, std::string("LIST\x03\0\0\0abc\0", 12))), MusicContent::kWav);
}

TEST(MusicFileCheck, HeadersADecoderCouldChokeOnAreRefused) {
  const struct {
    const char* why;
    WavFormat format;
  } cases[] = {
      {"no channels (a division by zero in the mixer)", {.channels = 0, .block_align = 0}},
      {"more channels than a mixer takes", {.channels = 9}},
      {"no sampling rate", {.rate = 0}},
      {"an absurd sampling rate", {.rate = 100000000}},
      {"a sample width no layout has", {.bits = 12, .block_align = 4}},
      {"frames narrower than their samples", {.block_align = 2}},
      {"no frame width at all", {.block_align = 0}},
      {"16-bit floats", {.tag = 3, .bits = 16}},
      {"an unknown format", {.tag = 0x55}},
      {"a short format chunk", {.fmt_size = 14}},
      {"an extensible format of an unknown kind", {.tag = 0xFFFE, .guid_ok = false}},
      {"no data", {.data_size = 0}},
      {"less data than one frame", {.channels = 2, .bits = 16, .data_size = 3}},
      {"data longer than the file", {.data_size = 5000, .data_bytes = 1000}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Classify(WavBytes(c.format)), MusicContent::kRefused) << c.why;

  const std::string wav = WavBytes({});
  const size_t data_chunk = wav.find("data");
  EXPECT_EQ(Classify(wav.substr(0, data_chunk)), MusicContent::kRefused) << "no data chunk";
  EXPECT_EQ(Classify(wav.substr(0, 30)), MusicContent::kRefused) << "cut inside the format";
  // The data chunk before the format: a decoder would read samples of no known layout.
  const std::string fmt = wav.substr(12, data_chunk - 12);
  const std::string data = wav.substr(data_chunk);
  EXPECT_EQ(Classify(wav.substr(0, 12) + data + fmt), MusicContent::kRefused);
  // A chunk whose length runs past the file's end.
  std::string overlong = wav;
  overlong.replace(16, 4, std::string("\xF0\xFF\xFF\xFF", 4));
  EXPECT_EQ(Classify(overlong), MusicContent::kRefused);
  EXPECT_EQ(Classify(std::string("RIFF\x04\0\0\0AVI LIST", 16)), MusicContent::kRefused)
      << "RIFF, not WAVE";
}

TEST(MusicFileCheck, Mp3IsKnownByItsTagOrFrameHeader) {
  const std::string frame("\xFF\xFB\x90\x64", 4);  // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
  EXPECT_EQ(Classify(frame + std::string(400, '\0')), MusicContent::kMp3);
  EXPECT_EQ(Classify(std::string("ID3\x04\0\0\0\0\0\x0A", 10) + std::string(10, '\0') + frame),
            MusicContent::kMp3);
  // Reserved bit rate and sampling-rate fields are no frame.
  EXPECT_EQ(Classify(std::string("\xFF\xFB\xF0\x64", 4) + std::string(400, '\0')),
            MusicContent::kRefused);
  EXPECT_EQ(Classify(std::string("\xFF\xFB\x9C\x64", 4) + std::string(400, '\0')),
            MusicContent::kRefused);
  // A tag that claims more than the file, or sizes that are not seven bits a byte.
  EXPECT_EQ(Classify(std::string("ID3\x04\0\0\0\0\x7F\x7F", 10) + frame), MusicContent::kRefused);
  EXPECT_EQ(Classify(std::string("ID3\x04\0\0\x80\0\0\0", 10) + frame), MusicContent::kRefused);
  // Other formats a mixer would also open (Ogg, MIDI) and empty or tiny files.
  EXPECT_EQ(Classify("OggS" + std::string(100, '\0')), MusicContent::kRefused);
  EXPECT_EQ(Classify("MThd" + std::string(100, '\0')), MusicContent::kRefused);
  EXPECT_EQ(Classify(""), MusicContent::kRefused);
  EXPECT_EQ(Classify("\xFF\xFB"), MusicContent::kRefused);
}

TEST(MusicFileCheck, FilesAreJudgedByTheirBytesAndOnlyRegularFilesAreOpened) {
  test::TempDir dir;
  EXPECT_EQ(ClassifyMusicFile(dir.Write("song.mp3", WavBytes({}))), MusicContent::kWav);
  EXPECT_EQ(ClassifyMusicFile(dir.Write("bad.wav", WavBytes({.channels = 0}))),
            MusicContent::kRefused);
  EXPECT_EQ(ClassifyMusicFile(dir.File("missing.wav")), MusicContent::kRefused);
  EXPECT_EQ(ClassifyMusicFile(dir.path().string()), MusicContent::kRefused);
}

}  // namespace
}  // namespace vx
