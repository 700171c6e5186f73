// Feeds arbitrary bytes to the settings-file reader and writer as a file's content.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "startup/ini_profile_strings.h"
#include "startup/settings.h"

namespace {

// One scratch file for the whole run, in the temporary folder, removed at exit.
struct ScratchFile {
  ScratchFile()
      : path((std::filesystem::temp_directory_path() /
              ("vexlum-fuzz-" + std::to_string(getpid()) + ".ini"))
                 .string()) {}
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  const std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile scratch;
  const std::string& file = scratch.path;
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  vx::IniProfileStrings profile;
  vx::Settings settings;
  vx::LoadSettings(settings, profile, file, vx::ScreenMetrics{});
  if (settings.glyph_height < 1 || settings.glyph_width < 1 || settings.column_limit < 1 ||
      settings.time_step == 0)
    __builtin_trap();
  // Whatever the file held, a write keeps it readable and the value reads back.
  vx::WriteIni(profile, "Section", "BGMﾘﾋﾟｰﾄ", "3", file);
  if (vx::ReadIni(profile, "Section", "BGMﾘﾋﾟｰﾄ", file) != "3") __builtin_trap();
  return 0;
}
