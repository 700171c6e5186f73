// Two readers of untrusted text in one target. The whole input is taken as one command string
// for the parser and its helpers. The same bytes, through FuzzedDataProvider, then script a
// multimedia device (its result codes, replies, error texts and output count) while a list
// of player calls, also taken from the input, runs against it; the device checks every
// command the player sends as it arrives.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/command_string.h"
#include "music/music_player.h"
#include "ports/multimedia.h"
#include "startup/settings.h"

namespace vx {
namespace {

// abort() rather than a bare trap, so the log names the broken invariant.
void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A value that travels through a command as exactly one word of its own.
bool IsPlainWord(std::string_view text) {
  if (text.empty() || text.front() == '"') return false;
  for (char c : text) {
    if (IsBlank(c)) return false;
  }
  return true;
}

// Words written back as a command. Only quotes can have made a word that is empty or holds a
// blank, and a quoted word never holds a quote, so quoting exactly those words is lossless.
std::string Rejoin(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) {
    if (!out.empty()) out += ' ';
    const bool quote = word.empty() || word.find_first_of(" \t") != std::string::npos;
    out += quote ? "\"" + word + "\"" : word;
  }
  return out;
}

bool IsParserFault(uint32_t code) {
  return code == kMciErrNoClosingQuote || code == kMciErrExtraCharacters ||
         code == kMciErrMissingCommandString || code == kMciErrUnrecognizedCommand ||
         code == kMciErrMissingDeviceName;
}

void CheckKeywordReaders(const CommandString& command) {
  std::string first = "stale", second = "stale";
  uint32_t result = ReadOpenOptions(command, first, second);
  Require(result == 0 || result == kMciErrMissingParameter || result == kMciErrUnrecognizedKeyword,
          "ReadOpenOptions returns one of its codes");
  Require(!ErrorText(result).empty() || result == 0, "every reader fault has a text");
  result = ReadPlayRange(command, first, second);
  Require(result == 0 || result == kMciErrMissingParameter || result == kMciErrUnrecognizedKeyword,
          "ReadPlayRange returns one of its codes");
  TimeFormat format = TimeFormat::kMilliseconds;
  result = ReadTimeFormat(command, format);
  Require(result == 0 || result == kMciErrUnrecognizedKeyword || result == kMciErrBadConstant,
          "ReadTimeFormat returns one of its codes");
}

void CheckCommandText(std::string_view text) {
  std::vector<std::string> words;
  const uint32_t split = SplitWords(text, words);
  CommandString command;
  const uint32_t parsed = ParseCommandString(text, command);
  Require(IsParserFault(parsed) || parsed == 0, "ParseCommandString returns one of its codes");
  Require(parsed == 0 || !ErrorText(parsed).empty(), "every parser fault has a text");
  if (split != 0) {
    Require(parsed == split, "a split fault is the parse result");
    const bool only_blanks = text.find_first_not_of(" \t") == std::string_view::npos;
    Require((split == kMciErrMissingCommandString) == only_blanks,
            "no word at all exactly when the text holds only blanks");
    return;
  }
  Require(!words.empty(), "a split without fault yields a word");
  std::vector<std::string> again;
  Require(SplitWords(Rejoin(words), again) == 0 && again == words, "rejoined words split the same");
  if (parsed != 0) {
    Require(parsed == kMciErrUnrecognizedCommand || words.size() < 2,
            "a known verb with a device parses");
    return;
  }
  Require(words.size() >= 2, "a parsed command has a device");
  Require(command.element == words[1] && command.device == LowerAscii(words[1]),
          "element as written, device in lower case");
  Require(command.arguments.size() == words.size() - 2, "every further word is an argument");
  for (size_t i = 0; i < command.arguments.size(); ++i) {
    Require(command.arguments[i] == LowerAscii(words[i + 2]), "arguments in lower case");
  }
  constexpr std::array<std::string_view, 6> kVerbNames = {"open", "close",  "play",
                                                          "stop", "status", "set"};
  Require(LowerAscii(words[0]) == kVerbNames[static_cast<size_t>(command.verb)],
          "the verb is the first word");
  CheckKeywordReaders(command);
}

// What the field grammar should accept, worked out apart from the parser.
bool FieldsWellFormed(std::string_view text, size_t max_fields) {
  size_t fields = 0;
  size_t start = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    const std::string_view field = text.substr(
        start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
    if (field.empty() || field.size() > 9) return false;
    for (char c : field) {
      if (c < '0' || c > '9') return false;
    }
    if (++fields > max_fields) return false;
    if (colon == std::string_view::npos) return true;
    start = colon + 1;
  }
}

void CheckNumbers(std::string_view text, int32_t frames) {
  if (const std::optional<int64_t> count = ParseCount(text)) {
    Require(*count >= 0 && *count <= 999999999, "a count has at most nine digits");
    Require(ParseCount(std::to_string(*count)) == count, "a count reads back");
  }
  for (const size_t max_fields : {size_t{1}, size_t{3}, size_t{4}}) {
    const std::optional<std::vector<int64_t>> fields = ParseFields(text, max_fields);
    Require(fields.has_value() == FieldsWellFormed(text, max_fields),
            "ParseFields accepts exactly the field grammar");
    if (!fields) continue;
    Require(!fields->empty() && fields->size() <= max_fields, "field count within bounds");
    std::string joined;
    for (const int64_t field : *fields) {
      if (!joined.empty()) joined += ':';
      joined += FormatTwoDigits(field);
    }
    Require(ParseFields(joined, max_fields) == fields, "fields read back after formatting");
  }

  const std::string msf = FormatMsf(frames);
  if (frames < 0) return;  // a sign has no place in "mm:ss:ff"; only the call itself is tested
  const std::optional<std::vector<int64_t>> fields = ParseFields(msf, 3);
  Require(fields && fields->size() == 3, "FormatMsf writes three fields");
  const std::vector<int64_t>& f = *fields;
  Require(f[1] < 60 && f[2] < kMsfFramesPerSecond, "seconds and frames in range");
  Require(f[0] * 60 * kMsfFramesPerSecond + f[1] * kMsfFramesPerSecond + f[2] == frames,
          "FormatMsf round trip");
  Require(msf.size() >= 8, "every field at least two digits");
}

constexpr std::array<uint32_t, 21> kKnownCodes = {
    kMciErrInvalidDeviceId,  kMciErrUnrecognizedKeyword,  kMciErrUnrecognizedCommand,
    kMciErrHardware,         kMciErrInvalidDeviceName,    kMciErrDeviceOpen,
    kMciErrCannotLoadDriver, kMciErrMissingCommandString, kMciErrBadInteger,
    kMciErrMissingParameter, kMciErrUnsupportedFunction,  kMciErrFileNotFound,
    kMciErrDeviceNotReady,   kMciErrOutOfRange,           kMciErrDuplicateAlias,
    kMciErrBadConstant,      kMciErrMissingDeviceName,    kMciErrNoClosingQuote,
    kMciErrInvalidFile,      kMciErrExtraCharacters,      kMciErrDeviceNotInstalled,
};

constexpr std::string_view kPositionQuery = "status cdaudio position track ";

// Answers from the script and honours the interface's promises (replies cut to the buffer,
// left empty on failure) so that whatever goes wrong afterwards is the player's doing.
class ScriptedMultimedia final : public Multimedia {
 public:
  struct Sent {
    std::string command;
    bool wants_reply = false;
    uint32_t reply_length = 0;
    uint32_t result = 0;
    std::string reply;  // as stored for the caller
  };

