#include "platform/windows/win32_preview.h"

#include <stb_image.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "core/console.h"
#include "platform/windows/gdi_bitmap_info.h"
#include "startup/preview_geometry.h"

extern const unsigned char kPreviewJpeg[];
extern const unsigned long kPreviewJpegSize;

namespace vx {
namespace {

constexpr wchar_t kPreviewClass[] = L"Vexlum_Preview";

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;  // rows top to bottom
};

Picture DecodePreview() {
  Picture p;
  int channels = 0;
  unsigned char* rgb = stbi_load_from_memory(kPreviewJpeg, static_cast<int>(kPreviewJpegSize),
                                             &p.width, &p.height, &channels, 3);
  if (!rgb) return {};
  p.bgra.resize(static_cast<size_t>(p.width) * p.height * 4);
  for (size_t i = 0; i < static_cast<size_t>(p.width) * p.height; ++i) {
    p.bgra[i * 4] = rgb[i * 3 + 2];
    p.bgra[i * 4 + 1] = rgb[i * 3 + 1];
    p.bgra[i * 4 + 2] = rgb[i * 3];
    p.bgra[i * 4 + 3] = 255;
  }
  stbi_image_free(rgb);
  return p;
}

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto* picture = reinterpret_cast<const Picture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (picture && !picture->bgra.empty()) {
        // At its natural size from the top-left corner; the window clips what does not fit.
        BITMAPINFO info = TopDownBitmapInfo(picture->width, picture->height);
        SetDIBitsToDevice(
            dc, 0, 0, static_cast<DWORD>(picture->width), static_cast<DWORD>(picture->height), 0, 0,
            0, static_cast<UINT>(picture->height), picture->bgra.data(), &info, DIB_RGB_COLORS);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int RunWin32Preview(HWND host) {
  if (!host || !IsWindow(host)) {
    SayLine(std::cerr, "/p needs the handle of the host's preview window");
    return 1;
  }
  RECT area{};
  GetClientRect(host, &area);
  const PreviewGeometry g = ComputePreviewGeometry({0, 0, area.right, area.bottom}, 15.0f, 15.0f);
  const int width = std::max(1, static_cast<int>(g.image_width));
  const int height = std::max(1, static_cast<int>(g.image_height));

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW c{};
  c.lpfnWndProc = PreviewProcedure;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = kPreviewClass;
  RegisterClassW(&c);  // fails harmlessly when an earlier preview registered it

  Picture picture = DecodePreview();
  const std::wstring caption(kPreviewCaption,
                             kPreviewCaption + std::char_traits<char>::length(kPreviewCaption));
  HWND window = CreateWindowExW(0, kPreviewClass, caption.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                                width, height, host, nullptr, instance, &picture);
  if (!window) {
    SayLine(std::cerr,
            "the preview window cannot be made (error " + std::to_string(GetLastError()) + ")");
    return 1;
  }
  // Messages end it when the host destroys its area; a host in another process may vanish
  // without our window hearing of it, so the host is also looked at twice a second.
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return 0;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (!IsWindow(host) || !IsWindow(window)) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
  }
  if (IsWindow(window)) DestroyWindow(window);
  return 0;
}

}  // namespace vx
