// The Windows layer against the real system (Wine here): the Direct3D 8 device's texture
// upload and back-buffer reading, and the run folders' locking and reclaiming.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/utf8_path.h"
#include "fakes/temp_dir.h"
#include "platform/common/run_folders.h"
#include "platform/common/texture_image.h"
#include "platform/windows/d3d8_device.h"
#include "platform/windows/gdi_bitmap_info.h"
#include "platform/windows/win32_preview.h"
#include "platform/windows/win32_program_paths.h"
#include "platform/windows/win32_settings_dialog.h"
#include "platform/windows/win32_window_system.h"
#include "render/vertices.h"
#include "saver/texture_files.h"
#include "settings/ini_profile_strings.h"

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
  EXPECT_EQ(device.LastFrameCounts().draw_calls, 1u);

  const RgbaImage shot = device.ReadLastFrame();
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
  draw_calls = device.LastFrameCounts().draw_calls;
  RgbaImage shot = device.ReadLastFrame();
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
  const RgbaImage shot = device.ReadLastFrame();
  const uint8_t* p = Pixel(shot, 5, 5);
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x66);
  EXPECT_EQ(p[2], 0x99);
  EXPECT_EQ(p[3], 0xFF);
  DestroyWindow(window);
}

TEST(RunFolders, LiveRunsKeepTheirFoldersAndDeadRunsLoseThem) {
  test::TempDir dir;
  const std::string base = Utf8String(dir.path());
  RunFolders first(base), second(base);
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

TEST(RunFolders, RunFoldersAreMadeUnderAFolderOfAnyName) {
  test::TempDir dir;
  const fs::path base = dir.path() / Utf8Path("ユーザー");
  fs::create_directory(base);
  RunFolders services(Utf8String(base));
  const std::string folder = services.MakeRunFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Utf8Path(folder).parent_path(), base);
  services.ReleaseRunFolder(folder);
  EXPECT_TRUE(fs::is_empty(base));
}

// Handles this thread's messages for a while: the preview's window is a child of a window of
// this thread, so painting and destroying it pass through here.
void Pump(std::chrono::milliseconds duration, const std::atomic<bool>* until = nullptr) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end && !(until && *until)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

