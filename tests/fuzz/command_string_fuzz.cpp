// The input is read twice: whole, as one command string for the parser and its helpers; then
// through FuzzedDataProvider as the script of a multimedia device (results, replies, error
// texts) and of the player calls made against it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "music/command_string.h"
#include "music/music_player.h"
#include "ports/multimedia.h"
#include "settings/settings.h"

namespace vx {
namespace {

using fuzz::Require;

// Only quotes can have made a word that is empty or holds a blank, and a quoted word never
// holds a quote, so quoting exactly those words loses nothing.
std::string Rejoin(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) {
    if (!out.empty()) out += ' ';
    const bool quote = word.empty() || word.find_first_of(" \t") != std::string::npos;
    out += quote ? '"' + word + '"' : word;
  }
  return out;
}

void ReadCommand(std::string_view text) {
  std::vector<std::string> words, again;
  if (SplitWords(text, words) == 0) {
    Require(SplitWords(Rejoin(words), again) == 0 && again == words, "rejoined words split alike");
    JoinWords(words);
  }
  CommandString command;
  const uint32_t result = ParseCommandString(text, command);
  Require(result == 0 || !ErrorText(result).empty(), "every parser fault has a text");
  if (result != 0) return;
  std::string first, second;
  TimeFormat format = TimeFormat::kMilliseconds;
  for (const uint32_t fault :
       {ReadOpenOptions(command, first, second), ReadPlayRange(command, first, second),
        ReadTimeFormat(command, format)})
    Require(fault == 0 || !ErrorText(fault).empty(), "every reader fault has a text");
}

void ReadNumbers(std::string_view text, int32_t frames) {
  if (const std::optional<int64_t> count = ParseCount(text))
    Require(ParseCount(std::to_string(*count)) == count, "a count reads back");
  for (const size_t max_fields : {1, 3, 4}) {
    const std::optional<std::vector<int64_t>> fields = ParseFields(text, max_fields);
    if (!fields) continue;
    std::string joined;
    for (const int64_t field : *fields)
      joined += (joined.empty() ? "" : ":") + FormatTwoDigits(field);
    Require(ParseFields(joined, max_fields) == fields, "fields read back after formatting");
  }
  const std::string msf = FormatMsf(frames);
  if (frames < 0) return;  // "mm:ss:ff" has no sign; only the call itself is tested
  const std::optional<std::vector<int64_t>> f = ParseFields(msf, 3);
  Require(f && f->size() == 3 && (*f)[1] < 60 && (*f)[2] < kMsfFramesPerSecond &&
              ((*f)[0] * 60 + (*f)[1]) * kMsfFramesPerSecond + (*f)[2] == frames,
          "FormatMsf reads back");
}

// Keeps the interface's promises (replies cut to their buffer, empty on failure), so that
// whatever goes wrong is the player's doing.
class ScriptedMultimedia final : public Multimedia {
 public:
  explicit ScriptedMultimedia(FuzzedDataProvider& script) : script_(script) {}

  uint32_t SendString(std::string_view command, std::string* reply,
                      uint32_t reply_length) override {
    CommandString parsed;
    // A position reply goes into the next play command as it came, so a quote in it may spoil
    // that one; every other command the player makes itself must parse.
    Require(!check_commands || ParseCommandString(command, parsed) == 0 ||
                (command.starts_with("play cdaudio from ") && command.find('"') != command.npos),
            "every command the player sends parses");
    const uint8_t pick = script_.ConsumeIntegral<uint8_t>();
    const uint32_t result =
        pick < 160 ? 0 : (pick < 250 ? kMciBase + pick % 51 : script_.ConsumeIntegral<uint32_t>());
    const std::string text = script_.ConsumeRandomLengthString(2 * kReplyBufferLength);
    if (reply != nullptr && reply_length > 0)
      *reply = result ? "" : text.substr(0, reply_length - 1);
    return result;
  }

  bool GetErrorString(uint32_t, std::string& text, uint32_t length) override {
    const bool known = script_.ConsumeBool() && length > 0;
    const std::string given = script_.ConsumeRandomLengthString(2 * kErrorBufferLength);
    if (known) text = given.substr(0, length - 1);
    return known;
  }

  bool PlaySound(const std::string*, uint32_t) override { return script_.ConsumeBool(); }
  uint32_t WaveOutGetNumDevs() override { return script_.ConsumeIntegral<uint32_t>(); }

  bool check_commands = true;

 private:
  FuzzedDataProvider& script_;
};

void DrivePlayer(FuzzedDataProvider& script) {
  Settings settings;
  settings.repeat_track = script.ConsumeBool() ? script.ConsumeIntegral<int16_t>() : 0;
  settings.music_file = script.ConsumeRandomLengthString(64);
  ScriptedMultimedia device(script);
  MusicPlayer player(device, settings);
  using Call = void (MusicPlayer::*)();
  constexpr Call kCalls[] = {&MusicPlayer::PollCd,        &MusicPlayer::NextTrack,
                             &MusicPlayer::PreviousTrack, &MusicPlayer::PollMp3,
                             &MusicPlayer::OpenCd,        &MusicPlayer::CloseCd,
                             &MusicPlayer::PlayMp3,       &MusicPlayer::StopMp3,
                             &MusicPlayer::PlayWav,       &MusicPlayer::StopWav};
  for (int step = 0; step < 64 && script.remaining_bytes() > 0; ++step) {
    const size_t call = script.ConsumeIntegralInRange<size_t>(0, std::size(kCalls));
    if (call < std::size(kCalls)) {
      (player.*kCalls[call])();
      continue;
    }
    device.check_commands = false;  // a caller's command need not parse
    player.MciQuery(script.ConsumeRandomLengthString(128));
    device.check_commands = true;
  }
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vx::ReadCommand(text);
  vx::ReadNumbers(text, vx::fuzz::LeadingInt32(data, size));
  FuzzedDataProvider script(data, size);
  vx::DrivePlayer(script);
  return 0;
}
