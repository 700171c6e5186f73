// The command-string interpreter against SDL's disk audio driver: what was played lands in a
// raw file (44100 Hz, 16-bit stereo), which the tests search for the test tones.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_dir.h"
#include "music/music_player.h"
#include "platform/linux/sdl_multimedia.h"

namespace vx {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 44100;

void Sox(const std::string& arguments) {
  const std::string command = "sox -q " + arguments + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Left-channel samples of the disk driver's output file.
std::vector<float> ReadOutput(const std::string& file) {
  const std::string bytes = test::TempDir::Read(file);
  std::vector<float> left;
  for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
    const auto s = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                        (static_cast<uint8_t>(bytes[i + 1]) << 8));
    left.push_back(s / 32768.0f);
  }
  return left;
}

// Seconds of output, in 50 ms windows, in which a tone of `hz` carries most of the energy.
double SecondsOfTone(const std::vector<float>& samples, double hz) {
  constexpr size_t kWindow = kRate / 20;
  int windows = 0;
  for (size_t start = 0; start + kWindow <= samples.size(); start += kWindow) {
    const double w = 2 * M_PI * hz / kRate;
    double s1 = 0, s2 = 0, energy = 0;
    for (size_t i = start; i < start + kWindow; ++i) {
      const double s0 = samples[i] + 2 * std::cos(w) * s1 - s2;
      s2 = s1;
      s1 = s0;
      energy += samples[i] * samples[i];
    }
    const double power = (s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) * 2 / kWindow;
    if (energy > 1e-3 * kWindow && power > 0.5 * energy) ++windows;
  }
  return windows * 0.05;
}

class MultimediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }
  std::string Send(Multimedia& mm, const std::string& command, uint32_t* result = nullptr) {
    std::string reply;
    const uint32_t r = mm.SendString(command, &reply, 512);
    if (result != nullptr) *result = r;
    return r == 0 ? reply : "error " + std::to_string(r);
  }
  // Waits up to `limit` for `done`, checking every 20 ms.
  static bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
  // A disc image of three one-second audio tracks: 300, 500 and 700 Hz.
  std::string MakeDisc() {
    std::string cue = "FILE \"disc.bin\" BINARY\n";
    std::ofstream bin(dir_.File("disc.bin"), std::ios::binary);
    for (int t = 1; t <= 3; ++t) {
      const std::string raw = dir_.File("t" + std::to_string(t) + ".raw");
      Sox("-n -r 44100 -c 2 -b 16 -e signed -L -t raw " + raw + " synth 1 sine " +
          std::to_string(100 + 200 * t) + " vol 0.5");
      bin << test::TempDir::Read(raw);
      cue += "  TRACK 0" + std::to_string(t) + " AUDIO\n    INDEX 01 00:0" + std::to_string(t - 1) +
             ":00\n";
    }
    return dir_.Write("disc.cue", cue);
  }

  test::TempDir dir_;
  std::string output_ = dir_.File("out.raw");
};

TEST_F(MultimediaTest, WavLoopsUntilStopped) {
  const std::string wav = dir_.File("loop.wav");
  Sox("-n -r 22050 -c 1 " + wav + " synth 0.3 sine 440 vol 0.5");
  {
    SdlMultimedia mm("");
    ASSERT_GE(mm.WaveOutGetNumDevs(), 1u);
    ASSERT_TRUE(mm.PlaySound(&wav, kSndAsync | kSndLoop));
    std::this_thread::sleep_for(1200ms);
    EXPECT_TRUE(mm.PlaySound(nullptr, kSndSync));
    std::this_thread::sleep_for(300ms);
    const std::string missing = dir_.File("missing.wav");
    EXPECT_FALSE(mm.PlaySound(&missing, kSndAsync | kSndLoop));
  }
  const std::vector<float> out = ReadOutput(output_);
  const double tone = SecondsOfTone(out, 440);
  EXPECT_GT(tone, 0.8) << "a 0.3 s sound looped for 1.2 s";
  EXPECT_LT(tone, 1.6) << "and stopped when asked";
}