  ScriptedMultimedia(FuzzedDataProvider& script, const Settings& settings)
      : script_(script), settings_(settings) {}

  uint32_t SendString(std::string_view command, std::string* reply,
                      uint32_t reply_length) override {
    CheckCommand(command, reply, reply_length);
    Sent sent{std::string(command), reply != nullptr, reply_length, NextResult(), {}};
    const std::string text = script_.ConsumeRandomLengthString(2 * kReplyBufferLength);
    if (reply != nullptr && reply_length > 0) {
      *reply = sent.result == 0 ? text.substr(0, reply_length - 1) : std::string();
      sent.reply = *reply;
    }
    if (expect_play_after_position && command.starts_with(kPositionQuery)) {
      // MciQuery's return: the reply up to its first NUL, or "Error:" and the code.
      const std::string seen = sent.result == 0
                                   ? sent.reply.substr(0, sent.reply.find('\0'))
                                   : "Error:" + std::to_string(static_cast<int32_t>(sent.result));
      expected_play_ = seen.empty() ? "play cdaudio" : "play cdaudio from " + seen;
      if (!seen.empty()) embedded_ = seen;
    }
    log.push_back(std::move(sent));
    return log.back().result;
  }

  bool GetErrorString(uint32_t, std::string& text, uint32_t length) override {
    const bool known = script_.ConsumeBool();
    const std::string given = script_.ConsumeRandomLengthString(2 * kErrorBufferLength);
    if (!known || length == 0) return false;
    text = given.substr(0, length - 1);
    error_texts.push_back(text);
    return true;
  }

