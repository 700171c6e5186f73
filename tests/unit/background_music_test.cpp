#include "music/background_music.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_multimedia.h"

namespace vx {
namespace {

using Commands = std::vector<std::string>;
using test::FakeCdDrive;
using test::FakeMultimedia;

Settings Choose(MusicSource source, std::string file = "") {
  Settings s;
  s.music_source = source;
  s.music_file = std::move(file);
  return s;
}

TEST(BackgroundMusic, TheFileTypeDecidesThePlayer) {
  EXPECT_EQ(MusicFileType("ab"), "AB");
  EXPECT_EQ(MusicFileType("/a/bmp3"), "MP3");  // no dot needed
  EXPECT_EQ(MusicFileType("/a/b.wave"), "AVE");
  using K = BackgroundMusic::Kind;
  FakeMultimedia mm;
  const auto kind = [&](MusicSource source, std::string file) {
    const Settings s = Choose(source, std::move(file));
    return BackgroundMusic(mm, s).GetKind();
  };
  EXPECT_EQ(kind(MusicSource::kFile, "/m/Song.Wav"), K::kWav);
  EXPECT_EQ(kind(MusicSource::kFile, "/m/song.MP3"), K::kMp3);
  EXPECT_EQ(kind(MusicSource::kFile, "/m/song.ogg"), K::kNone);
  EXPECT_EQ(kind(MusicSource::kCd, "/m/song.mp3"), K::kCd);
  EXPECT_EQ(kind(MusicSource::kNone, "/m/song.mp3"), K::kNone);
  EXPECT_EQ(kind(static_cast<MusicSource>(7), ""), K::kNone);  // any number a file may hold
}

TEST(BackgroundMusic, WavLoopsWithoutPollingAndStops) {
  FakeMultimedia mm;
  const Settings s = Choose(MusicSource::kFile, "/m/loop.wav");
  BackgroundMusic music(mm, s);
  music.Start();
  EXPECT_EQ(music.PollIntervalMs(), 0u);
  EXPECT_FALSE(music.TakesTrackKeys());
  music.Stop();
  ASSERT_EQ(mm.sounds.size(), 2u);
  EXPECT_EQ(mm.sounds[0].name, "/m/loop.wav");
  EXPECT_EQ(mm.sounds[1].name, std::nullopt);
}

TEST(BackgroundMusic, Mp3IsPolledEverySecondAndClosedAtTheEnd) {
  FakeMultimedia mm;
  mm.answers["status MP3Play mode"] = {0, "stopped"};
  const Settings s = Choose(MusicSource::kFile, "/m/a.mp3");
  BackgroundMusic music(mm, s);
  music.Start();
  EXPECT_EQ(music.PollIntervalMs(), 1000u);
  EXPECT_TRUE(music.Poll());  // the file ended: it starts again
  EXPECT_EQ(mm.commands.back(), "play MP3Play from 0");
  music.Stop();
  EXPECT_EQ(mm.commands.back(), "close MP3Play");
}

TEST(BackgroundMusic, CdIsPolledTakesTheArrowsAndIsClosedOnlyWhileItAnswers) {
  FakeMultimedia mm;
  FakeCdDrive drive;
  mm.handler = std::ref(drive);
  const Settings s = Choose(MusicSource::kCd);
  BackgroundMusic music(mm, s);
  music.Start();
  EXPECT_EQ(Commands(mm.commands.begin(), mm.commands.begin() + 2),
            (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_EQ(music.PollIntervalMs(), 200u);
  EXPECT_TRUE(music.TakesTrackKeys());
  EXPECT_TRUE(music.Poll());
  music.Stop();
  EXPECT_EQ(mm.commands.back(), "close cdaudio");

  // A disc that stops answering ends polling for good, and is not closed at the end.
  FakeMultimedia gone;
  FakeCdDrive no_disc;
  no_disc.disc = false;
  gone.handler = std::ref(no_disc);
  BackgroundMusic lost(gone, s);
  lost.Start();
  EXPECT_FALSE(lost.Poll());
  EXPECT_FALSE(lost.Poll());
  const size_t sent = gone.commands.size();
  lost.Stop();
  EXPECT_EQ(gone.commands.size(), sent);
}

}  // namespace
}  // namespace vx
