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
  EXPECT_EQ(SplitResult("open \"my song.mp3 type MPEGVideo"), kMciErrNoClosingQuote);
  EXPECT_EQ(SplitResult(" \t "), kMciErrMissingCommandString);
  EXPECT_EQ(SplitResult("\"\""), 0u) << "an empty quoted word is still a word";
}

TEST(CommandString, VerbAndDeviceIgnoreCaseButTheFileNameKeepsIt) {
  const CommandString play = Parsed("PLAY \"My Song.MP3\" From 10 TO 20");
  EXPECT_EQ(play.verb, CommandVerb::kPlay);
  EXPECT_EQ(play.element, "My Song.MP3");
  EXPECT_EQ(play.device, "my song.mp3");
  EXPECT_EQ(play.arguments, (Words{"from", "10", "to", "20"}));

  // Quotes are checked first, then the verb, then the device name.
  EXPECT_EQ(ParseResult("dance \"cdaudio"), kMciErrNoClosingQuote);
  EXPECT_EQ(ParseResult(""), kMciErrMissingCommandString);
  EXPECT_EQ(ParseResult("dance"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(ParseResult("\"\" cdaudio"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(ParseResult("stop"), kMciErrMissingDeviceName);
}

TEST(CommandString, KeywordsOfOpenPlayAndSet) {
  // A reader's result and the two values it found; both start as "old", which must not stay.
  using Result = std::pair<uint32_t, std::string>;
  const auto read = [](auto reader, std::string_view command) {
    std::string first = "old", second = "old";
    const uint32_t result = reader(Parsed(command), first, second);
    return Result(result, first + "|" + second);
  };
  EXPECT_EQ(read(ReadOpenOptions, "open \"a.mp3\" Type MPEGVideo shareable Alias MP3Play wait"),
            Result(0, "mpegvideo|mp3play"));
  EXPECT_EQ(read(ReadOpenOptions, "open cdaudio"), Result(0, "|"));
  EXPECT_EQ(read(ReadOpenOptions, "open a.mp3 alias").first, kMciErrMissingParameter);
  EXPECT_EQ(read(ReadOpenOptions, "open a.mp3 notify").first, kMciErrUnrecognizedKeyword);

  EXPECT_EQ(read(ReadPlayRange, "play cdaudio from 02:00:00:00 notify to 3 wait"),
            Result(0, "02:00:00:00|3"));
  // A value is taken as it stands, even a keyword.
  EXPECT_EQ(read(ReadPlayRange, "play cdaudio from to"), Result(0, "to|"));
  EXPECT_EQ(read(ReadPlayRange, "play cdaudio to").first, kMciErrMissingParameter);
  EXPECT_EQ(read(ReadPlayRange, "play cdaudio shareable").first, kMciErrUnrecognizedKeyword);

  // The time format a "set" names; a rejected setting changes nothing.
  TimeFormat format = TimeFormat::kMsf;
  const std::pair<const char*, TimeFormat> known[] = {
      {"Time Format TMSF", TimeFormat::kTmsf},
      {"time format ms", TimeFormat::kMilliseconds},
      {"time format msf", TimeFormat::kMsf},
      {"time format milliseconds", TimeFormat::kMilliseconds}};
  for (const auto& [words, expected] : known) {
    EXPECT_EQ(ReadTimeFormat(Parsed(std::string("set cdaudio ") + words), format), 0u) << words;
    EXPECT_EQ(format, expected) << words;
  }
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format frames"), format), kMciErrBadConstant);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio time format"), format), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(ReadTimeFormat(Parsed("set cdaudio door open"), format), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(format, TimeFormat::kMilliseconds);
}

TEST(CommandString, NumbersReadStrictlyAndWrittenPaddedAndUnknownCodesHaveNoText) {
  EXPECT_EQ(ParseCount("000000007"), 7);
  EXPECT_EQ(ParseCount("999999999"), 999999999);
  for (std::string_view bad : {"", "1000000000", "0000000001", "-1", "+1", " 1", "1.5", "0x10"})
    EXPECT_FALSE(ParseCount(bad)) << bad;

  EXPECT_EQ(ParseFields("02:00:00:00", 4), (std::vector<int64_t>{2, 0, 0, 0}));
  EXPECT_EQ(ParseFields("5", 3), (std::vector<int64_t>{5}));
  for (std::string_view bad : {"1:2:3:4", "1::2", ":1", "1:", "1:x", ""})
    EXPECT_FALSE(ParseFields(bad, 3)) << bad;

  EXPECT_EQ(FormatMsf(150), "00:02:00");
  EXPECT_EQ(FormatMsf(60 * 75 + 75 + 74), "01:01:74");
  EXPECT_EQ(FormatMsf(100 * 60 * 75), "100:00:00");
  EXPECT_EQ(FormatTwoDigits(2), "02");

  EXPECT_TRUE(ErrorText(0).empty());
  EXPECT_TRUE(ErrorText(kMciBase + 2).empty());
}

}  // namespace
}  // namespace vx
