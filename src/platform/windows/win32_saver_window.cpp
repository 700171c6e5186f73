#include "platform/windows/win32_saver_window.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "startup/mode_dispatch.h"

namespace vx {
namespace {

constexpr wchar_t kSaverClass[] = L"Vexlum_Main";
constexpr wchar_t kCoverClass[] = L"Vexlum_Cover";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<Win32SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  intptr_t result = 0;
  if (owner && owner->Handle(window, message, wparam, lparam, result)) return result;
  return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterClassOnce(const wchar_t* name) {
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &c)) return;
  c.cbSize = sizeof c;
  c.lpfnWndProc = WindowProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = name;
  c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));
  c.hIconSm = static_cast<HICON>(LoadImageW(c.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  if (!RegisterClassExW(&c)) throw std::runtime_error("the window class cannot be registered");
}

struct MonitorList {
  std::vector<RECT> others;  // every monitor but the primary one
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY))
    reinterpret_cast<MonitorList*>(data)->others.push_back(info.rcMonitor);
  return TRUE;
}

}  // namespace

Win32SaverWindow::Win32SaverWindow(const Win32SaverWindowOptions& o) : hide_cursor_(o.hide_cursor) {
  RegisterClassOnce(kSaverClass);
  const std::wstring caption(kSaverCaption.begin(), kSaverCaption.end());
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (o.windowed) {
    width_ = o.windowed->first;
    height_ = o.windowed->second;
    const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);
    RECT r{0, 0, width_, height_};
    AdjustWindowRect(&r, style, FALSE);
    window_ = CreateWindowExW(0, kSaverClass, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
  } else {
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    window_ = CreateWindowExW(WS_EX_TOPMOST, kSaverClass, caption.c_str(), WS_POPUP, 0, 0, width_,
                              height_, nullptr, nullptr, instance, this);
  }
  if (!window_)
    throw std::runtime_error("the saver's window cannot be made (error " +
                             std::to_string(GetLastError()) + ")");
  if (o.windowed) return;
  // Every other monitor gets a window too: its own scene, or black, so that no desktop stays
  // visible beside the saver. Only the main window carries the caption another saver finds.
  MonitorList monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.others.empty()) return;
  RegisterClassOnce(kCoverClass);
  scenes_on_covers_ = o.scene_on_every_monitor;
  const wchar_t* cover_caption = scenes_on_covers_ ? L"Vexlum_Screen" : L"";
  for (const RECT& r : monitors.others) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kCoverClass, cover_caption,
                                 WS_POPUP, r.left, r.top, w, h, nullptr, nullptr, instance, this);
    if (cover) covers_.push_back({cover, w, h});
  }
}

HWND Win32SaverWindow::ScreenWindow(int screen) const {
  return screen == 0 ? window_ : covers_.at(static_cast<size_t>(screen - 1)).window;
}

std::pair<int, int> Win32SaverWindow::ScreenSize(int screen) const {
  if (screen == 0) return {width_, height_};
  const Cover& cover = covers_.at(static_cast<size_t>(screen - 1));
  return {cover.width, cover.height};
}

Win32SaverWindow::~Win32SaverWindow() {
  // Messages that still come find no owner and get the default handling.
  for (const Cover& cover : covers_) {
    SetWindowLongPtrW(cover.window, GWLP_USERDATA, 0);
    if (!leave_to_process_end_) DestroyWindow(cover.window);
  }
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (!leave_to_process_end_) DestroyWindow(window_);
  }
}

void Win32SaverWindow::ShowTopmost() {
  for (const Cover& cover : covers_) ShowWindow(cover.window, SW_SHOWNOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window_);
  SetFocus(window_);
  UpdateWindow(window_);
}

bool Win32SaverWindow::Handle(HWND window, unsigned message, uintptr_t wparam, intptr_t,
                              intptr_t& result) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      events_.push_back(SaverEvent{SaverEvent::kKey, static_cast<int32_t>(wparam & 0xFFFF)});
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      events_.push_back(SaverEvent{SaverEvent::kClick, 0});
      return true;
    case WM_SETCURSOR:
      if (!hide_cursor_) return false;
      SetCursor(nullptr);
      result = TRUE;
      return true;
    case WM_SYSCOMMAND:
      // The system must not start a saver over the saver, nor put the monitor to sleep
      // because of it.
      if ((wparam & 0xFFF0) == SC_SCREENSAVE) return true;
      if ((wparam & 0xFFF0) != SC_CLOSE) return false;
      [[fallthrough]];
    case WM_CLOSE:
      // Closing is the loop's decision: it ends the saver in order, then the window goes.
      events_.push_back(SaverEvent{SaverEvent::kQuit, 0});
      return true;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      result = 1;
      return true;
    }
    default:
      return false;
  }
}

std::optional<SaverEvent> Win32SaverWindow::PollEvent() {
  MSG message;
  while (events_.empty() && !quit_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_ = true;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (!events_.empty()) {
    const SaverEvent event = events_.front();
    events_.pop_front();
    return event;
  }
  if (quit_) return SaverEvent{SaverEvent::kQuit, 0};
  return std::nullopt;
}

void Win32SaverWindow::WaitForEvent(uint32_t timeout_ms) {
  if (!events_.empty() || quit_) return;
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms, QS_ALLINPUT);
}

}  // namespace vx
