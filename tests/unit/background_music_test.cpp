#include "music/background_music.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_multimedia.h"
#include "fakes/temp_dir.h"
#include "fakes/wav_bytes.h"

namespace vx {
namespace {

using Commands = std::vector<std::string>;
using Kind = BackgroundMusic::Kind;

const std::string kMp3Frame = std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\0');

class BackgroundMusicTest : public ::testing::Test {
 protected:
  BackgroundMusic Music(MusicSource source, std::string file = "") {
    settings.music_source = source;
    settings.music_file = std::move(file);
    return BackgroundMusic(mm, settings);
  }
  test::FakeMultimedia mm;
  Settings settings;
};

TEST_F(BackgroundMusicTest, TheFileTypeDecidesThePlayer) {
  EXPECT_EQ(MusicFileType("ab"), "AB");
  EXPECT_EQ(MusicFileType("/a/bmp3"), "MP3");  // no dot needed
  EXPECT_EQ(MusicFileType("/a/b.wave"), "AVE");
  EXPECT_EQ(Music(MusicSource::kFile, "/m/Song.Wav").GetKind(), Kind::kWav);
  EXPECT_EQ(Music(MusicSource::kFile, "/m/song.MP3").GetKind(), Kind::kMp3);
  EXPECT_EQ(Music(MusicSource::kFile, "/m/song.ogg").GetKind(), Kind::kNone);
  EXPECT_EQ(Music(MusicSource::kCd, "/m/song.mp3").GetKind(), Kind::kCd);
  EXPECT_EQ(Music(MusicSource::kNone, "/m/song.mp3").GetKind(), Kind::kNone);
  EXPECT_EQ(Music(static_cast<MusicSource>(7), "/m/song.mp3").GetKind(), Kind::kNone);
}

TEST_F(BackgroundMusicTest, WavLoopsUnpolledAndMp3IsRestartedEverySecond) {
  test::TempDir dir;
  const std::string loop = dir.Write("loop.wav", test::WavBytes({}));
  BackgroundMusic wav = Music(MusicSource::kFile, loop);
  wav.Start();
  EXPECT_EQ(wav.PollIntervalMs(), 0u);
  EXPECT_FALSE(wav.TakesTrackKeys());
  wav.Stop();
  EXPECT_EQ(mm.commands, (Commands{"sound " + loop + " 9", "sound (none) 0"}));

  mm.answers["status MP3Play mode"] = {0, "stopped"};
  BackgroundMusic mp3 = Music(MusicSource::kFile, dir.Write("a.mp3", kMp3Frame));
  mp3.Start();
  EXPECT_EQ(mp3.PollIntervalMs(), 1000u);
  EXPECT_FALSE(mp3.TakesTrackKeys());
  EXPECT_TRUE(mp3.Poll());  // the file ended: it starts again
  EXPECT_EQ(mm.commands.back(), "play MP3Play from 0");
  mp3.Stop();
  EXPECT_EQ(mm.commands.back(), "close MP3Play");
}

TEST_F(BackgroundMusicTest, AFileNoDecoderCanTrustIsNeverHandedToThePlayer) {
  test::TempDir dir;
  for (const std::string& file :
       {dir.Write("no-channels.wav", test::WavBytes({.channels = 0, .block_align = 0})),
        dir.Write("mp3-in-a-wav-name.wav", kMp3Frame), dir.Write("noise.mp3", "OggS...."),
        dir.File("missing.mp3")}) {
    BackgroundMusic music = Music(MusicSource::kFile, file);
    music.Start();
    EXPECT_EQ(music.GetKind(), Kind::kNone) << file;
    EXPECT_EQ(music.PollIntervalMs(), 0u) << file;  // no timer for a file that never opened
    music.Stop();
  }
  EXPECT_TRUE(mm.commands.empty());

  // The MP3 player plays a WAV that carries an MP3 name, as it would on Windows.
  const std::string wav = dir.Write("song.mp3", test::WavBytes({}));
  Music(MusicSource::kFile, wav).Start();
  ASSERT_FALSE(mm.commands.empty());
  EXPECT_EQ(mm.commands.front().rfind("open \"" + wav + "\"", 0), 0u);
}

TEST_F(BackgroundMusicTest, CdIsPolledTakesTheArrowsAndIsClosedOnlyWhileItAnswers) {
  test::FakeCdDrive drive;
  mm.handler = std::ref(drive);
  BackgroundMusic cd = Music(MusicSource::kCd);
  cd.Start();
  EXPECT_EQ(Commands(mm.commands.begin(), mm.commands.begin() + 2),
            (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_EQ(cd.PollIntervalMs(), 200u);
  EXPECT_TRUE(cd.TakesTrackKeys());
  EXPECT_TRUE(cd.Poll());
  cd.Stop();
  EXPECT_EQ(mm.commands.back(), "close cdaudio");

  // A disc that stops answering ends polling for good, and is not closed at the end.
  drive.disc = false;
  BackgroundMusic lost = Music(MusicSource::kCd);
  lost.Start();
  EXPECT_FALSE(lost.Poll());
  drive.disc = true;
  EXPECT_FALSE(lost.Poll());
  const size_t sent = mm.commands.size();
  lost.Stop();
  EXPECT_EQ(mm.commands.size(), sent);
}

}  // namespace
}  // namespace vx
