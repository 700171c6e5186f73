// An audio CD read through libcdio: a drive, or a disc image (.cue/.bin, .toc, .nrg).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vx {

inline constexpr int32_t kCdSectorBytes = 2352;  // 588 stereo frames of 16-bit samples
inline constexpr int32_t kCdSectorsPerSecond = 75;

struct CdTrack {
  int number = 0;
  int32_t start = 0;  // first sector (LSN)
  bool audio = true;
};

class CdioCdDisc {
 public:
  // Opens `source` (an image by its extension, otherwise a drive), or the default drive when
  // empty. Null when there is no such drive or image.
  static std::unique_ptr<CdioCdDisc> Open(const std::string& source);
  ~CdioCdDisc();
  CdioCdDisc(const CdioCdDisc&) = delete;
  CdioCdDisc& operator=(const CdioCdDisc&) = delete;

  // Reads the table of contents; false when there is no readable disc.
  bool ReadToc();
  const std::vector<CdTrack>& tracks() const { return tracks_; }
  int32_t leadout() const { return leadout_; }

  // Reads `count` raw audio sectors from `lsn` into `out` (count * 2352 bytes). Thread-safe
  // against itself only; the caller serialises it with Open/ReadToc/destruction.
  bool ReadAudio(int32_t lsn, int32_t count, uint8_t* out);

 private:
  explicit CdioCdDisc(void* cdio) : cdio_(cdio) {}
  void* cdio_;
  std::vector<CdTrack> tracks_;
  int32_t leadout_ = 0;
};

}  // namespace vx
