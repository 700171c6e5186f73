#include "platform/linux/cdio_cd_disc.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cctype>

namespace vx {
namespace {

driver_id_t DriverFor(const std::string& source) {
  std::string lower = source;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto ends = [&](const char* ext) {
    const std::string e(ext);
    return lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".cue") || ends(".bin")) return DRIVER_BINCUE;
  if (ends(".toc")) return DRIVER_CDRDAO;
  if (ends(".nrg")) return DRIVER_NRG;
  return DRIVER_DEVICE;
}

CdIo_t* Handle(void* p) {
  return static_cast<CdIo_t*>(p);
}

}  // namespace

std::unique_ptr<CdioCdDisc> CdioCdDisc::Open(const std::string& source) {
  // libcdio prints its own complaints to stderr; the saver runs silently.
  cdio_loglevel_default = CDIO_LOG_ERROR;
  CdIo_t* cdio = nullptr;
  if (source.empty()) {
    char* drive = cdio_get_default_device(nullptr);
    if (drive == nullptr) return nullptr;
    cdio = cdio_open(drive, DRIVER_DEVICE);
    cdio_free(drive);
  } else {
    cdio = cdio_open(source.c_str(), DriverFor(source));
  }
  if (cdio == nullptr) return nullptr;
  return std::unique_ptr<CdioCdDisc>(new CdioCdDisc(cdio));
}

CdioCdDisc::~CdioCdDisc() {
  cdio_destroy(Handle(cdio_));
}

bool CdioCdDisc::ReadToc() {
  tracks_.clear();
  CdIo_t* cdio = Handle(cdio_);
  const track_t first = cdio_get_first_track_num(cdio);
  const track_t count = cdio_get_num_tracks(cdio);
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return false;
  for (track_t t = first; t < first + count; ++t) {
    const lsn_t start = cdio_get_track_lsn(cdio, t);
    if (start == CDIO_INVALID_LSN) {
      tracks_.clear();
      return false;
    }
    tracks_.push_back({t, start, cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO});
  }
  const lsn_t leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
  if (leadout == CDIO_INVALID_LSN || leadout <= tracks_.back().start) {
    tracks_.clear();
    return false;
  }
  leadout_ = leadout;
  return true;
}

bool CdioCdDisc::ReadAudio(int32_t lsn, int32_t count, uint8_t* out) {
  return cdio_read_audio_sectors(Handle(cdio_), out, lsn, static_cast<uint32_t>(count)) ==
         DRIVER_OP_SUCCESS;
}

}  // namespace vx