TEST_F(MultimediaTest, Mp3PlaysEndsAndRestartsFromTheBeginning) {
  const std::string mp3 = dir_.File("my song.mp3");
  Sox("-n -r 44100 -c 2 \"" + mp3 + "\" synth 0.6 sine 660 vol 0.5");
  {
    SdlMultimedia mm("");
    uint32_t r = 1;
    Send(mm, "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play", &r);
    ASSERT_EQ(r, 0u);
    const double length = std::stod(Send(mm, "status MP3Play length"));
    EXPECT_NEAR(length, 600, 80);
    EXPECT_EQ(Send(mm, "play MP3Play"), "");
    EXPECT_EQ(Send(mm, "status MP3Play mode"), "playing");
    ASSERT_TRUE(WaitFor([&] { return Send(mm, "status MP3Play mode") == "stopped"; }, 3s));
    EXPECT_EQ(Send(mm, "stop MP3Play"), "");
    EXPECT_EQ(Send(mm, "play MP3Play from 0"), "");
    EXPECT_EQ(Send(mm, "status MP3Play mode"), "playing");
    ASSERT_TRUE(WaitFor([&] { return Send(mm, "status MP3Play mode") == "stopped"; }, 3s));
    EXPECT_EQ(Send(mm, "close MP3Play"), "");
    EXPECT_EQ(Send(mm, "status MP3Play mode"), "error 263");
  }
  EXPECT_GT(SecondsOfTone(ReadOutput(output_), 660), 0.9) << "played twice";
}

TEST_F(MultimediaTest, BadCommandsAndFilesReportThePlatformsErrors) {
  SdlMultimedia mm("");
  uint32_t r = 0;
  Send(mm, "status cdaudio mode", &r);
  EXPECT_EQ(r, kMciErrInvalidDeviceName);
  Send(mm, "open \"/nowhere/x.mp3\" type MPEGVideo Alias MP3Play", &r);
  EXPECT_EQ(r, kMciErrFileNotFound);
  Send(mm, "open \"/tmp/unclosed.mp3 type MPEGVideo", &r);
  EXPECT_EQ(r, kMciErrNoClosingQuote);

  const std::string corrupt = dir_.Write("corrupt.mp3", std::string(40000, '\x5a'));
  Send(mm, "open \"" + corrupt + "\" type MPEGVideo Alias MP3Play", &r);
  EXPECT_EQ(r, kMciErrInvalidFile);

  // A quote inside the name cannot end it and start new words.
  const std::string quoted = dir_.Write("a\" alias x \"b.mp3", "");
  Send(mm, "open \"" + quoted + "\" type MPEGVideo Alias MP3Play", &r);
  EXPECT_NE(r, 0u);
  Send(mm, "status x mode", &r);
  EXPECT_EQ(r, kMciErrInvalidDeviceName);

  std::string text;
  ASSERT_TRUE(mm.GetErrorString(kMciErrInvalidDeviceName, text, 256));
  EXPECT_EQ(text, "The specified device is not open or is not recognized by MCI.");
  EXPECT_TRUE(mm.GetErrorString(kMciErrInvalidDeviceName, text, 10));
  EXPECT_EQ(text, "The speci");
  EXPECT_FALSE(mm.GetErrorString(12345, text, 256));
}

