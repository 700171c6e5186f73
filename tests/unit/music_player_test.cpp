#include "music/music_player.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_multimedia.h"

namespace vx {
namespace {

using Commands = std::vector<std::string>;

class MusicPlayerTest : public ::testing::Test {
 protected:
  // What was sent since the last call.
  Commands Sent() { return std::exchange(mm.commands, {}); }
  // The player answered by the model disc.
  void UseDrive() { mm.handler = std::ref(drive); }
  // The player answered from a table, everything else failing.
  void Answer(std::map<std::string, test::FakeMultimedia::Answer> answers) {
    mm.handler = nullptr;
    mm.answers = std::move(answers);
    mm.default_result = kMciErrDeviceNotReady;
    mm.commands.clear();
  }

  test::FakeMultimedia mm;
  test::FakeCdDrive drive;
  Settings settings;
  MusicPlayer player{mm, settings};
};

TEST_F(MusicPlayerTest, SendMciRepliesAndErrorTexts) {
  std::string text = "old";
  EXPECT_EQ(player.SendMci("", text), -1);
  EXPECT_EQ(text, "コマンド文字列が指定されていません");
  EXPECT_TRUE(mm.commands.empty());

  mm.answers["status x mode"] = {0, std::string("playing\0junk", 12)};
  EXPECT_EQ(player.SendMci("status x mode", text), 0);
  EXPECT_EQ(text, "playing");

  mm.answers["bad"] = {263, "ignored"};
  mm.error_texts[263] = "not open";
  EXPECT_EQ(player.SendMci("bad", text), 263);
  EXPECT_EQ(text, "not open");
  mm.answers["worse"] = {999, ""};
  EXPECT_EQ(player.SendMci("worse", text), 999);
  EXPECT_EQ(text, "Error (文字列が取れません)");

  EXPECT_EQ(player.MciQuery("bad"), "Error:263");
  EXPECT_EQ(player.last_reply, "not open");
  mm.commands.clear();
  player.MciPlay("cdaudio", "", "03:00:00:00");
  player.MciPlay("cdaudio", "01", "02");
  EXPECT_EQ(Sent(), (Commands{"play cdaudio to 03:00:00:00", "play cdaudio from 01 to 02"}));
}

TEST_F(MusicPlayerTest, PollCdWithoutRepeatPlaysWhereverTheDiscStandsWhenStopped) {
  UseDrive();
  player.OpenCd();
  player.PollCd();
  EXPECT_TRUE(player.cd_polling);
  EXPECT_EQ(Sent(), (Commands{"open cdaudio", "set cdaudio time format tmsf",
                              "status cdaudio current track", "status cdaudio number of tracks",
                              "status cdaudio mode", "play cdaudio"}));
  player.PollCd();  // playing: nothing more to do
  EXPECT_EQ(Sent().size(), 3u);
  drive.playing = false;  // the disc ended
  player.PollCd();
  EXPECT_EQ(Sent().back(), "play cdaudio");
}

TEST_F(MusicPlayerTest, PollCdWithRepeatReturnsToTheRepeatedTrack) {
  UseDrive();
  drive.tracks = 5;
  settings.repeat_track = 3;
  player.PollCd();
  EXPECT_EQ(Sent(), (Commands{"status cdaudio current track", "status cdaudio number of tracks",
                              "status cdaudio mode", "status cdaudio position track 3",
                              "play cdaudio from 03:00:00:00"}));
  EXPECT_EQ(drive.current, 3);
  player.PollCd();  // playing the repeated track: left alone
  EXPECT_EQ(Sent().size(), 3u);

  player.NextTrack();
  EXPECT_EQ(Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 4",
                              "play cdaudio from 04:00:00:00"}));
  player.PollCd();  // another track plays: pulled back although the disc is playing
  EXPECT_EQ(Sent().back(), "play cdaudio from 03:00:00:00");
  EXPECT_EQ(drive.current, 3);
  drive.playing = false;  // the repeated track ended
  player.PollCd();
  EXPECT_EQ(Sent().back(), "play cdaudio from 03:00:00:00");
  EXPECT_TRUE(drive.playing);
}

TEST_F(MusicPlayerTest, PollCdStopsPollingOnFailures) {
  UseDrive();
  drive.disc = false;
  player.PollCd();
  EXPECT_FALSE(player.cd_polling);
  EXPECT_EQ(Sent(), Commands{"status cdaudio current track"});

  Answer({{"status cdaudio current track", {0, "1"}}});  // the track count fails
  player.PollCd();
  EXPECT_FALSE(player.cd_polling);
  EXPECT_EQ(Sent().size(), 2u);

  // With a repeat track, a current-track reply that is no number ends polling, stopped or not.
  settings.repeat_track = 2;
  Answer({{"status cdaudio current track", {0, "abc"}},
          {"status cdaudio number of tracks", {0, "3"}},
          {"status cdaudio mode", {0, "stopped"}}});
  player.PollCd();
  EXPECT_FALSE(player.cd_polling);
  EXPECT_EQ(Sent().back(), "status cdaudio mode");
}

TEST_F(MusicPlayerTest, TrackChangesAtTheEdgesOfTheDisc) {
  UseDrive();
  player.PreviousTrack();  // before track 1: the position query fails, so does the play
  EXPECT_EQ(Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 0",
                              "play cdaudio from Error:282"}));
  EXPECT_EQ(drive.current, 1);

  Answer({});  // an unreadable current track counts as 0
  player.NextTrack();
  EXPECT_EQ(Sent()[1], "status cdaudio position track 1");

  // A track number that has no next 16-bit number leaves the position empty.
  Answer({{"status cdaudio current track", {0, "32767"}}});
  player.NextTrack();
  EXPECT_EQ(Sent(), (Commands{"status cdaudio current track", "play cdaudio"}));
}

TEST_F(MusicPlayerTest, Mp3OpensPlaysRestartsAndStopsUnlessItCannotBeOpened) {
  settings.music_file = "/home/a user/My Music/song.mp3";
  player.PlayMp3();
  EXPECT_EQ(Sent(),
            (Commands{"open \"/home/a user/My Music/song.mp3\" type MPEGVideo Alias MP3Play",
                      "play MP3Play"}));
  mm.answers["status MP3Play mode"] = {0, "playing"};
  player.PollMp3();
  EXPECT_EQ(Sent(), Commands{"status MP3Play mode"});
  mm.answers["status MP3Play mode"] = {0, "stopped"};
  player.PollMp3();
  EXPECT_EQ(Sent(), (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
  player.StopMp3();
  EXPECT_EQ(Sent(), (Commands{"stop MP3Play", "close MP3Play"}));

  Answer({});
  player.PlayMp3();
  EXPECT_EQ(Sent().size(), 1u);
  // A quote would end the quoted name early: nothing is sent at all.
  settings.music_file = "/music/a\" type waveaudio alias x \".mp3";
  player.PlayMp3();
  EXPECT_TRUE(Sent().empty());
}

TEST_F(MusicPlayerTest, WavLoopsThroughPlaySoundAndStopsButNeedsAnOutput) {
  settings.music_file = "/music/loop.WAV";
  player.PlayWav();
  player.StopWav();
  EXPECT_EQ(Sent(), (Commands{"sound /music/loop.WAV 9", "sound (none) 0"}));
  mm.devices = 0;
  player.PlayWav();
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace vx
