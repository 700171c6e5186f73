// vexlum_assets: draws the atlases and pictures and writes them, with the data pack, into
// the folder named on the command line. The same bytes on every run.
#include <stb_image_write.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "canvas.h"

namespace vxtools {
namespace {

constexpr size_t kLettersPngLength = 227334;
constexpr size_t kSceneryPngLength = 664482;

void Collect(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> EncodePng(const Canvas& c, int channels) {
  stbi_write_png_compression_level = 9;
  const std::vector<uint8_t> pixels = c.Bytes(channels);
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(Collect, &png, c.Width(), c.Height(), channels, pixels.data(),
                              c.Width() * channels))
    throw std::runtime_error("PNG encoding failed");
  return png;
}

std::vector<uint8_t> EncodeJpeg(const Canvas& c) {
  const std::vector<uint8_t> pixels = c.Bytes(3);
  std::vector<uint8_t> jpg;
  if (!stbi_write_jpg_to_func(Collect, &jpg, c.Width(), c.Height(), 3, pixels.data(), 92))
    throw std::runtime_error("JPEG encoding failed");
  return jpg;
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A Windows icon (.ico) or, with a hot spot, cursor (.cur) file of 32-bit pictures: bottom-up
// BGRA with an AND mask taken from the alpha, the form every Windows reads.
std::vector<uint8_t> EncodeIconFile(const std::vector<Canvas>& pictures, int hot_x = -1,
                                    int hot_y = -1) {
  const bool cursor = hot_x >= 0;
  std::vector<std::vector<uint8_t>> images;
  for (const Canvas& c : pictures) {
    const int w = c.Width(), h = c.Height();
    const std::vector<uint8_t> rgba = c.Bytes(4);
    std::vector<uint8_t> image;
    PutLittleEndian(image, 40, 4);  // BITMAPINFOHEADER
    PutLittleEndian(image, static_cast<uint32_t>(w), 4);
    PutLittleEndian(image, static_cast<uint32_t>(2 * h), 4);  // the colours and the mask
    PutLittleEndian(image, 1, 2);
    PutLittleEndian(image, 32, 2);
    for (int i = 0; i < 6; ++i) PutLittleEndian(image, 0, 4);
    for (int y = h - 1; y >= 0; --y)
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
        image.insert(image.end(), {p[2], p[1], p[0], p[3]});
      }
    const int mask_row = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(static_cast<size_t>(mask_row), 0);
      for (int x = 0; x < w; ++x)
        if (rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0)
          row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      image.insert(image.end(), row.begin(), row.end());
    }
    images.push_back(std::move(image));
  }
  std::vector<uint8_t> file;
  PutLittleEndian(file, 0, 2);
  PutLittleEndian(file, cursor ? 2 : 1, 2);
  PutLittleEndian(file, static_cast<uint32_t>(pictures.size()), 2);
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    file.push_back(static_cast<uint8_t>(pictures[i].Width() % 256));
    file.push_back(static_cast<uint8_t>(pictures[i].Height() % 256));
    file.push_back(0);  // not a palette picture
    file.push_back(0);
    PutLittleEndian(file, cursor ? static_cast<uint32_t>(hot_x) : 1, 2);
    PutLittleEndian(file, cursor ? static_cast<uint32_t>(hot_y) : 32, 2);
    PutLittleEndian(file, static_cast<uint32_t>(images[i].size()), 4);
    PutLittleEndian(file, offset, 4);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Grows a PNG to exactly `length` bytes with a private ancillary chunk ("vxPd": ancillary,
// private, safe to copy) placed before IEND, so every decoder skips it.
std::vector<uint8_t> PadPng(const std::vector<uint8_t>& png, size_t length, const char* what) {
  constexpr size_t kIendLength = 12, kChunkOverhead = 12;
  if (png.size() + kChunkOverhead > length)
    throw std::runtime_error(std::string(what) + " is " + std::to_string(png.size()) +
                             " bytes; it must stay under " +
                             std::to_string(length - kChunkOverhead));
  const size_t data_length = length - png.size() - kChunkOverhead;
  std::vector<uint8_t> out(png.begin(), png.end() - kIendLength);
  PutBigEndian(out, static_cast<uint32_t>(data_length));
  const size_t type_at = out.size();
  for (char ch : std::string_view("vxPd")) out.push_back(static_cast<uint8_t>(ch));
  out.resize(out.size() + data_length, 0);
  PutBigEndian(out, Crc32(out.data() + type_at, 4 + data_length));
  out.insert(out.end(), png.end() - kIendLength, png.end());
  return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Run(int argc, char** argv) {
  std::string font = VEXLUM_ASSET_FONT;
  std::filesystem::path folder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc) {
      font = argv[++i];
    } else if (argv[i][0] == '-' || !folder.empty()) {
      std::cerr << "usage: vexlum_assets [--font FILE.ttf] OUTPUT_FOLDER\n";
      return 2;
    } else {
      folder = argv[i];
    }
  }
  if (folder.empty()) {
    std::cerr << "usage: vexlum_assets [--font FILE.ttf] OUTPUT_FOLDER\n";
    return 2;
  }
  std::filesystem::create_directories(folder);

  const Canvas letters = LettersAtlas(ReadFile(font));
  const Canvas scenery = SceneryAtlas();
  const auto letters_png = PadPng(EncodePng(letters, 4), kLettersPngLength, "the letters atlas");
  const auto scenery_png = PadPng(EncodePng(scenery, 4), kSceneryPngLength, "the scenery atlas");
  WriteFile(folder / "letters.png", letters_png);
  WriteFile(folder / "scenery.png", scenery_png);
  std::vector<uint8_t> pack = letters_png;
  pack.insert(pack.end(), scenery_png.begin(), scenery_png.end());
  WriteFile(folder / "Vexlum_Data.ppd", pack);

  WriteFile(folder / "preview.jpg", EncodeJpeg(PreviewPicture(letters)));
  for (const char* state :
       {"normal", "highlight", "highlight_select", "selected", "pressed", "disable"})
    WriteFile(folder / ("button_" + std::string(state) + ".png"),
              EncodePng(ButtonPicture(state), 3));
  WriteFile(folder / "radio_on.png", EncodePng(RadioMark(true), 4));
  WriteFile(folder / "radio_off.png", EncodePng(RadioMark(false), 4));
  WriteFile(folder / "ball.png", EncodePng(BallPicture(), 3));
  const Canvas icon = IconPicture(letters);
  WriteFile(folder / "icon.png", EncodePng(icon, 4));
  WriteFile(folder / "hand_cursor.png", EncodePng(HandCursor(), 4));
  // The same pictures for Windows: the program's icon at 16, 32 and 48 pixels, drawn from the
  // one picture, and the hand with its hot spot on the index finger's tip.
  WriteFile(folder / "vexlum.ico",
            EncodeIconFile({Resampled(icon, 16, 16), icon, Resampled(icon, 48, 48)}));
  WriteFile(folder / "hand.cur", EncodeIconFile({HandCursor()}, 12, 10));
  return 0;
}

}  // namespace
}  // namespace vxtools

int main(int argc, char** argv) {
  try {
    return vxtools::Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "vexlum_assets: " << e.what() << "\n";
    return 1;
  }
}
