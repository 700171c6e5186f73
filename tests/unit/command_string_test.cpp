#include "music/command_string.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Words = std::vector<std::string>;

uint32_t SplitResult(std::string_view command) {
  Words words;
  return SplitWords(command, words);
}

uint32_t ParseResult(std::string_view command) {
  CommandString parsed;
  return ParseCommandString(command, parsed);
}

CommandString Parsed(std::string_view command) {
  CommandString parsed;
  EXPECT_EQ(ParseCommandString(command, parsed), 0u) << command;
  return parsed;
}

TEST(CommandString, QuotedWordsKeepTheirBlanksAndEndAtTheirClosingQuote) {
  Words words;
  ASSERT_EQ(SplitWords("  open \"my song.mp3\"\ttype\t\tx \"\" a\"b", words), 0u);
  EXPECT_EQ(words, (Words{"open", "my song.mp3", "type", "x", "", "a\"b"}));

  // A quote inside a quoted word ends it, and nothing but a blank may follow.
  EXPECT_EQ(SplitResult("open \"my \"song\".mp3\""), kMciErrExtraCharacters);
  EXPECT_EQ(SplitResult("open \"a.mp3\"alias x"), kMciErrExtraCharacters);
  EXPECT_EQ(SplitResult("open \"my song.mp3 type MPEGVideo"), kMciErrNoClosingQuote);
  EXPECT_EQ(SplitResult("open x \""), kMciErrNoClosingQuote);

  EXPECT_EQ(SplitResult(""), kMciErrMissingCommandString);
  EXPECT_EQ(SplitResult(" \t "), kMciErrMissingCommandString);
  EXPECT_EQ(SplitResult("\"\""), 0u) << "an empty quoted word is still a word";
}

TEST(CommandString, VerbAndDeviceIgnoreCaseButTheFileNameKeepsIt) {
  const CommandString play = Parsed("PLAY \"My Song.MP3\" From 10 TO 20");
  EXPECT_EQ(play.verb, CommandVerb::kPlay);
  EXPECT_EQ(play.element, "My Song.MP3");
  EXPECT_EQ(play.device, "my song.mp3");
  EXPECT_EQ(play.arguments, (Words{"from", "10", "to", "20"}));
  EXPECT_EQ(Parsed("Status cdaudio").verb, CommandVerb::kStatus);
  EXPECT_TRUE(Parsed("close all").arguments.empty());

  // Quotes are checked first, then the verb, then the device name.
  EXPECT_EQ(ParseResult("dance \"cdaudio"), kMciErrNoClosingQuote);
  EXPECT_EQ(ParseResult(""), kMciErrMissingCommandString);
  EXPECT_EQ(ParseResult("dance"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(ParseResult("dance cdaudio"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(ParseResult("\"\" cdaudio"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(ParseResult("stop"), kMciErrMissingDeviceName);
}

TEST(CommandString, OpenAndPlayKeywords) {
  std::string type = "old", alias = "old";
  EXPECT_EQ(ReadOpenOptions(Parsed("open \"a.mp3\" Type MPEGVideo shareable Alias MP3Play wait"),
                            type, alias),
            0u);
  EXPECT_EQ(type, "mpegvideo");
  EXPECT_EQ(alias, "mp3play");
  EXPECT_EQ(ReadOpenOptions(Parsed("open cdaudio"), type, alias), 0u);
  EXPECT_EQ(type + alias, "") << "what an earlier command set is not kept";
  EXPECT_EQ(ReadOpenOptions(Parsed("open a.mp3 alias"), type, alias), kMciErrMissingParameter);
  EXPECT_EQ(ReadOpenOptions(Parsed("open a.mp3 notify"), type, alias), kMciErrUnrecognizedKeyword);

  std::string from, to;
  EXPECT_EQ(ReadPlayRange(Parsed("play cdaudio from 02:00:00:00 notify to 3 wait"), from, to), 0u);
  EXPECT_EQ(from, "02:00:00:00");
  EXPECT_EQ(to, "3");
  EXPECT_EQ(ReadPlayRange(Parsed("play cdaudio from to"), from, to), 0u);
  EXPECT_EQ(from, "to") << "a value is taken as it stands, even a keyword";
  EXPECT_EQ(to, "");
  EXPECT_EQ(ReadPlayRange(Parsed("play cdaudio to"), from, to), kMciErrMissingParameter);
  EXPECT_EQ(ReadPlayRange(Parsed("play cdaudio shareable"), from, to), kMciErrUnrecognizedKeyword);
}

TEST(CommandString, TimeFormats) {
  TimeFormat format = TimeFormat::kMsf;
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio Time Format TMSF"), format), 0u);
  EXPECT_EQ(format, TimeFormat::kTmsf);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format ms"), format), 0u);
  EXPECT_EQ(format, TimeFormat::kMilliseconds);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format msf"), format), 0u);
  EXPECT_EQ(format, TimeFormat::kMsf);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format milliseconds"), format), 0u);
  EXPECT_EQ(format, TimeFormat::kMilliseconds);

  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format frames"), format), kMciErrBadConstant);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format \"\""), format), kMciErrBadConstant);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format"), format), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio door open"), format), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(format, TimeFormat::kMilliseconds) << "a rejected setting changes nothing";
}

TEST(CommandString, CountsAndFieldsAreUnsignedDecimalsOfLimitedLength) {
  EXPECT_EQ(ParseCount("0"), 0);
  EXPECT_EQ(ParseCount("000000007"), 7);
  EXPECT_EQ(ParseCount("999999999"), 999999999);
  for (std::string_view bad : {"", "1000000000", "0000000001", "-1", "+1", " 1", "1.5", "0x10"}) {
    EXPECT_FALSE(ParseCount(bad)) << bad;
  }

  EXPECT_EQ(ParseFields("02:00:00:00", 4), (std::vector<int64_t>{2, 0, 0, 0}));
  EXPECT_EQ(ParseFields("5", 3), (std::vector<int64_t>{5}));
  for (std::string_view bad : {"1:2:3:4", "1::2", ":1", "1:", "1:x", ""}) {
    EXPECT_FALSE(ParseFields(bad, 3)) << bad;
  }
}

TEST(CommandString, MsfRepliesPadEachFieldToTwoDigits) {
  EXPECT_EQ(FormatMsf(0), "00:00:00");
  EXPECT_EQ(FormatMsf(150), "00:02:00");
  EXPECT_EQ(FormatMsf(60 * kMsfFramesPerSecond + kMsfFramesPerSecond + 74), "01:01:74");
  EXPECT_EQ(FormatMsf(100 * 60 * kMsfFramesPerSecond), "100:00:00");
  EXPECT_EQ(FormatTwoDigits(2) + ":" + FormatMsf(0), "02:00:00:00");
}

TEST(CommandString, ErrorTextsByCode) {
  EXPECT_EQ(ErrorText(kMciErrInvalidDeviceName),
            "The specified device is not open or is not recognized by MCI.");
  EXPECT_EQ(ErrorText(kMciErrNoClosingQuote), "A closing quotation mark is missing.");
  EXPECT_TRUE(ErrorText(0).empty());
  EXPECT_TRUE(ErrorText(kMciBase + 2).empty());
}

}  // namespace
}  // namespace vx
