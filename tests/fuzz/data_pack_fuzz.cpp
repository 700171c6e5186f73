// Runs the data-pack check and image extraction on packs built from the input, with the
// image decoder the Linux build really uses, inside a private scratch folder.
//
// A real pack is 891,816 bytes, far beyond what a fuzzer mutates well, so the input only
// says what differs from a pack of zero bytes:
//   byte 0      flags (kFlag* below): no run folder, a disk that fills up, a short, missing
//               or long pack, a second extraction, and whether the destructor alone cleans up
//   bytes 1-2   the atlas value ImagePath is asked for (16 bits, little-endian)
//   bytes 3-4   L, the length of the first blob (little-endian; cut to what is left)
//   L bytes     the first blob, written at the letters image's offset
//   the rest    the second blob, written at the scenery image's offset
// Each blob is cut to its image's length. Decoders stop at their format's end marker, so a
// small image followed by zeros decodes as it would alone; the seeds (written by
// make_data_pack_corpus.py) carry two small images, and the fuzzer mutates from there.
//
// After DeleteTextureFiles, and again after the object is gone, the scratch folder must hold
// exactly what it held before the run; the program folder, pack included, is never changed.
#include <signal.h>
#include <stb_image.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "fakes/fake_window_system.h"
#include "platform/linux/texture_image.h"
#include "ports/device.h"
#include "ports/texture_file_services.h"
#include "saver/texture_files.h"
#include "startup/settings.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr uint8_t kFlagNoRunFolder = 1 << 0;
constexpr uint8_t kFlagDiskFullAtOnce = 1 << 1;
constexpr uint8_t kFlagPackOneByteShort = 1 << 2;
constexpr uint8_t kFlagNoPack = 1 << 3;
constexpr uint8_t kFlagDiskFullAfterLetters = 1 << 4;
constexpr uint8_t kFlagExtractTwice = 1 << 5;
constexpr uint8_t kFlagOnlyDestructor = 1 << 6;
constexpr uint8_t kFlagTrailingBytes = 1 << 7;
constexpr size_t kHeaderLength = 5;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// A disk that fills up: files may grow to `limit` bytes while it is in force. SIGXFSZ is
// ignored so that a write past it fails instead of killing the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::optional<rlim_t> limit) : active_(limit.has_value()) {
    if (!active_) return;
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = *limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  bool active_;
  rlimit saved_{};
};

// The platform's services cut to what this target needs: run folders are plain mkdtemp
// folders under a scratch base (no locks, nothing to reclaim), and the image check is the
// Linux one: the size from the header, then the whole decode.
class DecodingServices final : public TextureFileServices {
 public:
  DecodingServices(fs::path base, bool can_make_folder, std::optional<rlim_t> disk_room)
      : base_(std::move(base)), can_make_folder_(can_make_folder), disk_room_(disk_room) {}

  // The disk fills up only once the run folder is there, so that nothing but the images'
  // writes meets it (not the decoder, nor the fuzzer saving a crash).
  std::string MakeRunFolder() override {
    if (!can_make_folder_) return {};
    std::string pattern = (base_ / "vexlum-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    made.push_back(pattern);
    disk_limit_ = std::make_unique<FileSizeLimit>(disk_room_);
    return pattern;
  }
  void LiftDiskLimit() { disk_limit_.reset(); }

  void ReleaseRunFolder(const std::string& folder) override {
    std::error_code ec;
    fs::remove(folder, ec);  // only when empty, as the platform does
  }

  void ReclaimAbandonedRunFolders() override {}

  bool ImageDecodes(std::string_view bytes, int width, int height) override {
    const std::vector<uint8_t> image(bytes.begin(), bytes.end());
    int w = 0, h = 0, channels = 0;
    if (image.empty() ||
        !stbi_info_from_memory(image.data(), static_cast<int>(image.size()), &w, &h, &channels) ||
        w != width || h != height)
      return false;
    try {
      const RgbaImage decoded = DecodeImage(image, "pack image");
      Require(decoded.width == width && decoded.height == height &&
                  decoded.pixels.size() == static_cast<size_t>(width) * height * 4,
              "the decoded picture has the size its header gave");
      return true;
    } catch (const DeviceError&) {
      return false;
    }
  }

  std::vector<std::string> made;

 private:
  fs::path base_;
  bool can_make_folder_;
  std::optional<rlim_t> disk_room_;
  std::unique_ptr<FileSizeLimit> disk_limit_;
};

// Into one buffer kept across runs: under the sanitizers every fresh megabyte costs page
// faults, and a byte-wise copy of a whole pack more than the run itself.
std::string_view ReadFile(const fs::path& path) {
  static std::string buffer;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  buffer.resize(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  buffer.resize(static_cast<size_t>(in.gcount()));
  return buffer;
}

// What lies below `root`: each entry's path with, for files, their length and a hash of their
// bytes; enough to see any change.
using Listing = std::map<std::string, std::pair<int64_t, size_t>>;
Listing Snapshot(const fs::path& root) {
  Listing entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      const std::string_view bytes = ReadFile(entry.path());
      entries[entry.path().string()] = {static_cast<int64_t>(bytes.size()),
                                        std::hash<std::string_view>()(bytes)};
    } else {
      entries[entry.path().string()] = {-1, 0};
    }
  }
  return entries;
}