  bool PlaySound(const std::string* name, uint32_t flags) override {
    Require(name == nullptr || name == &settings_.music_file, "the music file is played");
    Require(name == nullptr ? flags == kSndSync : flags == (kSndAsync | kSndLoop),
            "play loops asynchronously, stop is plain");
    return script_.ConsumeBool();
  }

  uint32_t WaveOutGetNumDevs() override { return script_.ConsumeIntegral<uint32_t>(); }

  // Set around the player calls whose commands are the player's own (not a caller's text).
  bool check_commands = true;
  // Set around the CD calls that turn a position reply into a play command.
  bool expect_play_after_position = false;
  std::vector<Sent> log;
  std::vector<std::string> error_texts;

  bool PlayStillExpected() const { return expected_play_.has_value(); }

 private:
  uint32_t NextResult() {
    const uint8_t pick = script_.ConsumeIntegral<uint8_t>();
    if (pick < 160) return 0;
    if (pick < 250) return kKnownCodes[pick % kKnownCodes.size()];
    return script_.ConsumeIntegral<uint32_t>();
  }

  void CheckCommand(std::string_view command, const std::string* reply, uint32_t reply_length) {
    std::optional<std::string> embedded;
    if (expected_play_) {
      Require(command == *expected_play_, "a position reply becomes the next play command");
      expected_play_.reset();
      embedded = std::move(embedded_);
      embedded_.reset();
    }
    if (!check_commands) return;

    uint32_t wanted_length = 0;
    if (command == "status cdaudio mode") {
      wanted_length = kModeBufferLength;
    } else if (command == "status MP3Play mode") {
      wanted_length = kMp3ModeBufferLength;
    } else if (command.starts_with("status ")) {
      wanted_length = kReplyBufferLength;
    } else if (command.starts_with("play cdaudio")) {
      wanted_length = kReplyBufferLength;  // MciPlay keeps its reply as last_reply
    }
    Require((reply != nullptr) == (wanted_length != 0) && reply_length == wanted_length,
            "each command asks for the reply buffer it is meant to");

    CommandString parsed;
    const uint32_t result = ParseCommandString(command, parsed);
    if (embedded && !IsPlainWord(*embedded)) {
      // A reply with blanks or quotes is passed on as it came; only a quote that opens a
      // word can keep the command from parsing.
      Require(result == 0 || embedded->find('"') != std::string::npos,
              "only a quoted reply spoils a play command");
      return;
    }
    Require(result == 0, "every command the player sends parses");
    if (parsed.verb == CommandVerb::kOpen && parsed.device != "cdaudio") {
      std::string type, alias;
      Require(parsed.element == settings_.music_file, "the file name arrives whole");
      Require(
          ReadOpenOptions(parsed, type, alias) == 0 && type == "mpegvideo" && alias == "mp3play",
          "the file is opened as MPEGVideo under the alias MP3Play");
      return;
    }
    Require(parsed.device == "cdaudio" || parsed.device == "mp3play", "a known device");
    if (parsed.verb == CommandVerb::kPlay) {
      std::string from, to;
      Require(ReadPlayRange(parsed, from, to) == 0 && to.empty(), "play takes at most a start");
      if (embedded) Require(from == LowerAscii(*embedded), "the start is the position reply");
    } else if (parsed.verb == CommandVerb::kSet) {
      TimeFormat format = TimeFormat::kMilliseconds;
      Require(ReadTimeFormat(parsed, format) == 0 && format == TimeFormat::kTmsf,
              "the CD counts in tracks, minutes, seconds and frames");
    } else if (command.starts_with(kPositionQuery)) {
      const std::string_view track = command.substr(kPositionQuery.size());
      int value = 0;
      const auto [end, error] = std::from_chars(track.data(), track.data() + track.size(), value);
      Require(error == std::errc() && end == track.data() + track.size() && value >= INT16_MIN &&
                  value <= INT16_MAX,
              "a position is asked of a 16-bit track number");
    }
  }

