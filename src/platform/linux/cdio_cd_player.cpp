#include "platform/linux/cdio_cd_player.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/linux/cdio_cd_disc.h"
#include "ports/multimedia.h"

namespace vx {
namespace {

static_assert(kMsfFramesPerSecond == kCdSectorsPerSecond, "an msf frame is one CD sector");

constexpr int kSectorsPerRead = 4;
constexpr int32_t kMsfOffset = 150;  // two seconds of lead-in before sector 0

std::string Milliseconds(int32_t sectors) {
  return std::to_string(static_cast<int64_t>(sectors) * 1000 / kCdSectorsPerSecond);
}

}  // namespace

// The open CD. The UI thread owns `disc` opening and the table of contents; the mixer thread
// reads sectors while `playing`. Everything below the mutex is shared.
struct CdioCdPlayer::CdState {
  std::unique_ptr<CdioCdDisc> disc;
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

CdioCdPlayer::CdioCdPlayer(std::string source, std::function<bool()> output_ready)
    : source_(std::move(source)), output_ready_(std::move(output_ready)) {}

CdioCdPlayer::~CdioCdPlayer() {
  Close();
}

uint32_t CdioCdPlayer::Open() {
  if (state_) return kMciErrDeviceOpen;
  std::unique_ptr<CdioCdDisc> disc = CdioCdDisc::Open(source_);
  if (!disc) return kMciErrDeviceNotInstalled;
  state_ = std::make_unique<CdState>();
  state_->disc = std::move(disc);
  TocReady();
  return 0;
}

void CdioCdPlayer::Close() {
  if (!state_) return;
  // Once the mixer has let go of the callback no sector read is under way, so the disc can go.
  if (state_->mixing) Mix_SetPostMix(nullptr, nullptr);
  state_.reset();
}

void CdioCdPlayer::Stop() {
  std::lock_guard lock(state_->mutex);
  state_->playing = false;
  ++state_->generation;
}

void CdioCdPlayer::SetTimeFormat(TimeFormat format) {
  state_->format = format;
}

bool CdioCdPlayer::TocReady() {
  CdState& cd = *state_;
  if (!cd.toc && cd.disc->ReadToc()) {
    cd.toc = true;
    std::lock_guard lock(cd.mutex);
    cd.position = cd.disc->tracks().front().start;
    cd.end = cd.disc->leadout();
  }
  return cd.toc;
}

std::string CdioCdPlayer::FormatPosition(int32_t lsn) const {
  switch (state_->format) {
    case TimeFormat::kMilliseconds:
      return Milliseconds(lsn);
    case TimeFormat::kMsf:
      return FormatMsf(lsn + kMsfOffset);
    case TimeFormat::kTmsf:
      break;
  }
  const auto& tracks = state_->disc->tracks();
  const CdTrack* track = &tracks.front();
  for (const CdTrack& t : tracks) {
    if (t.start <= lsn) track = &t;
  }
  return FormatTwoDigits(track->number) + ":" + FormatMsf(std::max(0, lsn - track->start));
}

// Lengths carry no track number and no lead-in, so tmsf writes them as msf does.
std::string CdioCdPlayer::FormatLength(int32_t sectors) const {
  return state_->format == TimeFormat::kMilliseconds ? Milliseconds(sectors) : FormatMsf(sectors);
}

bool CdioCdPlayer::ParsePosition(const std::string& text, int32_t& lsn) const {
  if (state_->format == TimeFormat::kMilliseconds) {
    auto ms = ParseCount(text);
    if (!ms) return false;
    lsn = static_cast<int32_t>(*ms * kCdSectorsPerSecond / 1000);
    return true;
  }
  const bool tmsf = state_->format == TimeFormat::kTmsf;
  auto fields = ParseFields(text, tmsf ? 4 : 3);
  if (!fields) return false;
  std::vector<int64_t> f = *fields;
  int32_t base = -kMsfOffset;
  if (tmsf) {
    const auto& tracks = state_->disc->tracks();
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

uint32_t CdioCdPlayer::Status(const std::vector<std::string>& items, std::string& reply) {
  CdState& cd = *state_;
  const std::string item = JoinWords(items);
  if (item == "media present") {
    reply = TocReady() ? "true" : "false";
    return 0;
  }
  if (item == "mode") {
    if (!TocReady()) {
      reply = "not ready";
      return 0;
    }
    std::lock_guard lock(cd.mutex);
    reply = cd.playing ? "playing" : "stopped";
    return 0;
  }
  if (!TocReady()) return kMciErrDeviceNotReady;
  const auto& tracks = cd.disc->tracks();
  if (item == "number of tracks") {
    reply = std::to_string(tracks.size());
    return 0;
  }
  int32_t position;
  {
    std::lock_guard lock(cd.mutex);
    position = cd.position;
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
    reply = FormatPosition(position);
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
      reply = FormatPosition(it->start);
    } else {
      const int32_t end = it + 1 == tracks.end() ? cd.disc->leadout() : (it + 1)->start;
      reply = FormatLength(end - it->start);
    }
    return 0;
  }
  if (item == "length") {
    reply = FormatLength(cd.disc->leadout() - tracks.front().start);
    return 0;
  }
  return kMciErrUnrecognizedKeyword;
}

uint32_t CdioCdPlayer::Play(const std::string& from, const std::string& to) {
  if (!TocReady()) return kMciErrDeviceNotReady;
  CdState& cd = *state_;
  const int32_t first = cd.disc->tracks().front().start;
  const int32_t leadout = cd.disc->leadout();
  int32_t start, end = leadout;
  {
    std::lock_guard lock(cd.mutex);
    start = cd.position;
  }
  if (!from.empty() && !ParsePosition(from, start)) return kMciErrOutOfRange;
  if (!to.empty() && !ParsePosition(to, end)) return kMciErrOutOfRange;
  if (start < first || start >= leadout || end > leadout || end <= start) {
    return kMciErrOutOfRange;
  }
  if (!output_ready_()) return kMciErrHardware;
  if (!cd.mixing) {
    Mix_SetPostMix(&CdioCdPlayer::MixCd, &cd);
    cd.mixing = true;
  }
  std::lock_guard lock(cd.mutex);
  cd.position = start;
  cd.end = end;
  cd.playing = true;
  ++cd.generation;
  return 0;
}

// Runs on the mixer's thread after the music and sounds are mixed: adds the CD's samples.
void CdioCdPlayer::MixCd(void* state, uint8_t* stream, int length) {
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