// One scratch folder per process under $TMPDIR, emptied before each input. Held on the heap
// so that it outlives the static destructors and can still be removed at exit.
const fs::path& ScratchRoot() {
  static const fs::path* const root = [] {
    std::string pattern = (fs::temp_directory_path() / "vexlum-data-pack-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    return new fs::path(pattern);
  }();
  static const int removed_at_exit = std::atexit([] {
    std::error_code ec;
    fs::remove_all(*root, ec);
  });
  static_cast<void>(removed_at_exit);
  return *root;
}

uint16_t ReadLittle16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

const std::string& BuildPack(const uint8_t* data, size_t size, uint8_t flags) {
  static std::string pack;
  pack.assign(kDataPackLength, '\0');
  const size_t first_length = std::min<size_t>(ReadLittle16(data + 3), size - kHeaderLength);
  const std::string_view first(reinterpret_cast<const char*>(data + kHeaderLength), first_length);
  const std::string_view second(reinterpret_cast<const char*>(data + kHeaderLength + first_length),
                                size - kHeaderLength - first_length);
  pack.replace(kLettersImageOffset, std::min<size_t>(first.size(), kLettersImageLength),
               first.substr(0, kLettersImageLength));
  pack.replace(kSceneryImageOffset, std::min<size_t>(second.size(), kSceneryImageLength),
               second.substr(0, kSceneryImageLength));
  if (flags & kFlagPackOneByteShort) pack.pop_back();
  if (flags & kFlagTrailingBytes) pack += "bytes past the end are never read";
  return pack;
}

std::optional<rlim_t> DiskRoom(uint8_t flags) {
  if (flags & kFlagDiskFullAtOnce) return 0;
  if (flags & kFlagDiskFullAfterLetters) return kLettersImageLength;
  return std::nullopt;
}

size_t MessageCount(const test::FakeWindowSystem& windows) {
  size_t count = 0;
  for (const std::string& call : windows.calls) count += call.starts_with("MessageBox ");
  return count;
}

void CheckExtracted(const TextureFiles& files, const DecodingServices& services,
                    const std::string& pack, int16_t atlas) {
  const std::string& folder = files.ImageFolder();
  Require(!services.made.empty() && folder == services.made.back(),
          "the images are in the folder made for this run");
  const std::string_view bytes(pack);
  Require(ReadFile(files.ImagePath(AtlasKind::kLetters)) ==
              bytes.substr(kLettersImageOffset, kLettersImageLength),
          "the letters image holds exactly its range of the pack");
  Require(ReadFile(files.ImagePath(AtlasKind::kScenery)) ==
              bytes.substr(kSceneryImageOffset, kSceneryImageLength),
          "the scenery image holds exactly its range of the pack");
  const std::string path = files.ImagePath(static_cast<AtlasKind>(atlas));
  Require(path == files.ImagePath(atlas == 0 ? AtlasKind::kScenery : AtlasKind::kLetters),
          "0 shows scenery, every other value letters");
  Require(fs::path(path).parent_path() == fs::path(folder), "the path is in the image folder");
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  using vx::Require;
  if (size < vx::kHeaderLength) return -1;  // keeps such inputs out of the corpus
  const uint8_t flags = data[0];
  const int16_t atlas = static_cast<int16_t>(vx::ReadLittle16(data + 1));

  const fs::path& root = vx::ScratchRoot();
  const fs::path program = root / "program";
  const fs::path runs = root / "runs";
  for (const fs::path& folder : {program, runs}) {
    fs::remove_all(folder);
    fs::create_directory(folder);
  }
  const fs::path pack_path = program / std::string(vx::kDataPackName);
  const std::string& pack = vx::BuildPack(data, size, flags);
  if (!(flags & vx::kFlagNoPack)) {
    std::ofstream(pack_path, std::ios::binary)
        .write(pack.data(), static_cast<std::streamsize>(pack.size()));
  }
  const vx::Listing before = vx::Snapshot(root);
  const vx::Listing program_before = vx::Snapshot(program);

  vx::test::FakeWindowSystem windows;
  vx::DecodingServices services(runs, !(flags & vx::kFlagNoRunFolder), vx::DiskRoom(flags));
  {
    vx::TextureFiles files(program.string(), windows, services);
    Require(files.PackPath() == pack_path.string(), "the pack lies in the program folder");
    const int extractions = (flags & vx::kFlagExtractTwice) ? 2 : 1;
    for (int run = 0; run < extractions; ++run) {
      const size_t messages = vx::MessageCount(windows);
      const bool extracted = files.ExtractTextures();
      services.LiftDiskLimit();
      if (extracted) {
        Require(vx::MessageCount(windows) == messages, "success is silent");
        vx::CheckExtracted(files, services, pack, atlas);
      } else {
        Require(vx::MessageCount(windows) == messages + 1, "a failure is told once");
        Require(files.ImageFolder().empty(), "a failure leaves no image folder");
        Require(vx::Snapshot(root) == before, "a failure leaves nothing on disk");
      }
      Require(vx::Snapshot(program) == program_before, "the program folder is never changed");
    }
    if (!(flags & vx::kFlagOnlyDestructor)) {
      files.DeleteTextureFiles();
      Require(vx::Snapshot(root) == before, "DeleteTextureFiles removes all the run made");
    }
  }
  Require(vx::Snapshot(root) == before, "after the object is gone nothing of the run remains");
  return 0;
}
