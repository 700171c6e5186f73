#include "platform/windows/winmm_multimedia.h"

#include <windows.h>
// windows.h first: mmsystem.h relies on its types.
#include <mmsystem.h>
// The port's member functions share these names with the API's text macros.
#undef PlaySound

#include <string>

#include "platform/windows/win32_wide_text.h"

namespace vx {
namespace {

// Cut to `length` - 1 bytes, as a C buffer of `length` bytes would hold it.
std::string CutTo(std::string text, uint32_t length) {
  if (text.size() > length - 1) text.resize(length - 1);
  return text;
}

}  // namespace

uint32_t WinmmMultimedia::SendString(std::string_view command, std::string* reply,
                                     uint32_t reply_length) {
  wchar_t buffer[512] = {};
  const bool wants_reply = reply != nullptr && reply_length > 0;
  const MCIERROR code = mciSendStringW(Widen(command).c_str(), wants_reply ? buffer : nullptr,
                                       wants_reply ? 512 : 0, nullptr);
  if (wants_reply) *reply = code == 0 ? CutTo(Narrow(buffer), reply_length) : std::string();
  return static_cast<uint32_t>(code);
}

bool WinmmMultimedia::GetErrorString(uint32_t code, std::string& text, uint32_t length) {
  if (length == 0) return false;
  wchar_t buffer[256] = {};
  if (!mciGetErrorStringW(code, buffer, 256)) return false;
  text = CutTo(Narrow(buffer), length);
  return true;
}

bool WinmmMultimedia::PlaySound(const std::string* name, uint32_t flags) {
  if (!name) return PlaySoundW(nullptr, nullptr, 0) != FALSE;
  // Only asynchronous play: a synchronous one would stop the frames until the sound ended.
  const DWORD mode = SND_FILENAME | SND_NODEFAULT | SND_ASYNC | (flags & kSndLoop ? SND_LOOP : 0);
  return PlaySoundW(Widen(*name).c_str(), nullptr, mode) != FALSE;
}

uint32_t WinmmMultimedia::WaveOutGetNumDevs() {
  return waveOutGetNumDevs();
}

}  // namespace vx
