#include "platform/windows/win32_window_system.h"

#include <windows.h>

#include <iostream>

#include "core/console.h"
#include "platform/common/user_language.h"
// The port's member functions share these names with the API's text macros.
#undef MessageBox
#undef SystemParametersInfo

#include <string>

#include "platform/windows/win32_wide_text.h"

namespace vx {
namespace {

HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

RECT ToRect(const WindowRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

constexpr wchar_t kInstanceMutex[] = L"Local\\Vexlum_Instance";

}  // namespace

Win32WindowSystem::~Win32WindowSystem() {
  if (instance_mutex_) CloseHandle(instance_mutex_);
}

bool Win32WindowSystem::ClaimSingleInstance() {
  if (instance_mutex_) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  // Made or opened in one step: only the maker holds the mark.
  if (!mutex) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  instance_mutex_ = mutex;
  return true;
}

bool Win32WindowSystem::SingleInstanceClaimed() {
  if (instance_mutex_) return false;
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutex);
  if (!mutex) return false;
  CloseHandle(mutex);
  return true;
}

bool Win32WindowSystem::FindWindowByCaption(std::string_view caption) {
  return FindWindowW(nullptr, Widen(caption).c_str()) != nullptr;
}

int32_t Win32WindowSystem::ShowCursor(bool show) {
  return ::ShowCursor(show ? TRUE : FALSE);
}

void Win32WindowSystem::SystemParametersInfo(uint32_t action, int32_t ui_param) {
  BOOL old = FALSE;
  SystemParametersInfoA(action, static_cast<UINT>(ui_param), &old, 0);
}

bool Win32WindowSystem::GetWindowRect(WindowHandle window, WindowRect& rect) {
  RECT r;
  if (!IsWindow(ToHwnd(window)) || !::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = WindowRect{r.left, r.top, r.right, r.bottom};
  return true;
}

void Win32WindowSystem::DrawAnimatedRects(WindowHandle window, int32_t animation,
                                          const WindowRect& from, const WindowRect& to) {
  const RECT a = ToRect(from), b = ToRect(to);
  ::DrawAnimatedRects(ToHwnd(window), animation, &a, &b);
}

ScreenMetrics Win32WindowSystem::Screen() {
  ScreenMetrics m;
  HDC screen = GetDC(nullptr);
  const int dpi_x = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int dpi_y = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  m.twips_per_pixel_x = 1440.0f / static_cast<float>(dpi_x > 0 ? dpi_x : 96);
  m.twips_per_pixel_y = 1440.0f / static_cast<float>(dpi_y > 0 ? dpi_y : 96);
  m.width_twips = GetSystemMetrics(SM_CXSCREEN) * static_cast<double>(m.twips_per_pixel_x);
  m.height_twips = GetSystemMetrics(SM_CYSCREEN) * static_cast<double>(m.twips_per_pixel_y);
  return m;
}

void Win32WindowSystem::MessageBox(std::string_view japanese, std::string_view title,
                                   uint32_t style) {
  const std::string text = Localize(japanese, UserLanguage());
  // Also on stderr, where a person starting the saver from a console (or a test) reads it.
  SayLine(std::cerr, text);
  if (!modal_messages_) return;
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
              style | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace vx