  FuzzedDataProvider& script_;
  const Settings& settings_;
  std::optional<std::string> expected_play_;
  std::optional<std::string> embedded_;
};

void CheckLastReply(const MusicPlayer& player) {
  Require(player.last_reply.size() < kReplyBufferLength, "a reply fits its buffer");
  Require(player.last_reply.find('\0') == std::string::npos, "a reply ends at its first NUL");
}

// MciQuery with a caller's command: its text need not parse, but the reply rules still hold.
void QueryArbitrary(MusicPlayer& player, ScriptedMultimedia& device, const std::string& command) {
  const size_t before = device.log.size();
  const size_t errors_before = device.error_texts.size();
  const std::string answer = player.MciQuery(command);
  CheckLastReply(player);
  if (command.empty()) {
    Require(device.log.size() == before, "an empty command is not sent");
    Require(answer == "Error:-1" && player.last_reply == kNoCommandText, "empty command reply");
    return;
  }
  Require(device.log.size() == before + 1, "one command, one send");
  const ScriptedMultimedia::Sent& sent = device.log.back();
  Require(sent.reply_length == kReplyBufferLength, "a query offers the full reply buffer");
  if (sent.result == 0) {
    Require(answer == sent.reply.substr(0, sent.reply.find('\0')) && answer == player.last_reply,
            "a query returns its reply up to the first NUL");
    return;
  }
  Require(answer == "Error:" + std::to_string(static_cast<int32_t>(sent.result)),
          "a failed query returns its code");
  if (device.error_texts.size() > errors_before) {
    const std::string& text = device.error_texts.back();
    Require(player.last_reply == text.substr(0, text.find('\0')),
            "a failed query keeps the error text up to the first NUL");
  } else {
    Require(player.last_reply == kNoErrorText, "an unknown code gets the stand-in text");
  }
}

void CheckPollCd(const MusicPlayer& player, const ScriptedMultimedia& device, size_t before) {
  const size_t sent = device.log.size() - before;
  if (!player.cd_polling) {
    Require(sent <= 3, "polling that stops early sends no play");
    return;
  }
  Require(sent >= 3 && device.log[before].command == "status cdaudio current track" &&
              device.log[before + 1].command == "status cdaudio number of tracks" &&
              device.log[before + 2].command == "status cdaudio mode",
          "a poll asks track, count and mode in this order");
}

void CheckPollMp3(const ScriptedMultimedia& device, size_t before) {
  const size_t sent = device.log.size() - before;
  Require(sent >= 1 && device.log[before].command == "status MP3Play mode", "poll asks the mode");
  const bool playing = device.log[before].reply.starts_with("playing");
  Require(sent == (playing ? 1u : 3u), "a file that stopped is started again, and only then");
  if (!playing) {
    Require(device.log[before + 1].command == "stop MP3Play" &&
                device.log[before + 2].command == "play MP3Play from 0",
            "restart from the beginning");
  }
}

void DrivePlayer(FuzzedDataProvider& script) {
  Settings settings;
  // Half the runs play the disc through, half come back to a track (any 16-bit value).
  settings.repeat_track = script.ConsumeBool() ? script.ConsumeIntegral<int16_t>() : 0;
  settings.music_file = script.ConsumeRandomLengthString(64);
  ScriptedMultimedia device(script, settings);
  MusicPlayer player(device, settings);

  for (int step = 0; step < 64 && script.remaining_bytes() > 0; ++step) {
    const size_t before = device.log.size();
    switch (script.ConsumeIntegralInRange<int>(0, 10)) {
      case 0:
        device.expect_play_after_position = true;
        player.PollCd();
        CheckPollCd(player, device, before);
        break;
      case 1:
        device.expect_play_after_position = true;
        player.NextTrack();
        break;
      case 2:
        device.expect_play_after_position = true;
        player.PreviousTrack();
        break;
      case 3:
        player.PollMp3();
        CheckPollMp3(device, before);
        break;
      case 4:
        device.check_commands = false;
        QueryArbitrary(player, device, script.ConsumeRandomLengthString(128));
        device.check_commands = true;
        break;
      case 5:
        player.OpenCd();
        break;
      case 6:
        player.CloseCd();
        break;
      case 7:
        player.PlayMp3();
        if (settings.music_file.find('"') != std::string::npos) {
          Require(device.log.size() == before, "a file name with a quote is never sent");
        }
        break;
      case 8:
        player.StopMp3();
        break;
      case 9:
        player.PlayWav();
        break;
      default:
        player.StopWav();
        break;
    }
    device.expect_play_after_position = false;
    Require(!device.PlayStillExpected(), "a position reply is always played");
    CheckLastReply(player);
  }
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int32_t frames = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) {
    frames = static_cast<int32_t>(static_cast<uint32_t>(frames) << 8 | data[i]);
  }
  vx::CheckCommandText(text);
  vx::CheckNumbers(text, frames);
  FuzzedDataProvider script(data, size);
  vx::DrivePlayer(script);
  return 0;
}
