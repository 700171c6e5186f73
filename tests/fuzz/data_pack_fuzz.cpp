// TextureFiles' pack check and extraction, with the Linux build's image decoder. A real pack is
// too big to mutate, so the input gives what differs from one of zero bytes: byte 0 the kFlag*
// below, bytes 1-2 the atlas asked for, 3-4 the length L of the first blob (little-endian), then
// L bytes at the letters image's offset and the rest at the scenery image's.
// Seeds: two small 512 x 512 PNGs or TGAs each (some damaged), written once with Python's zlib.
#include <signal.h>
#include <stb_image.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_window_system.h"
#include "fuzz/fuzz_support.h"
#include "platform/common/texture_image.h"
#include "ports/device.h"
#include "saver/texture_files.h"
#include "settings/settings.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using fuzz::Require;

constexpr uint8_t kFlagNoRunFolder = 1 << 0;
constexpr uint8_t kFlagDiskFullAtOnce = 1 << 1;
constexpr uint8_t kFlagPackOneByteShort = 1 << 2;
constexpr uint8_t kFlagNoPack = 1 << 3;
constexpr uint8_t kFlagDiskFullAfterLetters = 1 << 4;
constexpr uint8_t kFlagExtractTwice = 1 << 5;
constexpr uint8_t kFlagOnlyDestructor = 1 << 6;
constexpr uint8_t kFlagTrailingBytes = 1 << 7;
constexpr size_t kHeaderLength = 5;

// The Linux services less the locks and reclaiming, which would only slow each run down.
class Services final : public TextureFileServices {
 public:
  explicit Services(uint8_t flags) : flags_(flags) {}
  ~Services() override { LiftDiskLimit(); }

  // The disk fills up only once the run folder is there, so that nothing but the images'
  // writes meets it (not the decoder, nor libFuzzer saving a crash).
  std::string MakeRunFolder() override {
    std::string pattern = (fuzz::ScratchFolder() / "vexlum-XXXXXX").string();
    if ((flags_ & kFlagNoRunFolder) || mkdtemp(pattern.data()) == nullptr) return {};
    if (flags_ & (kFlagDiskFullAtOnce | kFlagDiskFullAfterLetters)) {
      signal(SIGXFSZ, SIG_IGN);  // a write past the limit must fail, not kill the process
      getrlimit(RLIMIT_FSIZE, &saved_);
      rlimit lowered = saved_;
      lowered.rlim_cur = (flags_ & kFlagDiskFullAtOnce) ? 0 : kLettersImageLength;
      limited_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    return pattern;
  }
  void LiftDiskLimit() {
    if (limited_) setrlimit(RLIMIT_FSIZE, &saved_);
    limited_ = false;
  }

  void ReleaseRunFolder(const std::string& folder) override { rmdir(folder.c_str()); }
  void ReclaimAbandonedRunFolders() override {}

  bool WritePng(const RgbaImage&, const std::string&) override { return false; }
  bool ImageDecodes(std::string_view bytes, int width, int height) override {
    int w = 0, h = 0, channels = 0;
    const auto* image = reinterpret_cast<const stbi_uc*>(bytes.data());
    try {
      return stbi_info_from_memory(image, static_cast<int>(bytes.size()), &w, &h, &channels) &&
             w == width && h == height &&
             !DecodeImage(std::vector<uint8_t>(bytes.begin(), bytes.end()), "pack image")
                  .pixels.empty();
    } catch (const DeviceError&) {
      return false;
    }
  }

 private:
  uint8_t flags_;
  rlimit saved_{};
  bool limited_ = false;
};

// Into one buffer kept across runs: under the sanitizers every fresh megabyte costs page
// faults, and a byte-wise copy of a whole pack more than the run itself.
std::string_view ReadFile(const fs::path& path) {
  static std::string buffer;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  buffer.resize(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  return buffer;
}

// Every path below `root`, with a hash of each file's bytes: enough to see any change.
std::map<std::string, size_t> Snapshot(const fs::path& root) {
  std::map<std::string, size_t> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    entries[entry.path().string()] =
        entry.is_regular_file() ? std::hash<std::string_view>()(ReadFile(entry.path())) : 0;
  }
  return entries;
}

void WritePack(const fs::path& path, const uint8_t* data, size_t size) {
  static std::string pack;
  pack.assign(kDataPackLength, '\0');
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t first_length = std::min<size_t>(data[3] | data[4] << 8, size - kHeaderLength);
  input.substr(kHeaderLength, first_length).copy(&pack[kLettersImageOffset], kLettersImageLength);
  input.substr(kHeaderLength + first_length).copy(&pack[kSceneryImageOffset], kSceneryImageLength);
  if (data[0] & kFlagPackOneByteShort) pack.pop_back();
  if (data[0] & kFlagTrailingBytes) pack += "bytes past the end are never read";
  std::ofstream(path, std::ios::binary)
      .write(pack.data(), static_cast<std::streamsize>(pack.size()));
}

void Run(const uint8_t* data, size_t size) {
  const uint8_t flags = data[0];
  const fs::path root = fuzz::ScratchFolder(), program = root / "program";
  fs::remove_all(program);
  fs::create_directory(program);
  if (!(flags & kFlagNoPack)) WritePack(program / std::string(kDataPackName), data, size);
  const auto before = Snapshot(root);
  {
    test::FakeWindowSystem windows;
    Services services(flags);
    TextureFiles files(program.string(), windows, services);
    for (int run = (flags & kFlagExtractTwice) ? 2 : 1; run > 0; --run) {
      const bool extracted = files.ExtractTextures();
      services.LiftDiskLimit();
      files.ImagePath(static_cast<AtlasKind>(data[1] | data[2] << 8));
      Require(extracted || Snapshot(root) == before, "a failure leaves nothing on disk");
    }
    if (!(flags & kFlagOnlyDestructor)) {
      files.DeleteTextureFiles();
      Require(Snapshot(root) == before, "DeleteTextureFiles removes all the run made");
    }
  }
  Require(Snapshot(root) == before, "once the object is gone nothing of the run remains");
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < vx::kHeaderLength) return -1;  // keeps such inputs out of the corpus
  vx::Run(data, size);
  return 0;
}
