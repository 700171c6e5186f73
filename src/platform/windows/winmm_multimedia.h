// Multimedia on Windows: the command strings, error texts, sound player and output count of
// winmm itself. Commands go through the wide functions with the same text, so a music file
// whose name the system code page cannot spell still opens.
#pragma once

#include "ports/multimedia.h"

namespace vx {

class WinmmMultimedia final : public Multimedia {
 public:
  uint32_t SendString(std::string_view command, std::string* reply, uint32_t reply_length) override;
  bool GetErrorString(uint32_t code, std::string& text, uint32_t length) override;
  bool PlaySound(const std::string* name, uint32_t flags) override;
  uint32_t WaveOutGetNumDevs() override;
};

}  // namespace vx
