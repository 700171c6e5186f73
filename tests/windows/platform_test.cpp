// The Windows layer against the real system (Wine here): the Direct3D 8 device's texture
// upload and back-buffer reading, and the run folders' locking and reclaiming.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "core/utf8_path.h"
#include "fakes/temp_dir.h"
#include "platform/common/texture_image.h"
#include "platform/windows/d3d8_device.h"
#include "platform/windows/windows_texture_file_services.h"
#include "render/vertices.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

HWND MakeWindow(int width, int height) {
  WNDCLASSW c{};
  c.lpfnWndProc = DefWindowProcW;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = L"VexlumDeviceTest";
  RegisterClassW(&c);
  return CreateWindowExW(0, L"VexlumDeviceTest", L"device test", WS_POPUP | WS_VISIBLE, 0, 0, width,
                         height, nullptr, nullptr, c.hInstance, nullptr);
}

const uint8_t* Pixel(const RgbaImage& image, int x, int y) {
  return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
}

// A picture whose halves differ in every channel: red on the left, blue on the right, with a
// green stripe on top, so a swapped channel, a mirrored or upside-down upload all show.
RgbaImage TestPicture(int side) {
  RgbaImage image;
  image.width = image.height = side;
  image.pixels.resize(static_cast<size_t>(side) * side * 4);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * side + x) * 4];
      p[0] = x < side / 2 ? 255 : 0;
      p[1] = y < side / 8 ? 255 : 0;
      p[2] = x < side / 2 ? 0 : 255;
      p[3] = 255;
    }
  return image;
}

TEST(D3D8Device, ATexturedQuadComesBackAsItWasDrawn) {
  HWND window = MakeWindow(64, 64);
  ASSERT_NE(window, nullptr);
  D3D8DeviceOptions options;
  options.width = options.height = 64;
  options.windowed = true;
  options.readable = true;
  D3D8Device device(window, options);
  test::TempDir dir;
  const std::string file = Utf8String(dir.path() / "picture.png");
  // Drawn from a 256 x 256 file: the loader sizes it to 512 x 512, as the saver asks.
  ASSERT_TRUE(WritePngFile(TestPicture(256), file));
  TextureRef texture = device.CreateTextureFromFileEx(file, TextureLoadOptions{});

  device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  device.BeginScene();
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetTexture(0, texture.get());
  device.SetVertexShader(kFvfScreenVertex);
  const int32_t white = -1;
  const ScreenVertex quad[4] = {MakeScreenVertex(0, 0, 0.5f, 1, white, 0, 0, 0),
                                MakeScreenVertex(64, 0, 0.5f, 1, white, 0, 1, 0),
                                MakeScreenVertex(0, 64, 0.5f, 1, white, 0, 0, 1),
                                MakeScreenVertex(64, 64, 0.5f, 1, white, 0, 1, 1)};
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
  device.EndScene();
  device.Present();
  EXPECT_EQ(device.DrawCallsLastFrame(), 1u);

  const RgbaImage shot = device.ReadBackBuffer();
  ASSERT_EQ(shot.width, 64);
  ASSERT_EQ(shot.height, 64);
  auto expect = [&](int x, int y, int r, int g, int b) {
    const uint8_t* p = Pixel(shot, x, y);
    EXPECT_NEAR(p[0], r, 8) << x << "," << y;
    EXPECT_NEAR(p[1], g, 8) << x << "," << y;
    EXPECT_NEAR(p[2], b, 8) << x << "," << y;
  };
  expect(10, 40, 255, 0, 0);   // left half: red
  expect(54, 40, 0, 0, 255);   // right half: blue
  expect(10, 2, 255, 255, 0);  // the top stripe adds green
  DestroyWindow(window);
}

