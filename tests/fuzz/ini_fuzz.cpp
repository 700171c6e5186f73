// The settings-file reader and writer on a file holding the input.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/ini_profile_strings.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vx::fuzz::Require;
  static const std::string file = (vx::fuzz::ScratchFolder() / "settings.ini").string();
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  vx::IniProfileStrings profile;
  vx::Settings settings;
  vx::LoadSettings(settings, profile, file, vx::ScreenMetrics{});
  // Whatever the file held, the scene needs positive sizes and clocks that move.
  Require(settings.glyph_height >= 1 && settings.glyph_width >= 1 && settings.column_limit >= 1 &&
              settings.time_step != 0,
          "loaded settings are usable");
  vx::WriteIni(profile, "Section", "BGMﾘﾋﾟｰﾄ", "3", file);
  Require(vx::ReadIni(profile, "Section", "BGMﾘﾋﾟｰﾄ", file) == "3", "a written value reads back");
  return 0;
}
