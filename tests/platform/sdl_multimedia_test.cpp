// The command-string interpreter against SDL's disk audio driver: what was played lands in a
// raw file (44100 Hz, 16-bit stereo), which the tests search for the test tones.
#include "platform/linux/sdl_multimedia.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_dir.h"
#include "fakes/wav_bytes.h"

namespace vx {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 44100;

std::string Error(uint32_t code) {
  return "error " + std::to_string(code);
}

// The reply, or "error N".
std::string Send(Multimedia& mm, const std::string& command) {
  std::string reply;
  const uint32_t result = mm.SendString(command, &reply, 512);
  return result == 0 ? reply : Error(result);
}

// Asks `command` every 20 ms, for at most four seconds, until it replies `reply`.
bool Awaits(Multimedia& mm, const std::string& command, const std::string& reply) {
  for (int i = 0; i < 200; ++i) {
    if (Send(mm, command) == reply) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// Seconds of the output's left channel, in 50 ms windows, in which a tone of `hz` carries most
// of the energy.
double SecondsOfTone(const std::string& output, double hz) {
  const std::string bytes = test::TempDir::Read(output);
  std::vector<int16_t> samples(bytes.size() / 2);  // little-endian, as the host
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  constexpr size_t kWindow = kRate / 20;
  int windows = 0;
  for (size_t start = 0; (start + kWindow) * 2 <= samples.size(); start += kWindow) {
    double re = 0, im = 0, energy = 0;
    for (size_t i = start; i < start + kWindow; ++i) {
      const double x = samples[2 * i] / 32768.0, phase = 2 * M_PI * hz * i / kRate;
      re += x * std::cos(phase);
      im += x * std::sin(phase);
      energy += x * x;
    }
    // A pure tone's (re, im) has the length amplitude * kWindow / 2; its energy is
    // amplitude^2 * kWindow / 2.
    if (energy > 1e-3 * kWindow && (re * re + im * im) * 2 / kWindow > 0.5 * energy) ++windows;
  }
  return windows * 0.05;
}

class SdlMultimediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }
  // A file made by sox from nothing: `format` before the file name, `synth` after it.
  std::string Sox(const std::string& name, const std::string& format, const std::string& synth) {
    const std::string file = dir_.File(name);
    const std::string command = "sox -q -n " + format + " \"" + file + "\" " + synth + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
  }
  // A disc image of three one-second audio tracks: 300, 500 and 700 Hz.
  std::string MakeDisc() {
    std::string bin, cue = "FILE \"disc.bin\" BINARY\n";
    for (int t = 1; t <= 3; ++t) {
      const std::string n = std::to_string(t);
      bin += test::TempDir::Read(Sox("t" + n + ".raw", "-r 44100 -c 2 -b 16 -e signed -L -t raw",
                                     "synth 1 sine " + std::to_string(100 + 200 * t) + " vol 0.5"));
      cue += "  TRACK 0" + n + " AUDIO\n    INDEX 01 00:0" + std::to_string(t - 1) + ":00\n";
    }
    dir_.Write("disc.bin", bin);
    return dir_.Write("disc.cue", cue);
  }

  test::TempDir dir_;
  std::string output_ = dir_.File("out.raw");
};

TEST_F(SdlMultimediaTest, WavLoopsUntilStopped) {
  const std::string wav = Sox("loop.wav", "-r 22050 -c 1", "synth 0.3 sine 440 vol 0.5");
  const std::string missing = dir_.File("missing.wav");
  {
    SdlMultimedia mm("");
    ASSERT_GE(mm.WaveOutGetNumDevs(), 1u);
    ASSERT_TRUE(mm.PlaySound(&wav, kSndAsync | kSndLoop));
    std::this_thread::sleep_for(1200ms);
    EXPECT_TRUE(mm.PlaySound(nullptr, kSndSync));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(mm.PlaySound(&missing, kSndAsync | kSndLoop));
  }
  const double tone = SecondsOfTone(output_, 440);
  EXPECT_GT(tone, 0.8) << "a 0.3 s sound looped for 1.2 s";
  EXPECT_LT(tone, 1.6) << "and stopped when asked";
}

TEST_F(SdlMultimediaTest, Mp3PlaysEndsAndRestartsFromTheBeginning) {
  const std::string mp3 = Sox("my song.mp3", "-r 44100 -c 2", "synth 0.6 sine 660 vol 0.5");
  {
    SdlMultimedia mm("");
    ASSERT_EQ(Send(mm, "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play"), "");
    EXPECT_NEAR(std::stod(Send(mm, "status MP3Play length")), 600, 80);
    for (const char* play : {"play MP3Play", "play MP3Play from 0"}) {
      EXPECT_EQ(Send(mm, play), "");
      EXPECT_EQ(Send(mm, "status MP3Play mode"), "playing");
      ASSERT_TRUE(Awaits(mm, "status MP3Play mode", "stopped"));
      EXPECT_EQ(Send(mm, "stop MP3Play"), "");
    }
    EXPECT_EQ(Send(mm, "close MP3Play"), "");
    EXPECT_EQ(Send(mm, "status MP3Play mode"), Error(kMciErrInvalidDeviceName));
  }
  EXPECT_GT(SecondsOfTone(output_, 660), 0.9) << "played twice";
}

TEST_F(SdlMultimediaTest, CdPlaysFromATrackPositionAndFollowsTheTableOfContents) {
  setenv("VEXLUM_CD_DEVICE", MakeDisc().c_str(), 1);
  {
    SdlMultimedia mm;
    unsetenv("VEXLUM_CD_DEVICE");
    EXPECT_EQ(Send(mm, "open cdaudio"), "");
    EXPECT_EQ(Send(mm, "open cdaudio"), Error(kMciErrDeviceOpen));
    EXPECT_EQ(Send(mm, "set cdaudio time format tmsf"), "");
    EXPECT_EQ(Send(mm, "status cdaudio number of tracks"), "3");
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "1");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "stopped");
    EXPECT_EQ(Send(mm, "status cdaudio position track 2"), "02:00:00:00");
    EXPECT_EQ(Send(mm, "status cdaudio position track 4"), Error(kMciErrOutOfRange));
    // What a failed position query gives the player back.
    EXPECT_EQ(Send(mm, "play cdaudio from Error:282"), Error(kMciErrOutOfRange));