// The host's preview area, read back from the screen: 4 bytes a pixel, B, G, R, X.
std::vector<uint8_t> ReadWindow(HWND window, int width, int height) {
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  std::vector<uint8_t> pixels(static_cast<const uint8_t*>(bits),
                              static_cast<const uint8_t*>(bits) + width * height * 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

// The host here is a window of this process: Wine does not show another process's child
// windows, which is what the real host's preview area would be.
TEST(Win32Preview, ThePictureSitsTopLeftBlackBeyondAndGoesWithTheHost) {
  WNDCLASSW c{};
  c.lpfnWndProc = DefWindowProcW;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  c.lpszClassName = L"VexlumPreviewHost";
  RegisterClassW(&c);
  constexpr int kWidth = 200, kHeight = 150;  // larger than the 152 x 112 picture
  HWND host =
      CreateWindowExW(WS_EX_TOPMOST, L"VexlumPreviewHost", L"preview host", WS_POPUP | WS_VISIBLE,
                      40, 40, kWidth, kHeight, nullptr, nullptr, c.hInstance, nullptr);
  ASSERT_NE(host, nullptr);
  std::atomic<bool> done{false};
  std::atomic<int> status{-1};
  std::thread preview([&] {
    status = RunWin32Preview(host);
    done = true;
  });
  Pump(std::chrono::milliseconds(1500));
  const std::vector<uint8_t> shot = ReadWindow(host, kWidth, kHeight);
  auto brightness = [&](int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        for (int k = 0; k < 3; ++k) sum += shot[(static_cast<size_t>(y) * kWidth + x) * 4 + k];
    return sum / ((x1 - x0) * (y1 - y0) * 3);
  };
  EXPECT_GT(brightness(0, 0, 152, 112), 20.0);          // the picture
  EXPECT_EQ(brightness(156, 0, kWidth, kHeight), 0.0);  // black to the right of it...
  EXPECT_EQ(brightness(0, 116, kWidth, kHeight), 0.0);  // ...and below, not the host's white

  // Destroying a window whose child belongs to another thread waits on that thread inside
  // the call (under Wine, for up to two seconds); the host is gone once it returns.
  DestroyWindow(host);
  const auto gone = std::chrono::steady_clock::now();
  Pump(std::chrono::milliseconds(3000), &done);
  EXPECT_TRUE(done) << "the preview outlived its host";
  EXPECT_LT(std::chrono::steady_clock::now() - gone, std::chrono::milliseconds(1000));
  preview.join();
  EXPECT_EQ(status, 0);
}

// "/c:<hwnd>": the window that asked cannot be used while the dialog is open, and can again
// once it is closed; closing writes nothing.
TEST(Win32SettingsDialog, IsModalToTheWindowThatAskedAndClosingWritesNothing) {
  WNDCLASSW c{};
  c.lpfnWndProc = DefWindowProcW;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = L"VexlumDialogOwner";
  RegisterClassW(&c);
  HWND owner = CreateWindowExW(0, L"VexlumDialogOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                               100, nullptr, nullptr, c.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  test::TempDir dir;
  const std::string file = Utf8String(dir.path() / "Vexlum.ini");
  StartupState state;
  IniProfileStrings profile;
  Win32WindowSystem windows;
  std::atomic<bool> done{false};
  std::thread dialog([&] {
    RunWin32SettingsDialog(state, profile, file, windows, owner);
    done = true;
  });
  HWND shown = nullptr;
  for (int i = 0; i < 100 && !shown; ++i) {
    Pump(std::chrono::milliseconds(50));
    shown = FindWindowW(nullptr, L"Vexlum(Screen Saver)\u306e\u8a2d\u5b9a");
  }
  ASSERT_NE(shown, nullptr) << "no dialog appeared";
  Pump(std::chrono::milliseconds(300));
  EXPECT_FALSE(IsWindowEnabled(owner));
  PostMessageW(shown, WM_CLOSE, 0, 0);
  Pump(std::chrono::milliseconds(5000), &done);
  ASSERT_TRUE(done) << "the dialog did not close";
  dialog.join();
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(std::filesystem::exists(Utf8Path(file)));
  DestroyWindow(owner);
}

// Settings stay beside the program while the file there, or its folder, can be written. A copy
// installed where its folder cannot be written (Program Files) reads a file that lies beside
// it, saves to the user's application data, and from then on reads that. Finding the file
// makes nothing; only a save tries the folder. (A folder that takes no file is a file itself
// here: the tests run as a user who may write everywhere else.)
TEST(WindowsProgramPaths, SettingsBesideTheProgramUnlessTheyCannotBeWrittenThere) {
  wchar_t app_data_folder[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(
      SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data_folder)));
  const fs::path app_data = fs::path(app_data_folder) / "Vexlum" / "Vexlum.ini";
  test::TempDir dir;
  std::error_code ec;
  fs::rename(app_data, dir.path() / "kept.ini", ec);  // another test's, put back at the end
  const bool folder_existed = fs::exists(app_data.parent_path());

  const std::string writable = Utf8String(dir.path() / "writable");
  fs::create_directory(Utf8Path(writable));
  const std::string beside = Utf8String(Utf8Path(writable) / "Vexlum.ini");
  EXPECT_EQ(SettingsFilePath(writable), beside);
  EXPECT_EQ(SettingsFileForSaving(beside), beside);
  EXPECT_TRUE(fs::is_empty(Utf8Path(writable))) << "the probe left a file behind";

  std::ofstream(dir.path() / "blocked") << "x";
  const std::string blocked = Utf8String(dir.path() / "blocked");
  const std::string blocked_file = Utf8String(Utf8Path(blocked) / "Vexlum.ini");
  EXPECT_EQ(SettingsFilePath(blocked), blocked_file);  // nothing to read there, nor elsewhere
  EXPECT_EQ(Utf8Path(SettingsFileForSaving(blocked_file)), app_data);
  EXPECT_EQ(fs::exists(app_data.parent_path()), folder_existed) << "finding made the folder";

  // A settings file beside the program that cannot be written (held here by a handle that
  // shares nothing: the tests run as root, whom a read-only file does not stop) is read, until
  // a save went to the application data.
  const std::string locked = Utf8String(dir.path() / "locked");
  fs::create_directory(Utf8Path(locked));
  const fs::path locked_file = Utf8Path(locked) / "Vexlum.ini";
  std::ofstream(locked_file) << "[Section]\r\nLimite=77\r\n";
  HANDLE holder = CreateFileW(locked_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Utf8Path(SettingsFilePath(locked)), locked_file);
  EXPECT_EQ(Utf8Path(SettingsFileForSaving(Utf8String(locked_file))), app_data);
  fs::create_directories(app_data.parent_path());
  std::ofstream(app_data) << "[Section]\r\nLimite=88\r\n";
  EXPECT_EQ(Utf8Path(SettingsFilePath(locked)), app_data);
  // A writable file beside the program always wins.
  std::ofstream(Utf8Path(beside)) << "[Section]\r\n";
  EXPECT_EQ(SettingsFilePath(writable), beside);

  CloseHandle(holder);
  fs::remove(app_data, ec);
  fs::rename(dir.path() / "kept.ini", app_data, ec);
  if (!folder_existed) fs::remove(app_data.parent_path(), ec);
}

TEST(Win32Preview, AHandleThatIsNoWindowShowsNothing) {
  EXPECT_EQ(RunWin32Preview(nullptr), 1);
  EXPECT_EQ(RunWin32Preview(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0))), 1);
}

}  // namespace
}  // namespace vx
