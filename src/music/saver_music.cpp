#include "music/saver_music.h"

namespace vx {
namespace {

inline constexpr int16_t kSourceCd = 1;
inline constexpr int16_t kSourceFile = 2;

// True when `now` has reached `due` on a wrapping 32-bit clock.
bool Reached(uint32_t now, uint32_t due) {
  return static_cast<int32_t>(now - due) >= 0;
}

}  // namespace

MusicFileType FileTypeOf(std::string_view music_file) {
  if (music_file.size() < 3) return MusicFileType::kNone;
  std::string ending(music_file.substr(music_file.size() - 3));
  for (char& c : ending) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (ending == "WAV") return MusicFileType::kWav;
  if (ending == "MP3") return MusicFileType::kMp3;
  return MusicFileType::kNone;
}

void SaverMusic::Start(uint32_t now_ms) {
  if (settings_.MusicSource == kSourceCd) {
    player_.OpenCd();
    timer2_enabled_ = true;
    timer2_due_ = now_ms + kTimer2IntervalMs;
  }
  if (settings_.MusicSource == kSourceFile) {
    const MusicFileType type = FileTypeOf(settings_.MusicFile);
    if (type == MusicFileType::kWav) player_.PlayWav();
    if (type == MusicFileType::kMp3) {
      player_.PlayMp3();
      timer1_enabled_ = true;
      timer1_due_ = now_ms + kTimer1IntervalMs;
    }
  }
}

void SaverMusic::Pump(uint32_t now_ms) {
  if (timer1_enabled_ && Reached(now_ms, timer1_due_)) {
    timer1_due_ = now_ms + kTimer1IntervalMs;
    Timer1();
  }
  if (timer2_enabled_ && Reached(now_ms, timer2_due_)) {
    timer2_due_ = now_ms + kTimer2IntervalMs;
    Timer2();
  }
}

void SaverMusic::Timer1() {
  if (stopped_) return;
  player_.PollMp3();
}

void SaverMusic::Timer2() {
  if (stopped_) return;
  player_.PollCd();
  timer2_enabled_ = player_.CdPolling;
}

bool SaverMusic::HandleKey(int16_t key_code) {
  if (settings_.MusicSource != kSourceCd || stopped_) return false;
  if (key_code == kKeyLeft) {
    player_.PreviousTrack();
    return true;
  }
  if (key_code == kKeyRight) {
    player_.NextTrack();
    return true;
  }
  return false;
}

void SaverMusic::Stop() {
  if (stopped_) return;
  stopped_ = true;
  if (timer2_enabled_) {
    timer2_enabled_ = false;
    player_.CloseCd();
  }
  timer1_enabled_ = false;
  if (settings_.MusicSource == kSourceFile) {
    const MusicFileType type = FileTypeOf(settings_.MusicFile);
    if (type == MusicFileType::kWav) player_.StopWav();
    if (type == MusicFileType::kMp3) player_.StopMp3();
  }
}

}  // namespace vx
