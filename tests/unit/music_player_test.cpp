#include "music/music_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_multimedia.h"

namespace vx {
namespace {

using Commands = std::vector<std::string>;
using test::FakeCdDrive;
using test::FakeMultimedia;

TEST(MusicPlayer, SendMciRepliesAndErrorTexts) {
  FakeMultimedia mm;
  Settings settings;
  MusicPlayer player(mm, settings);
  std::string text = "old";

  EXPECT_EQ(player.SendMci("", text), -1);
  EXPECT_EQ(text, "コマンド文字列が指定されていません");
  EXPECT_TRUE(mm.commands.empty());

  mm.answers["status x mode"] = {0, std::string("playing\0junk", 12)};
  EXPECT_EQ(player.SendMci("status x mode", text), 0);
  EXPECT_EQ(text, "playing");
  EXPECT_EQ(mm.reply_lengths.back(), 512u);

  mm.answers["bad"] = {263, "ignored"};
  mm.error_texts[263] = "The specified device is not open or is not recognized by MCI.";
  EXPECT_EQ(player.SendMci("bad", text), 263);
  EXPECT_EQ(text, "The specified device is not open or is not recognized by MCI.");

  mm.answers["worse"] = {999, ""};
  EXPECT_EQ(player.SendMci("worse", text), 999);
  EXPECT_EQ(text, "Error (文字列が取れません)");
}

TEST(MusicPlayer, MciQueryAndMciPlayForms) {
  FakeMultimedia mm;
  Settings settings;
  MusicPlayer player(mm, settings);
  mm.answers["status cdaudio current track"] = {0, "2"};
  mm.answers["status nothing mode"] = {263, ""};
  mm.error_texts[263] = "not open";

  EXPECT_EQ(player.MciQuery("status cdaudio current track"), "2");
  EXPECT_EQ(player.MciQuery("status nothing mode"), "Error:263");
  EXPECT_EQ(player.last_reply, "not open");

  player.MciPlay("cdaudio", "", "");
  player.MciPlay("cdaudio", "02:00:00:00", "");
  player.MciPlay("cdaudio", "", "03:00:00:00");
  player.MciPlay("cdaudio", "01", "02");
  EXPECT_EQ(Commands(mm.commands.end() - 4, mm.commands.end()),
            (Commands{"play cdaudio", "play cdaudio from 02:00:00:00",
                      "play cdaudio to 03:00:00:00", "play cdaudio from 01 to 02"}));
}

TEST(MusicPlayer, PollCdWithoutRepeatPlaysWhereverTheDiscStandsWhenStopped) {
  FakeMultimedia mm;
  FakeCdDrive drive;
  mm.handler = std::ref(drive);
  Settings settings;
  MusicPlayer player(mm, settings);

  player.OpenCd();
  player.PollCd();
  EXPECT_TRUE(player.cd_polling);
  EXPECT_EQ(
      mm.commands,
      (Commands{"open cdaudio", "set cdaudio time format tmsf", "status cdaudio current track",
                "status cdaudio number of tracks", "status cdaudio mode", "play cdaudio"}));
  EXPECT_EQ(mm.reply_lengths[4], 255u);

  mm.commands.clear();
  player.PollCd();  // playing: nothing more to do
  EXPECT_EQ(mm.commands.size(), 3u);

  drive.playing = false;  // the disc ended
  mm.commands.clear();
  player.PollCd();
  EXPECT_EQ(mm.commands.back(), "play cdaudio");
}

TEST(MusicPlayer, PollCdWithRepeatReturnsToTheRepeatedTrack) {
  FakeMultimedia mm;
  FakeCdDrive drive;
  drive.tracks = 5;
  mm.handler = std::ref(drive);
  Settings settings;
  settings.repeat_track = 3;
  MusicPlayer player(mm, settings);

  player.PollCd();
  EXPECT_EQ(mm.commands,
            (Commands{"status cdaudio current track", "status cdaudio number of tracks",
                      "status cdaudio mode", "status cdaudio position track 3",
                      "play cdaudio from 03:00:00:00"}));
  EXPECT_EQ(drive.current, 3);

  mm.commands.clear();
  player.PollCd();  // playing the repeated track: left alone
  EXPECT_EQ(mm.commands.size(), 3u);

  mm.commands.clear();
  player.NextTrack();
  EXPECT_EQ(mm.commands,
            (Commands{"status cdaudio current track", "status cdaudio position track 4",
                      "play cdaudio from 04:00:00:00"}));
  EXPECT_EQ(drive.current, 4);

  mm.commands.clear();
  player.PollCd();  // another track plays: pulled back although the disc is playing
  EXPECT_EQ(mm.commands.back(), "play cdaudio from 03:00:00:00");
  EXPECT_EQ(drive.current, 3);

  drive.playing = false;  // the repeated track ended
  player.PollCd();
  EXPECT_EQ(mm.commands.back(), "play cdaudio from 03:00:00:00");
  EXPECT_TRUE(drive.playing);
}

TEST(MusicPlayer, PollCdStopsPollingOnFailures) {
  FakeMultimedia mm;
  FakeCdDrive drive;
  drive.disc = false;
  mm.handler = std::ref(drive);
  Settings settings;
  MusicPlayer player(mm, settings);
  player.PollCd();
  EXPECT_FALSE(player.cd_polling);
  EXPECT_EQ(mm.commands, Commands{"status cdaudio current track"});

  // A track count that fails also ends polling.
  FakeMultimedia count_fails;
  count_fails.answers["status cdaudio current track"] = {0, "1"};
  count_fails.answers["status cdaudio number of tracks"] = {276, ""};
  MusicPlayer second(count_fails, settings);
  second.PollCd();
  EXPECT_FALSE(second.cd_polling);
  EXPECT_EQ(count_fails.commands.size(), 2u);

  // With a repeat track, a current-track reply that is no number ends polling, stopped or not.
  FakeMultimedia odd;
  odd.answers["status cdaudio current track"] = {0, "abc"};
  odd.answers["status cdaudio number of tracks"] = {0, "3"};
  odd.answers["status cdaudio mode"] = {0, "stopped"};
  settings.repeat_track = 2;
  MusicPlayer third(odd, settings);
  third.PollCd();
  EXPECT_FALSE(third.cd_polling);
  EXPECT_EQ(odd.commands.back(), "status cdaudio mode");
}

TEST(MusicPlayer, TrackChangesAtTheEdgesOfTheDisc) {
  FakeMultimedia mm;
  FakeCdDrive drive;
  mm.handler = std::ref(drive);
  Settings settings;
  MusicPlayer player(mm, settings);

  player.PreviousTrack();  // before track 1: the position query fails, so does the play
  EXPECT_EQ(mm.commands,
            (Commands{"status cdaudio current track", "status cdaudio position track 0",
                      "play cdaudio from Error:282"}));
  EXPECT_EQ(drive.current, 1);

  // An unreadable current track counts as 0.
  FakeMultimedia broken;
  broken.default_result = 263;
  MusicPlayer second(broken, settings);
  second.NextTrack();
  EXPECT_EQ(broken.commands[1], "status cdaudio position track 1");

  // A track number that has no next 16-bit number leaves the position empty.
  FakeMultimedia huge;
  huge.answers["status cdaudio current track"] = {0, "32767"};
  MusicPlayer third(huge, settings);
  third.NextTrack();
  EXPECT_EQ(huge.commands, (Commands{"status cdaudio current track", "play cdaudio"}));
}

TEST(MusicPlayer, Mp3OpensPlaysRestartsAndStops) {
  FakeMultimedia mm;
  Settings settings;
  settings.music_file = "/home/a user/My Music/song.mp3";
  MusicPlayer player(mm, settings);

  player.PlayMp3();
  EXPECT_EQ(mm.commands,
            (Commands{"open \"/home/a user/My Music/song.mp3\" type MPEGVideo Alias MP3Play",
                      "play MP3Play"}));

  mm.commands.clear();
  mm.answers["status MP3Play mode"] = {0, "playing"};
  player.PollMp3();
  EXPECT_EQ(mm.commands, Commands{"status MP3Play mode"});
  EXPECT_EQ(mm.reply_lengths.back(), 30u);

  mm.commands.clear();
  mm.answers["status MP3Play mode"] = {0, "stopped"};
  player.PollMp3();
  EXPECT_EQ(mm.commands, (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));

  mm.commands.clear();
  player.StopMp3();
  EXPECT_EQ(mm.commands, (Commands{"stop MP3Play", "close MP3Play"}));
}

TEST(MusicPlayer, Mp3ThatCannotBeOpenedIsNotPlayed) {
  FakeMultimedia mm;
  mm.default_result = 275;
  Settings settings;
  settings.music_file = "/missing.mp3";
  MusicPlayer player(mm, settings);
  player.PlayMp3();
  EXPECT_EQ(mm.commands.size(), 1u);
  EXPECT_FALSE(player.IsMp3Playing());

  // A quote would end the quoted name early: nothing is sent at all.
  FakeMultimedia quoted;
  settings.music_file = "/music/a\" type waveaudio alias x \".mp3";
  MusicPlayer second(quoted, settings);
  second.PlayMp3();
  EXPECT_TRUE(quoted.commands.empty());
}

TEST(MusicPlayer, WavLoopsThroughPlaySoundAndStops) {
  FakeMultimedia mm;
  Settings settings;
  settings.music_file = "/music/loop.WAV";
  MusicPlayer player(mm, settings);
  player.PlayWav();
  player.StopWav();
  ASSERT_EQ(mm.sounds.size(), 2u);
  EXPECT_EQ(mm.sounds[0].name, "/music/loop.WAV");
  EXPECT_EQ(mm.sounds[0].flags, 9u);
  EXPECT_EQ(mm.sounds[1].name, std::nullopt);
  EXPECT_EQ(mm.sounds[1].flags, 0u);
  EXPECT_TRUE(mm.commands.empty());

  mm.devices = 0;
  mm.sounds.clear();
  player.PlayWav();
  EXPECT_TRUE(mm.sounds.empty());
}

}  // namespace
}  // namespace vx