TEST_F(MultimediaTest, CdPlaysFromATrackPositionAndFollowsTheTableOfContents) {
  const std::string cue = MakeDisc();
  {
    SdlMultimedia mm(cue);
    EXPECT_EQ(Send(mm, "open cdaudio"), "");
    EXPECT_EQ(Send(mm, "set cdaudio time format tmsf"), "");
    EXPECT_EQ(Send(mm, "status cdaudio number of tracks"), "3");
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "1");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "stopped");
    EXPECT_EQ(Send(mm, "status cdaudio position track 2"), "02:00:00:00");
    EXPECT_EQ(Send(mm, "status cdaudio position track 4"), "error 282");
    EXPECT_EQ(Send(mm, "play cdaudio from Error:282"), "error 282");
    EXPECT_EQ(Send(mm, "open cdaudio"), "error 265");

    EXPECT_EQ(Send(mm, "play cdaudio from 02:00:00:00"), "");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "playing");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "2");
    const std::string position = Send(mm, "status cdaudio position");
    EXPECT_EQ(position.substr(0, 6), "02:00:") << position;

    // Played to the end of the disc, it stands at the start again.
    ASSERT_TRUE(WaitFor([&] { return Send(mm, "status cdaudio mode") == "stopped"; }, 4s));
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "1");
    EXPECT_EQ(Send(mm, "stop cdaudio"), "");
    EXPECT_EQ(Send(mm, "close cdaudio"), "");
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "error 263");
  }
  const std::vector<float> out = ReadOutput(output_);
  EXPECT_GT(SecondsOfTone(out, 500), 0.7);
  EXPECT_GT(SecondsOfTone(out, 700), 0.7);
  EXPECT_LT(SecondsOfTone(out, 300), 0.2) << "track 1 was never played";
}

TEST_F(MultimediaTest, RepeatRuleBringsTheCdBackToTheRepeatedTrack) {
  setenv("VEXLUM_CD_DEVICE", MakeDisc().c_str(), 1);
  {
    SdlMultimedia mm;
    unsetenv("VEXLUM_CD_DEVICE");
    Settings settings;
    settings.music_source = static_cast<MusicSource>(1);
    settings.repeat_track = 2;
    MusicPlayer music(mm, settings);
    music.OpenCd();
    music.PollCd();
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "2");
    std::this_thread::sleep_for(300ms);

    music.NextTrack();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "3");
    music.PollCd();
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "2");

    // Track 2 ends into track 3 after a second; the 200 ms polls pull it back each time.
    for (int i = 0; i < 12; ++i) {
      std::this_thread::sleep_for(200ms);
      music.PollCd();
      EXPECT_TRUE(music.cd_polling);
    }
    EXPECT_EQ(Send(mm, "status cdaudio current track"), "2");
    music.CloseCd();
    EXPECT_EQ(Send(mm, "status cdaudio mode"), "error 263");
  }
  const std::vector<float> out = ReadOutput(output_);
  EXPECT_GT(SecondsOfTone(out, 500), 1.5);
  EXPECT_LT(SecondsOfTone(out, 700), 1.2);
}

TEST_F(MultimediaTest, NoDiscAndNoAudioDeviceLeaveTheSaverSilent) {
  {
    SdlMultimedia mm(dir_.File("missing.cue"));
    EXPECT_EQ(Send(mm, "open cdaudio"), "error 306");
    Settings settings;
    settings.music_source = static_cast<MusicSource>(1);
    MusicPlayer music(mm, settings);
    music.OpenCd();
    music.PollCd();
    EXPECT_FALSE(music.cd_polling);
    EXPECT_EQ(music.last_reply, "The specified device is not open or is not recognized by MCI.");
  }
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const std::string mp3 = dir_.File("s.mp3");
  const std::string wav = dir_.File("s.wav");
  Sox("-n -r 44100 -c 2 " + mp3 + " synth 0.2 sine 660");
  Sox("-n -r 44100 -c 2 " + wav + " synth 0.2 sine 660");
  SdlMultimedia mm(MakeDisc());
  EXPECT_EQ(mm.WaveOutGetNumDevs(), 0u);
  EXPECT_FALSE(mm.PlaySound(&wav, kSndAsync | kSndLoop));
  uint32_t r = 0;
  Send(mm, "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play", &r);
  EXPECT_EQ(r, kMciErrHardware);
  EXPECT_EQ(Send(mm, "open cdaudio"), "");
  EXPECT_EQ(Send(mm, "play cdaudio"), "error 262");

  for (const std::string& file : {mp3, wav}) {
    Settings settings;
    settings.music_source = static_cast<MusicSource>(2);
    settings.music_file = file;
    MusicPlayer music(mm, settings);
    if (file == mp3) {
      music.PlayMp3();
      for (int i = 0; i < 3; ++i) music.PollMp3();
      music.StopMp3();
    } else {
      music.PlayWav();
      music.StopWav();
    }
  }
}

}  // namespace
}  // namespace vx