    EXPECT_EQ(Send(mm, "play cdaudio from 02:00:00:00"), "");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "playing");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "2");
    EXPECT_EQ(Send(mm, "status cdaudio position").substr(0, 6), "02:00:");

    // Played to the end of the disc, it stands at the start again.
    ASSERT_TRUE(Awaits(mm, "status cdaudio mode", "stopped"));
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "1");
    EXPECT_EQ(Send(mm, "stop cdaudio"), "");
    EXPECT_EQ(Send(mm, "close cdaudio"), "");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), Error(kMciErrInvalidDeviceName));
  }
  EXPECT_GT(SecondsOfTone(output_, 500), 0.7);
  EXPECT_GT(SecondsOfTone(output_, 700), 0.7);
  EXPECT_LT(SecondsOfTone(output_, 300), 0.2) << "track 1 was never played";
}

TEST_F(SdlMultimediaTest, NoDiscBadFilesAndNoAudioDeviceFailWithThePlatformsErrors) {
  {
    SdlMultimedia mm(dir_.File("missing.cue"));
    EXPECT_EQ(Send(mm, "open cdaudio"), Error(kMciErrDeviceNotInstalled));
    EXPECT_EQ(Send(mm, "open /nowhere/x.mp3"), Error(kMciErrFileNotFound));
    const std::string corrupt = dir_.Write("corrupt.mp3", std::string(40000, '\x5a'));
    EXPECT_EQ(Send(mm, "open \"" + corrupt + "\" type MPEGVideo"), Error(kMciErrInvalidFile));
    // A WAV that claims no channels divides by zero inside the mixer: no decoder sees it,
    // under either name. A WAV under an MP3 name plays, as it does on Windows.
    const std::string no_channels = test::WavBytes({.channels = 0, .block_align = 0});
    for (const char* name : {"ch0.wav", "ch0.mp3"}) {
      const std::string file = dir_.Write(name, no_channels);
      EXPECT_FALSE(mm.PlaySound(&file, kSndAsync | kSndLoop)) << name;
      EXPECT_EQ(Send(mm, "open \"" + file + "\" type MPEGVideo"), Error(kMciErrInvalidFile))
          << name;
    }
    const std::string wav_named_mp3 = dir_.Write("wav.mp3", test::WavBytes({}));
    EXPECT_EQ(Send(mm, "open \"" + wav_named_mp3 + "\" type MPEGVideo Alias w"), "");
    std::string text;
    EXPECT_TRUE(mm.GetErrorString(kMciErrInvalidDeviceName, text, 4));
    EXPECT_EQ(text, "The");  // cut to leave room for the terminator
    EXPECT_FALSE(mm.GetErrorString(12345, text, 256));
  }
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const std::string wav = Sox("s.wav", "-r 44100 -c 2", "synth 0.2 sine 660");
  const std::string mp3 = Sox("s.mp3", "-r 44100 -c 2", "synth 0.2 sine 660");
  SdlMultimedia mm(MakeDisc());
  EXPECT_EQ(mm.WaveOutGetNumDevs(), 0u);
  EXPECT_FALSE(mm.PlaySound(&wav, kSndAsync | kSndLoop));
  EXPECT_EQ(Send(mm, "open \"" + mp3 + "\" type MPEGVideo"), Error(kMciErrHardware));
  EXPECT_EQ(Send(mm, "open cdaudio"), "");
  EXPECT_EQ(Send(mm, "play cdaudio"), Error(kMciErrHardware));
}

}  // namespace
}  // namespace vx