// Overlapping half-transparent quads of two formats, strips and lists, with a texture change
// between them: joined into few calls, they must blend exactly as drawn one by one.
RgbaImage DrawOverlaps(bool batching, uint32_t& draw_calls) {
  HWND window = MakeWindow(64, 64);
  D3D8DeviceOptions options;
  options.width = options.height = 64;
  options.windowed = true;
  options.readable = true;
  options.batching = batching;
  D3D8Device device(window, options);
  test::TempDir dir;
  const std::string file = Utf8String(dir.path() / "picture.png");
  WritePngFile(TestPicture(512), file);
  TextureRef first = device.CreateTextureFromFileEx(file, TextureLoadOptions{});
  TextureRef same = device.CreateTextureFromFileEx(file, TextureLoadOptions{});
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, -1);
  device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  device.BeginScene();
  device.SetVertexShader(kFvfScreenVertex);
  for (int i = 0; i < 6; ++i) {
    // Slots holding the same picture share one texture, so switching keeps the batch.
    device.SetTexture(0, (i % 2 ? same : first).get());
    const float x = static_cast<float>(i * 6), y = static_cast<float>(i * 5);
    const int32_t colour =
        static_cast<int32_t>(0x80FFFFFFu - static_cast<uint32_t>(i) * 0x10203000u);
    const ScreenVertex strip[4] = {MakeScreenVertex(x, y, 0.5f, 1, colour, 0, 0, 0),
                                   MakeScreenVertex(x + 30, y, 0.5f, 1, colour, 0, 1, 0),
                                   MakeScreenVertex(x, y + 30, 0.5f, 1, colour, 0, 0, 1),
                                   MakeScreenVertex(x + 30, y + 30, 0.5f, 1, colour, 0, 1, 1)};
    if (i == 3) {
      const ScreenVertex list[6] = {strip[0], strip[1], strip[2], strip[1], strip[3], strip[2]};
      device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, list, sizeof(ScreenVertex));
    } else {
      device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(ScreenVertex));
    }
  }
  device.SetTexture(0, nullptr);  // a real change of texture ends the batch
  const ScreenVertex last[4] = {MakeScreenVertex(20, 20, 0.5f, 1, 0x80FF0000, 0, 0, 0),
                                MakeScreenVertex(60, 20, 0.5f, 1, 0x80FF0000, 0, 1, 0),
                                MakeScreenVertex(20, 60, 0.5f, 1, 0x80FF0000, 0, 0, 1),
                                MakeScreenVertex(60, 60, 0.5f, 1, 0x80FF0000, 0, 1, 1)};
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, last, sizeof(ScreenVertex));
  device.EndScene();
  device.Present();
  draw_calls = device.DrawCallsLastFrame();
  RgbaImage shot = device.ReadBackBuffer();
  DestroyWindow(window);
  return shot;
}

TEST(D3D8Device, JoinedDrawsBlendAsDrawsOneByOne) {
  uint32_t joined_calls = 0, single_calls = 0;
  const RgbaImage joined = DrawOverlaps(true, joined_calls);
  const RgbaImage single = DrawOverlaps(false, single_calls);
  EXPECT_EQ(joined_calls, 2u);
  EXPECT_EQ(single_calls, 7u);
  EXPECT_TRUE(joined.pixels == single.pixels);
}

TEST(D3D8Device, ClearColourReadsBackInEveryChannel) {
  HWND window = MakeWindow(32, 32);
  D3D8DeviceOptions options;
  options.width = options.height = 32;
  options.windowed = true;
  options.readable = true;
  D3D8Device device(window, options);
  device.Clear(D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0);
  device.Present();
  const RgbaImage shot = device.ReadBackBuffer();
  const uint8_t* p = Pixel(shot, 5, 5);
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x66);
  EXPECT_EQ(p[2], 0x99);
  EXPECT_EQ(p[3], 0xFF);
  DestroyWindow(window);
}

TEST(WindowsTextureFileServices, LiveRunsKeepTheirFoldersAndDeadRunsLoseThem) {
  test::TempDir dir;
  const std::string base = Utf8String(dir.path());
  WindowsTextureFileServices first(base), second(base);
  const std::string live = first.MakeRunFolder();
  ASSERT_FALSE(live.empty());
  std::ofstream(Utf8Path(live) / Utf8Path(kLettersImageName)) << "image";
  // A run that was killed: its lock file is there but nobody holds it open.
  const fs::path dead = dir.path() / "vexlum-dead00";
  fs::create_directory(dead);
  std::ofstream(dead / "run.lock") << "";
  std::ofstream(dead / Utf8Path(kSceneryImageName)) << "image";
  // Someone's own folder of a similar name, and a run still setting up (no lock yet).
  const fs::path foreign = dir.path() / "vexlum-notes";
  fs::create_directory(foreign);
  std::ofstream(foreign / "mine.txt") << "keep";
  const fs::path young = dir.path() / "vexlum-young0";
  fs::create_directory(young);

  second.ReclaimAbandonedRunFolders();
  EXPECT_TRUE(fs::exists(Utf8Path(live) / Utf8Path(kLettersImageName)));
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(foreign / "mine.txt"));
  EXPECT_TRUE(fs::exists(young));

  fs::remove(Utf8Path(live) / Utf8Path(kLettersImageName));
  first.ReleaseRunFolder(live);
  EXPECT_FALSE(fs::exists(Utf8Path(live)));
}

TEST(WindowsTextureFileServices, RunFoldersAreMadeUnderAFolderOfAnyName) {
  test::TempDir dir;
  const fs::path base = dir.path() / Utf8Path("ユーザー");
  fs::create_directory(base);
  WindowsTextureFileServices services(Utf8String(base));
  const std::string folder = services.MakeRunFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Utf8Path(folder).parent_path(), base);
  services.ReleaseRunFolder(folder);
  EXPECT_TRUE(fs::is_empty(base));
}

}  // namespace
}  // namespace vx
