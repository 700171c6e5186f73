#include "platform/linux/sdl_multimedia.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/linux/cd_disc.h"

namespace vx {
namespace {

constexpr int kOutputRate = 44100;  // the CD's own rate, so its sectors mix in unconverted
constexpr int kSectorsPerRead = 4;
constexpr int32_t kMsfOffset = 150;  // two seconds of lead-in before sector 0

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// Splits a command into words. A word in double quotes may hold blanks; its closing quote
// must end the word, so a quote inside a quoted file name cannot smuggle in further words.
uint32_t Tokenize(std::string_view command, std::vector<std::string>& words) {
  size_t i = 0;
  while (i < command.size()) {
    if (command[i] == ' ' || command[i] == '\t') {
      ++i;
      continue;
    }
    if (command[i] == '"') {
      const size_t close = command.find('"', i + 1);
      if (close == std::string_view::npos) return kMciErrNoClosingQuote;
      if (close + 1 < command.size() && command[close + 1] != ' ' && command[close + 1] != '\t') {
        return kMciErrExtraCharacters;
      }
      words.emplace_back(command.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t end = i;
    while (end < command.size() && command[end] != ' ' && command[end] != '\t') ++end;
    words.emplace_back(command.substr(i, end - i));
    i = end;
  }
  return words.empty() ? kMciErrMissingCommandString : 0;
}

// Whole decimal numbers only, within 0..1e9.
std::optional<int64_t> ParseCount(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::vector<int64_t>> ParseFields(std::string_view text, size_t max_fields) {
  std::vector<int64_t> fields;
  size_t start = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    auto field = ParseCount(text.substr(
        start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
    if (!field) return std::nullopt;
    fields.push_back(*field);
    if (fields.size() > max_fields) return std::nullopt;
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

std::string TwoDigits(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
  return text;
}

std::string Msf(int32_t frames) {
  return TwoDigits(frames / (60 * kCdSectorsPerSecond)) + ":" +
         TwoDigits(frames / kCdSectorsPerSecond % 60) + ":" +
         TwoDigits(frames % kCdSectorsPerSecond);
}

std::string Join(const std::vector<std::string>& words, size_t from) {
  std::string out;
  for (size_t i = from; i < words.size(); ++i) {
    if (!out.empty()) out += ' ';
    out += Lower(words[i]);
  }
  return out;
}

const std::map<uint32_t, std::string_view>& ErrorTexts() {
  static const std::map<uint32_t, std::string_view> texts = {
      {kMciErrInvalidDeviceId,
       "Invalid device ID. Use the ID given to this device when the device was opened."},
      {kMciErrUnrecognizedKeyword, "The driver cannot recognize the specified command parameter."},
      {kMciErrUnrecognizedCommand, "The driver cannot recognize the specified command."},
      {kMciErrHardware,
       "There is a problem with your media device. Make sure it is working correctly or "
       "contact the device manufacturer."},
      {kMciErrInvalidDeviceName, "The specified device is not open or is not recognized by MCI."},
      {kMciErrDeviceOpen,
       "The device name is already being used as an alias by this "
       "application. Use a unique alias."},
      {kMciErrCannotLoadDriver,
       "There is an undetectable problem in loading the specified "
       "device driver."},
      {kMciErrMissingCommandString, "No command was specified."},
      {kMciErrBadInteger, "An integer in the command was invalid or missing."},
      {kMciErrMissingParameter, "The specified command requires a parameter. Please supply one."},
      {kMciErrUnsupportedFunction,
       "The MCI device you are using does not support the specified "
       "command."},
      {kMciErrFileNotFound,
       "Cannot find the specified file. Make sure the path and filename are "
       "correct."},
      {kMciErrDeviceNotReady, "The device driver is not ready."},
      {kMciErrOutOfRange, "The specified parameter is out of range for the specified command."},
      {kMciErrDuplicateAlias,
       "The specified alias is already being used in this application. "
       "Use a unique alias."},
      {kMciErrBadConstant, "The value specified for a parameter is unknown."},
      {kMciErrMissingDeviceName, "No device name was specified."},
      {kMciErrNoClosingQuote, "A closing quotation mark is missing."},
      {kMciErrInvalidFile,
       "The specified file cannot be played on the specified MCI device. "
       "The file may be corrupt, or not in the correct format."},
      {kMciErrExtraCharacters, "You must enclose this string with quotation marks."},
      {kMciErrDeviceNotInstalled, "The specified device is not installed on the system."},
  };
  return texts;
}

}  // namespace

struct SdlMultimedia::FileDevice {
  Mix_Music* music = nullptr;
  double resume_seconds = 0;
};

// The open CD. The UI thread owns `disc` opening and the table of contents; the mixer thread
// reads sectors while `playing`. Everything below the mutex is shared.
struct SdlMultimedia::CdState {
  std::unique_ptr<CdDisc> disc;
  TimeFormat format = TimeFormat::kMsf;
  bool toc = false;
  bool mixing = false;  // registered with the mixer

  std::mutex mutex;
  int32_t position = 0;  // next sector to play
  int32_t end = 0;       // playing stops before this sector
  bool playing = false;
  uint64_t generation = 0;  // bumped by every play or stop

  // Mixer thread only.
  std::vector<uint8_t> pending;
  size_t pending_at = 0;
  uint64_t seen_generation = 0;
};

SdlMultimedia::SdlMultimedia(std::string cd_source) : cd_source_(std::move(cd_source)) {}

SdlMultimedia::SdlMultimedia() {
  if (const char* source = std::getenv("VEXLUM_CD_DEVICE")) cd_source_ = source;
}

SdlMultimedia::~SdlMultimedia() {
  PlaySound(nullptr, kSndSync);
  while (!files_.empty()) CloseFile(files_.begin()->first);
  CloseCd();
  if (audio_ok_) {
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (audio_tried_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlMultimedia::AudioReady() {
  if (audio_tried_) return audio_ok_;
  audio_tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // No format changes allowed: SDL converts for the device, and CD sectors mix in as they are.
  if (Mix_OpenAudioDevice(kOutputRate, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) return false;
  Mix_Init(MIX_INIT_MP3);
  audio_ok_ = true;
  return true;
}

uint32_t SdlMultimedia::WaveOutGetNumDevs() {
  if (!AudioReady()) return 0;
  return static_cast<uint32_t>(std::max(1, SDL_GetNumAudioDevices(0)));
}

bool SdlMultimedia::GetErrorString(uint32_t code, std::string& text, uint32_t length) {
  const auto& texts = ErrorTexts();
  auto it = texts.find(code);
  if (it == texts.end() || length == 0) return false;
  text = std::string(it->second.substr(0, length - 1));
  return true;
}

bool SdlMultimedia::PlaySound(const std::string* name, uint32_t flags) {
  if (chunk_ != nullptr) {
    Mix_HaltChannel(chunk_channel_);
    Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk_));
    chunk_ = nullptr;
    chunk_channel_ = -1;
  }
  if (name == nullptr) return true;
  if ((flags & kSndAsync) == 0 || !AudioReady()) return false;
  Mix_Chunk* chunk = Mix_LoadWAV(name->c_str());
  if (chunk == nullptr) return false;
  const int channel = Mix_PlayChannel(-1, chunk, (flags & kSndLoop) != 0 ? -1 : 0);
  if (channel < 0) {
    Mix_FreeChunk(chunk);
    return false;
  }
  chunk_ = chunk;
  chunk_channel_ = channel;
  return true;
}

uint32_t SdlMultimedia::SendString(std::string_view command, std::string* reply,
                                   uint32_t reply_length) {
  std::vector<std::string> words;
  std::string text;
  uint32_t result = Tokenize(command, words);
  if (result == 0) result = Execute(words, text);
  if (reply != nullptr && reply_length > 0) {
    *reply = result == 0 ? text.substr(0, reply_length - 1) : std::string();
  }
  return result;
}

uint32_t SdlMultimedia::Execute(const std::vector<std::string>& words, std::string& reply) {
  const std::string verb = Lower(words[0]);
  if (verb != "open" && verb != "close" && verb != "play" && verb != "stop" && verb != "status" &&
      verb != "set") {
    return kMciErrUnrecognizedCommand;
  }
  if (words.size() < 2) return kMciErrMissingDeviceName;
  if (verb == "open") return Open(words);
  const std::string name = Lower(words[1]);
  if (verb == "close") return words.size() > 2 ? kMciErrUnrecognizedKeyword : Close(name);
  if (verb == "stop") return words.size() > 2 ? kMciErrUnrecognizedKeyword : Stop(name);
  if (verb == "play") return Play(name, words);
  if (verb == "status") return Status(name, words, reply);
  return Set(name, words);
}

uint32_t SdlMultimedia::Open(const std::vector<std::string>& words) {
  const std::string& element = words[1];
  std::string type, alias;
  for (size_t i = 2; i < words.size(); ++i) {
    const std::string word = Lower(words[i]);
    if (word == "type" || word == "alias") {
      if (i + 1 >= words.size()) return kMciErrMissingParameter;
      (word == "type" ? type : alias) = words[++i];
    } else if (word != "shareable" && word != "wait") {
      return kMciErrUnrecognizedKeyword;
    }
  }
  type = Lower(type);
  if (type.empty()) {
    if (Lower(element) == "cdaudio") {
      type = "cdaudio";
    } else if (Lower(std::filesystem::path(element).extension().string()) == ".mp3") {
      type = "mpegvideo";
    } else {
      return kMciErrInvalidDeviceName;
    }
  }

  if (type == "cdaudio") {
    if (!alias.empty() && Lower(alias) != "cdaudio") return kMciErrUnsupportedFunction;
    if (cd_) return kMciErrDeviceOpen;
    std::unique_ptr<CdDisc> disc = CdDisc::Open(cd_source_);
    if (!disc) return kMciErrDeviceNotInstalled;
    cd_ = std::make_unique<CdState>();
    cd_->disc = std::move(disc);
    CdTocReady();
    return 0;
  }
  if (type != "mpegvideo") return kMciErrCannotLoadDriver;

  const std::string key = Lower(alias.empty() ? element : alias);
  if (files_.count(key) != 0 || key == "cdaudio" || key == "all") return kMciErrDuplicateAlias;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(element, ec)) return kMciErrFileNotFound;
  if (!AudioReady()) return kMciErrHardware;
  Mix_Music* music = Mix_LoadMUS(element.c_str());
  if (music == nullptr) return kMciErrInvalidFile;
  if (Mix_MusicDuration(music) <= 0) {
    Mix_FreeMusic(music);
    return kMciErrInvalidFile;
  }
  auto device = std::make_unique<FileDevice>();
  device->music = music;
  files_[key] = std::move(device);
  return 0;
}

uint32_t SdlMultimedia::Close(const std::string& name) {
  if (name == "all") {
    while (!files_.empty()) CloseFile(files_.begin()->first);
    CloseCd();
    return 0;
  }
  if (name == "cdaudio" && cd_) {
    CloseCd();
    return 0;
  }
  if (files_.count(name) == 0) return kMciErrInvalidDeviceName;
  CloseFile(name);
  return 0;
}

void SdlMultimedia::CloseFile(const std::string& alias) {
  auto it = files_.find(alias);
  if (it == files_.end()) return;
  if (music_owner_ == alias) {
    Mix_HaltMusic();
    music_owner_.clear();
  }
  Mix_FreeMusic(it->second->music);
  files_.erase(it);
}

void SdlMultimedia::CloseCd() {
  if (!cd_) return;
  // Once the mixer has let go of the callback no sector read is under way, so the disc can go.
  if (cd_->mixing) Mix_SetPostMix(nullptr, nullptr);
  cd_.reset();
}

uint32_t SdlMultimedia::Stop(const std::string& name) {
  if (name == "cdaudio" && cd_) {
    std::lock_guard lock(cd_->mutex);
    cd_->playing = false;
    ++cd_->generation;
    return 0;
  }
  auto it = files_.find(name);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  FileStop(*it->second);
  return 0;
}

uint32_t SdlMultimedia::Play(const std::string& name, const std::vector<std::string>& words) {
  std::string from, to;
  for (size_t i = 2; i < words.size(); ++i) {
    const std::string word = Lower(words[i]);
    if (word == "from" || word == "to") {
      if (i + 1 >= words.size()) return kMciErrMissingParameter;
      (word == "from" ? from : to) = words[++i];
    } else if (word != "wait" && word != "notify") {
      return kMciErrUnrecognizedKeyword;
    }
  }
  if (name == "cdaudio" && cd_) return CdPlay(from, to);
  auto it = files_.find(name);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  if (!to.empty()) return kMciErrUnsupportedFunction;
  return FilePlay(name, *it->second, from);
}

uint32_t SdlMultimedia::Status(const std::string& name, const std::vector<std::string>& words,
                               std::string& reply) {
  if (words.size() < 3) return kMciErrMissingParameter;
  std::vector<std::string> items;
  for (size_t i = 2; i < words.size(); ++i) items.push_back(Lower(words[i]));
  if (name == "cdaudio" && cd_) return CdStatus(items, reply);
  auto it = files_.find(name);
  if (it == files_.end()) return kMciErrInvalidDeviceName;
  return FileStatus(*it->second, items, reply);
}

uint32_t SdlMultimedia::Set(const std::string& name, const std::vector<std::string>& words) {
  const bool cd = name == "cdaudio" && cd_;
  if (!cd && files_.count(name) == 0) return kMciErrInvalidDeviceName;
  const std::string what = Join(words, 2);
  if (what.rfind("time format ", 0) != 0) return kMciErrUnrecognizedKeyword;
  const std::string format = what.substr(12);
  if (format == "milliseconds" || format == "ms") {
    if (cd) cd_->format = TimeFormat::kMilliseconds;
    return 0;
  }
  if (!cd) return kMciErrBadConstant;
  if (format == "tmsf") {
    cd_->format = TimeFormat::kTmsf;
  } else if (format == "msf") {
    cd_->format = TimeFormat::kMsf;
  } else {
    return kMciErrBadConstant;
  }
  return 0;
}

// ---- files ----

uint32_t SdlMultimedia::FileStatus(FileDevice& device, const std::vector<std::string>& items,
                                   std::string& reply) {
  const std::string item = Join(items, 0);
  const bool playing =
      !music_owner_.empty() && files_.at(music_owner_).get() == &device && Mix_PlayingMusic() != 0;
  if (item == "mode") {
    reply = playing ? "playing" : "stopped";
  } else if (item == "position") {
    const double seconds = playing ? Mix_GetMusicPosition(device.music) : device.resume_seconds;
    reply = std::to_string(std::llround(std::max(0.0, seconds) * 1000));
  } else if (item == "length") {
    reply = std::to_string(std::llround(std::max(0.0, Mix_MusicDuration(device.music)) * 1000));
  } else {
    return kMciErrUnrecognizedKeyword;
  }
  return 0;
}

uint32_t SdlMultimedia::FilePlay(const std::string& alias, FileDevice& device,
                                 const std::string& from) {
  double start = device.resume_seconds;
  if (!from.empty()) {
    auto ms = ParseCount(from);
    if (!ms) return kMciErrBadInteger;
    start = static_cast<double>(*ms) / 1000.0;
    if (start > Mix_MusicDuration(device.music)) return kMciErrOutOfRange;
  }
  if (Mix_PlayMusic(device.music, 1) != 0) return kMciErrHardware;
  if (start > 0) Mix_SetMusicPosition(start);
  music_owner_ = alias;
  device.resume_seconds = 0;
  return 0;
}

void SdlMultimedia::FileStop(FileDevice& device) {
  if (!music_owner_.empty() && files_.at(music_owner_).get() == &device) {
    // Stopped in the middle: a later plain "play" resumes there. Ended: it starts again.
    device.resume_seconds =
        Mix_PlayingMusic() != 0 ? std::max(0.0, Mix_GetMusicPosition(device.music)) : 0.0;
    Mix_HaltMusic();
    music_owner_.clear();
  }
}

// ---- cdaudio ----

bool SdlMultimedia::CdTocReady() {
  if (!cd_->toc && cd_->disc->ReadToc()) {
    cd_->toc = true;
    std::lock_guard lock(cd_->mutex);
    cd_->position = cd_->disc->tracks().front().start;
    cd_->end = cd_->disc->leadout();
  }
  return cd_->toc;
}

std::string SdlMultimedia::FormatCd(int32_t lsn) const {
  switch (cd_->format) {
    case TimeFormat::kMilliseconds:
      return std::to_string(static_cast<int64_t>(lsn) * 1000 / kCdSectorsPerSecond);
    case TimeFormat::kMsf:
      return Msf(lsn + kMsfOffset);
    case TimeFormat::kTmsf:
      break;
  }
  const auto& tracks = cd_->disc->tracks();
  const CdTrack* track = &tracks.front();
  for (const CdTrack& t : tracks) {
    if (t.start <= lsn) track = &t;
  }
  return TwoDigits(track->number) + ":" + Msf(std::max(0, lsn - track->start));
}

bool SdlMultimedia::ParseCd(const std::string& text, int32_t& lsn) const {
  if (cd_->format == TimeFormat::kMilliseconds) {
    auto ms = ParseCount(text);
    if (!ms) return false;
    lsn = static_cast<int32_t>(*ms * kCdSectorsPerSecond / 1000);
    return true;
  }
  const bool tmsf = cd_->format == TimeFormat::kTmsf;
  auto fields = ParseFields(text, tmsf ? 4 : 3);
  if (!fields) return false;
  std::vector<int64_t> f = *fields;
  int32_t base = -kMsfOffset;
  if (tmsf) {
    const auto& tracks = cd_->disc->tracks();
    auto it = std::find_if(tracks.begin(), tracks.end(),
                           [&](const CdTrack& t) { return t.number == f[0]; });
    if (it == tracks.end()) return false;
    base = it->start;
    f.erase(f.begin());
  }
  f.resize(3, 0);
  if (f[1] > 59 || f[2] >= kCdSectorsPerSecond) return false;
  lsn = static_cast<int32_t>(base + (f[0] * 60 + f[1]) * kCdSectorsPerSecond + f[2]);
  return true;
}

uint32_t SdlMultimedia::CdStatus(const std::vector<std::string>& items, std::string& reply) {
  const std::string item = Join(items, 0);
  if (item == "media present") {
    reply = CdTocReady() ? "true" : "false";
    return 0;
  }
  if (item == "mode") {
    if (!CdTocReady()) {
      reply = "not ready";
      return 0;
    }
    std::lock_guard lock(cd_->mutex);
    reply = cd_->playing ? "playing" : "stopped";
    return 0;
  }
  if (!CdTocReady()) return kMciErrDeviceNotReady;
  const auto& tracks = cd_->disc->tracks();
  if (item == "number of tracks") {
    reply = std::to_string(tracks.size());
    return 0;
  }
  int32_t position;
  {
    std::lock_guard lock(cd_->mutex);
    position = cd_->position;
  }
  if (item == "current track") {
    int number = tracks.front().number;
    for (const CdTrack& t : tracks) {
      if (t.start <= position) number = t.number;
    }
    reply = std::to_string(number);
    return 0;
  }
  if (item == "position") {
    reply = FormatCd(position);
    return 0;
  }
  if (items.size() == 3 && (items[0] == "position" || items[0] == "length") &&
      items[1] == "track") {
    auto number = ParseCount(items[2]);
    if (!number) return kMciErrBadInteger;
    auto it = std::find_if(tracks.begin(), tracks.end(),
                           [&](const CdTrack& t) { return t.number == *number; });
    if (it == tracks.end()) return kMciErrOutOfRange;
    if (items[0] == "position") {
      reply = FormatCd(it->start);
    } else {
      const int32_t end = it + 1 == tracks.end() ? cd_->disc->leadout() : (it + 1)->start;
      const int32_t length = end - it->start;
      reply = cd_->format == TimeFormat::kMilliseconds
                  ? std::to_string(static_cast<int64_t>(length) * 1000 / kCdSectorsPerSecond)
                  : Msf(length);
    }
    return 0;
  }
  if (item == "length") {
    const int32_t length = cd_->disc->leadout() - tracks.front().start;
    reply = cd_->format == TimeFormat::kMilliseconds
                ? std::to_string(static_cast<int64_t>(length) * 1000 / kCdSectorsPerSecond)
                : Msf(length);
    return 0;
  }
  return kMciErrUnrecognizedKeyword;
}

uint32_t SdlMultimedia::CdPlay(const std::string& from, const std::string& to) {
  if (!CdTocReady()) return kMciErrDeviceNotReady;
  const int32_t first = cd_->disc->tracks().front().start;
  const int32_t leadout = cd_->disc->leadout();
  int32_t start, end = leadout;
  {
    std::lock_guard lock(cd_->mutex);
    start = cd_->position;
  }
  if (!from.empty() && !ParseCd(from, start)) return kMciErrOutOfRange;
  if (!to.empty() && !ParseCd(to, end)) return kMciErrOutOfRange;
  if (start < first || start >= leadout || end > leadout || end <= start) {
    return kMciErrOutOfRange;
  }
  if (!AudioReady()) return kMciErrHardware;
  if (!cd_->mixing) {
    Mix_SetPostMix(&SdlMultimedia::MixCd, cd_.get());
    cd_->mixing = true;
  }
  std::lock_guard lock(cd_->mutex);
  cd_->position = start;
  cd_->end = end;
  cd_->playing = true;
  ++cd_->generation;
  return 0;
}

// Runs on the mixer's thread after the music and sounds are mixed: adds the CD's samples.
void SdlMultimedia::MixCd(void* state, uint8_t* stream, int length) {
  auto& cd = *static_cast<CdState*>(state);
  auto* out = reinterpret_cast<int16_t*>(stream);
  size_t samples = static_cast<size_t>(length) / 2;
  std::vector<uint8_t> sectors;
  while (samples > 0) {
    int32_t lsn = 0, count = 0;
    uint64_t generation = 0;
    {
      std::lock_guard lock(cd.mutex);
      if (cd.generation != cd.seen_generation) {
        cd.seen_generation = cd.generation;
        cd.pending.clear();
        cd.pending_at = 0;
      }
      if (cd.pending_at >= cd.pending.size()) {
        if (!cd.playing) return;
        const auto& tracks = cd.disc->tracks();
        // Data tracks are skipped, as a CD player does.
        for (size_t i = 0; i < tracks.size(); ++i) {
          const int32_t next = i + 1 < tracks.size() ? tracks[i + 1].start : cd.disc->leadout();
          if (tracks[i].start <= cd.position && cd.position < next && !tracks[i].audio) {
            cd.position = next;
          }
        }
        if (cd.position >= cd.end) {
          cd.playing = false;
          // At the end of the disc it stands at the start again, so a plain play replays it.
          if (cd.end >= cd.disc->leadout()) cd.position = tracks.front().start;
          return;
        }
        lsn = cd.position;
        count = std::min(kSectorsPerRead, cd.end - cd.position);
        generation = cd.generation;
      }
    }
    if (count > 0) {
      sectors.resize(static_cast<size_t>(count) * kCdSectorBytes);
      const bool ok = cd.disc->ReadAudio(lsn, count, sectors.data());
      std::lock_guard lock(cd.mutex);
      if (!ok) {
        cd.playing = false;
        return;
      }
      if (generation != cd.generation) continue;  // a play or stop came in meanwhile
      cd.position = lsn + count;
      cd.pending.swap(sectors);
      cd.pending_at = 0;
      continue;
    }
    // Mix what is pending into the stream, little-endian 16-bit stereo like the output.
    const size_t available = (cd.pending.size() - cd.pending_at) / 2;
    const size_t n = std::min(samples, available);
    const uint8_t* in = cd.pending.data() + cd.pending_at;
    for (size_t i = 0; i < n; ++i) {
      const auto sample = static_cast<int16_t>(in[2 * i] | (in[2 * i + 1] << 8));
      const int sum = *out + sample;
      *out++ = static_cast<int16_t>(std::clamp(sum, -32768, 32767));
    }
    cd.pending_at += n * 2;
    samples -= n;
  }
}

}  // namespace vx
