// A helper the Windows tests run under Wine beside the saver: it finds a top-level window by
// its caption and prints the text of its static controls (a message box's message), or
// presses its OK button. Windows of another process are reached as any program reaches them.
//   window_probe text CAPTION [SECONDS]   prints the texts, one per line; 1 if no such window
//   window_probe labels CAPTION           prints the texts of all its child windows
//   window_probe focus CAPTION            prints the class and text of the focused child
//   window_probe takeover CAPTION SECONDS  makes a window of its own the active one for a
//                                          while (a full-screen program's device is lost
//                                          meanwhile), then hands the activation back
//   window_probe ok CAPTION               presses OK
//   window_probe close CAPTION            asks the window to close, as its close box does
//   window_probe origin CAPTION           prints where its client area starts on the screen
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// Asked of the window itself: another process's edit box keeps its text where only the
// window's own WM_GETTEXT reaches it.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) ||
      length == 0)
    return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(static_cast<size_t>(copied));
  return text;
}

// lparam: 1 for every child, 0 for static controls only.
BOOL CALLBACK PrintText(HWND child, LPARAM every) {
  wchar_t kind[64] = {};
  GetClassNameW(child, kind, 64);
  if (!every && lstrcmpiW(kind, L"Static") != 0) return TRUE;
  const std::wstring text = TextOf(child);
  if (!text.empty()) std::fputs((Utf8(text) + "\n").c_str(), stdout);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: window_probe text|labels|focus|takeover|ok|close|origin CAPTION [SECONDS]\n",
               stderr);
    return 2;
  }
  const std::wstring command = argv[1];
  const double seconds = argc > 3 ? _wtof(argv[3]) : 10.0;
  HWND window = nullptr;
  for (int waited = 0; !window && waited <= seconds * 10; ++waited) {
    window = FindWindowW(nullptr, argv[2]);
    if (!window) Sleep(100);
  }
  if (!window) return 1;
  if (command == L"text" || command == L"labels") {
    EnumChildWindows(window, PrintText, command == L"labels");
    std::fflush(stdout);
    return 0;
  }
  if (command == L"focus") {
    // The focus of another process's window: join its input state to read it.
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    HWND focus = GetFocus();
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    wchar_t kind[64] = {};
    if (focus) GetClassNameW(focus, kind, 64);
    std::printf("%s %s\n", Utf8(kind).c_str(), focus ? Utf8(TextOf(focus)).c_str() : "");
    std::fflush(stdout);
    return 0;
  }
  if (command == L"ok") {
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (command == L"origin") {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld\n", origin.x, origin.y);
    return 0;
  }
  if (command == L"takeover") {
    WNDCLASSW c{};
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"Vexlum_Probe";
    RegisterClassW(&c);
    HWND own = CreateWindowExW(WS_EX_TOPMOST, c.lpszClassName, L"Probe", WS_POPUP | WS_VISIBLE, 0,
                               0, 200, 200, nullptr, nullptr, c.hInstance, nullptr);
    SetForegroundWindow(own);
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (GetTickCount() < end) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(10);
    }
    DestroyWindow(own);
    SetForegroundWindow(window);
    return 0;
  }
  if (command == L"close") {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  return 2;
}
