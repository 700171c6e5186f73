#include "platform/windows/win32_picture_button.h"

#include <windows.h>

#include "platform/windows/win32_dialog_pictures.h"
#include "platform/windows/win32_wide_text.h"

namespace vx {
namespace {

constexpr wchar_t kClass[] = L"Vexlum_PictureButton";
constexpr UINT_PTR kHoverTimer = 1;

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* button = reinterpret_cast<Win32PictureButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (button && button->Window() == window) return button->Handle(message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterOnce() {
  WNDCLASSW c{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), kClass, &c)) return;
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = ButtonProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.lpszClassName = kClass;
  RegisterClassW(&c);
}

}  // namespace

Win32PictureButton::Win32PictureButton(HWND parent, int x, int y, int width, int height,
                                       int width_twips, int height_twips, int dpi,
                                       const std::string& caption, HFONT font)
    : font_(font),
      width_(width),
      height_(height),
      width_twips_(width_twips),
      height_twips_(height_twips),
      dpi_(dpi) {
  RegisterOnce();
  window_ = CreateWindowExW(0, kClass, Widen(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                            x, y, width, height, parent, nullptr, GetModuleHandleW(nullptr), this);
  button_.ReadProperties({{"Caption", caption}}, FontSpec{});
  button_.Resize(width_twips_, height_twips_, static_cast<float>(width_),
                 static_cast<float>(height_));
}

Win32PictureButton::~Win32PictureButton() {
  if (window_ && IsWindow(window_)) {
    KillTimer(window_, kHoverTimer);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  }
  if (face_) DeleteObject(face_);
}

int Win32PictureButton::Px(int twips) const {
  return MulDiv(twips, dpi_, 1440);
}

void Win32PictureButton::Paint(const FaceDrawing& face) {
  caption_top_ = face.caption_top;
  caption_width_ = face.caption_width;
  if (!window_) return;
  HDC screen = GetDC(window_);
  if (!face_) face_ = CreateCompatibleBitmap(screen, width_, height_);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, face_);
  RECT all{0, 0, width_, height_};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (face.opaque) {
    TRIVERTEX v[2] = {};
    // The gradient's corners are in pixels already.
    v[0].x = face.top.x;
    v[0].y = face.top.y;
    v[0].Red = face.top.red;
    v[0].Green = face.top.green;
    v[0].Blue = face.top.blue;
    v[1].x = face.bottom.x + 1;
    v[1].y = face.bottom.y + 1;
    v[1].Red = face.bottom.red;
    v[1].Green = face.bottom.green;
    v[1].Blue = face.bottom.blue;
    GRADIENT_RECT r{0, 1};
    GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
    const RgbaImage& picture = FacePictureImage(face.picture);
    for (const Slice& s : face.slices)
      DrawRgba(dc, picture, Px(s.dest_left), Px(s.dest_top), Px(s.dest_width), Px(s.dest_height),
               s.src_left / 15, s.src_top / 15, s.src_width / 15, s.src_height / 15);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(window_, screen);
  InvalidateRect(window_, nullptr, FALSE);
}

void Win32PictureButton::SetCaptionEnabled(bool enabled) {
  caption_enabled_ = enabled;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void Win32PictureButton::StartHoverTimer(int interval_ms) {
  if (window_) SetTimer(window_, kHoverTimer, static_cast<UINT>(interval_ms), nullptr);
}

void Win32PictureButton::PaintWindow() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (face_) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, face_);
    BitBlt(dc, 0, 0, width_, height_, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  // The caption box is as tall as the font needs, centred where the layout puts it.
  HGDIOBJ old_font = SelectObject(dc, font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int text_height = metrics.tmHeight;
  const int top = Px(caption_top_) - (text_height - Px(195)) / 2;
  RECT box{0, top, Px(caption_width_), top + text_height};
  SetBkMode(dc, TRANSPARENT);
  const auto colour = static_cast<COLORREF>(caption_colour_ & 0xFFFFFF);  // &HBBGGRR
  SetTextColor(dc, caption_enabled_ ? colour : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring text = Widen(caption_);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old_font);
  // The focused face differs from the idle one by a pale inner edge only; a keyboard's user
  // needs a mark that shows.
  if (GetFocus() == window_) {
    RECT focus{3, 3, width_ - 3, height_ - 3};
    DrawFocusRect(dc, &focus);
  }
  EndPaint(window_, &paint);
}

intptr_t Win32PictureButton::Handle(unsigned message, uintptr_t wparam, intptr_t lparam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      button_.MouseMove();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Pressing takes the focus first, as the platform's controls do.
      if (GetFocus() != window_) SetFocus(window_);
      SetCapture(window_);
      button_.MouseDown(message == WM_LBUTTONDOWN   ? MouseButton::kLeft
                        : message == WM_RBUTTONDOWN ? MouseButton::kRight
                                                    : MouseButton::kMiddle);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      button_.MouseUp(message == WM_LBUTTONUP   ? MouseButton::kLeft
                      : message == WM_RBUTTONUP ? MouseButton::kRight
                                                : MouseButton::kMiddle);
      return 0;
    case WM_SETFOCUS:
      button_.GotFocus();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      button_.LostFocus();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      // Enter reaches the focused button instead of becoming the dialog's OK.
      if (const auto* key = reinterpret_cast<const MSG*>(lparam);
          key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE || wparam == VK_RETURN) {
        button_.KeyPressed();
        return 0;
      }
      break;
    case WM_TIMER: {
      if (wparam != kHoverTimer) break;
      POINT cursor;
      GetCursorPos(&cursor);
      HWND under = WindowFromPoint(cursor);
      WindowUnderCursor where = WindowUnderCursor::kOther;
      if (under == window_)
        where = WindowUnderCursor::kControl;
      else if (under && under == GetAncestor(window_, GA_ROOT))
        where = WindowUnderCursor::kParentForm;
      button_.HoverTick(where);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace vx
