#include "platform/windows/win32_settings_dialog.h"

#include <windows.h>

#include <iostream>

#include "core/console.h"
#include "platform/windows/gdi_bitmap_info.h"
// windows.h first: these rely on its types.
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "platform/windows/win32_dialog_pictures.h"
#include "platform/windows/win32_picture_button.h"
#include "platform/windows/win32_wide_text.h"
#include "settings/settings.h"
#include "settings_dialog/ball_animation.h"
#include "settings_dialog/dialog_form.h"
#include "settings_dialog/dialog_layout.h"
#include "settings_dialog/settings_dialog_model.h"
// The port's member function shares its name with the API's text macro.
#undef MessageBox

namespace vx {
namespace {

namespace form = dialog_form;

constexpr wchar_t kDialogClass[] = L"Vexlum_Settings";
constexpr UINT_PTR kBallTimer = 1;
constexpr COLORREF kValueBoxColour = RGB(0xF0, 0xF0, 0xF0);

// The first of these the system has: the designed face first, then the Japanese UI faces of
// later systems and of Linux desktops running it under Wine.
constexpr const wchar_t* kFaces[] = {L"ＭＳ Ｐゴシック", L"MS PGothic",   L"Meiryo UI",
                                     L"Yu Gothic UI",    L"MS UI Gothic", L"IPAPGothic"};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

HFONT MakeDialogFont(int dpi, bool underline) {
  HDC screen = GetDC(nullptr);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(static_cast<int>(form::kFontPoints * 100), dpi, 7200);
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfQuality = DEFAULT_QUALITY;
  bool chosen = false;
  for (const wchar_t* face : kFaces) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(screen, &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    if (found) {
      lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
      chosen = true;
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  if (!chosen) {
    // No Japanese face: the system's own message font, which the system links to one.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    lstrcpynW(font.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
  }
  return CreateFontIndirectW(&font);
}

class Dialog {
 public:
  Dialog(StartupState& state, ProfileStrings& profile, std::string settings_file,
         WindowSystem& windows)
      : state_(state),
        profile_(profile),
        settings_file_(std::move(settings_file)),
        windows_(windows),
        model_(state.settings) {}
  ~Dialog();

  bool Create(HWND owner);
  HWND Window() const { return window_; }
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  RECT Rect(const form::TwipsRect& r, const form::TwipsRect& panel = {0, 0, 0, 0}) const;
  HWND MakeControl(const wchar_t* kind, DWORD style, const RECT& r, int id);
  void ShowModel();
  void PaintPanel(HDC dc, const form::TwipsRect& panel, int units_per_pixel);
  void PaintText(HDC dc, const RECT& r, std::string_view text, UINT format);
  void Paint();
  void PaintStrips(HDC dc);
  void OnScroll(HWND bar, int code);
  void OnClick(POINT at);
  void ChooseMusicFile();
  void Close(bool save);

  StartupState& state_;
  ProfileStrings& profile_;
  std::string settings_file_;
  WindowSystem& windows_;
  SettingsDialogModel model_;
  std::unique_ptr<BallAnimation> animation_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr, link_font_ = nullptr;
  HBRUSH value_brush_ = nullptr;
  int dpi_ = 96;
  std::array<HWND, kBarCount> bars_{};
  std::array<HWND, kBarCount> bar_texts_{};
  HWND repeat_ = nullptr, file_ = nullptr;
  std::vector<std::unique_ptr<Win32PictureButton>> buttons_;
  std::vector<uint8_t> strip_pixels_;
  HWND last_focus_ = nullptr;  // the control that had the focus when the dialog lost it
  bool zoomed_ = false;
};

Dialog::~Dialog() {
  buttons_.clear();
  if (font_) DeleteObject(font_);
  if (link_font_) DeleteObject(link_font_);
  if (value_brush_) DeleteObject(value_brush_);
}

RECT Dialog::Rect(const form::TwipsRect& r, const form::TwipsRect& panel) const {
  const int left = Px(panel.left + r.left), top = Px(panel.top + r.top);
  return RECT{left, top, left + Px(r.width), top + Px(r.height)};
}

HWND Dialog::MakeControl(const wchar_t* kind, DWORD style, const RECT& r, int id) {
  HWND control =
      CreateWindowExW(0, kind, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (dialog && dialog->Window() == window) return dialog->Handle(message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

bool Dialog::Create(HWND owner) {
  HDC screen = GetDC(nullptr);
  dpi_ = std::max(96, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  font_ = MakeDialogFont(dpi_, false);
  link_font_ = MakeDialogFont(dpi_, true);
  value_brush_ = CreateSolidBrush(kValueBoxColour);

  WNDCLASSW c{};
  c.lpfnWndProc = DialogProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = kDialogClass;
  RegisterClassW(&c);

  // The form's size is its client area; the frame comes around it.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, Px(form::kForm.width), Px(form::kForm.height)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const DialogPlacement at =
      PlaceDialog(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, kDialogClass,
                            Widen(kDialogCaption).c_str(), style, at.left, at.top, width, height,
                            owner, nullptr, c.hInstance, this);
  if (!window_) return false;

  const RECT strip = Rect(form::kStrips[0]);
  animation_ =
      std::make_unique<BallAnimation>(strip.right - strip.left, strip.bottom - strip.top, [] {
        const RgbaImage& ball = BallImage();
        RgbImage rgb(ball.width, ball.height);
        for (int y = 0; y < ball.height; ++y)
          for (int x = 0; x < ball.width; ++x) {
            const uint8_t* p = &ball.pixels[(static_cast<size_t>(y) * ball.width + x) * 4];
            rgb.At(x, y) = {p[0], p[1], p[2]};
          }
        return rgb;
      }());

  // Created in the tab order: the music panel's controls, then the bars, then the buttons.
  repeat_ = MakeControl(
      L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,
      [&] {
        RECT r = Rect(form::kRepeatBox, form::kMusicPanel);
        r.bottom += Px(2400);  // room for the list when it drops down
        return r;
      }(),
      100);
  const auto add_button = [&](const form::TwipsRect& r, const form::TwipsRect& panel,
                              std::string_view caption, std::function<void()> click) {
    const RECT px = Rect(r, panel);
    auto button = std::make_unique<Win32PictureButton>(window_, px.left, px.top, px.right - px.left,
                                                       px.bottom - px.top, r.width, r.height, dpi_,
                                                       std::string(caption), font_);
    button->OnClick(std::move(click));
    buttons_.push_back(std::move(button));
  };
  add_button(form::kChooseFileButton, form::kMusicPanel, form::kChooseFileText,
             [this] { ChooseMusicFile(); });
  file_ = MakeControl(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_BORDER,
                      Rect(form::kFileBox, form::kMusicPanel), 101);
  for (int i = 0; i < kBarCount; ++i) {
    const auto n = static_cast<size_t>(i);
    bars_[n] = MakeControl(L"SCROLLBAR", SBS_VERT | WS_TABSTOP,
                           Rect(form::Bar(i), form::kDisplayPanel), 200 + i);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    info.nMin = model_.Bar(i).Min();
    info.nMax = model_.Bar(i).Max();
    info.nPage = 0;
    info.nPos = model_.Bar(i).Min();
    SetScrollInfo(bars_[n], SB_CTL, &info, FALSE);
    bar_texts_[n] = MakeControl(L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_BORDER,
                                Rect(form::BarValueBox(i), form::kDisplayPanel), 300 + i);
  }
  add_button(form::kSetButton, form::kDisplayPanel, form::kSetText, [this] { Close(true); });
  add_button(form::kCancelButton, form::kDisplayPanel, form::kCancelText, [this] { Close(false); });

  model_.Load();
  for (const std::string& entry : model_.RepeatList())
    SendMessageW(repeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
  SetWindowTextW(repeat_, Widen(model_.RepeatText()).c_str());
  ShowModel();
  for (auto& button : buttons_) button->Button().Initialize();
  SetTimer(window_, kBallTimer, BallAnimation::kIntervalMs, nullptr);
  return true;
}

void Dialog::ShowModel() {
  for (int i = 0; i < kBarCount; ++i) {
    const auto n = static_cast<size_t>(i);
    SetScrollPos(bars_[n], SB_CTL, model_.Bar(i).Value(), TRUE);
    SetWindowTextW(bar_texts_[n], Widen(model_.BarText(i)).c_str());
  }
  SetWindowTextW(file_, Widen(model_.FileText()).c_str());
  InvalidateRect(window_, nullptr, FALSE);
}

void Dialog::PaintPanel(HDC dc, const form::TwipsRect& panel, int units_per_pixel) {
  const RECT r = Rect(panel);
  const int height = r.bottom - r.top;
  const std::vector<uint8_t> lines =
      PanelGradientLines(static_cast<double>(height) * units_per_pixel);
  for (int row = 0; row < height && !lines.empty(); ++row) {
    // Many lines fall in one pixel row when counting in twips; the last one drawn stays.
    const size_t line =
        std::min(lines.size() - 1, static_cast<size_t>((row + 1) * units_per_pixel - 1));
    const uint8_t grey = lines[line];
    HBRUSH brush = CreateSolidBrush(RGB(grey, grey, grey));
    RECT band{r.left, r.top + row, r.right, r.top + row + 1};
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

void Dialog::PaintText(HDC dc, const RECT& r, std::string_view text, UINT format) {
  RECT box = r;
  // The layout's widths were measured with another font; a caption that needs more room gets
  // it rather than losing its last letters.
  const std::wstring wide = Widen(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
            format | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
}

void Dialog::PaintStrips(HDC dc) {
  for (int i = 0; i < 2; ++i) {
    const RgbImage& picture = animation_->Strip(i);
    const RECT r = Rect(form::kStrips[static_cast<size_t>(i)]);
    strip_pixels_.resize(static_cast<size_t>(picture.Width()) * picture.Height() * 4);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        const Rgb& p = picture.At(x, y);
        uint8_t* to = &strip_pixels_[(static_cast<size_t>(y) * picture.Width() + x) * 4];
        to[0] = p.b;
        to[1] = p.g;
        to[2] = p.r;
        to[3] = 0;
      }
    BITMAPINFO info = TopDownBitmapInfo(picture.Width(), picture.Height());
    SetDIBitsToDevice(dc, r.left, r.top, static_cast<DWORD>(picture.Width()),
                      static_cast<DWORD>(picture.Height()), 0, 0, 0,
                      static_cast<UINT>(picture.Height()), strip_pixels_.data(), &info,
                      DIB_RGB_COLORS);
  }
}

void Dialog::Paint() {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  // Drawn off-screen and copied at once, so the panels never flicker under the ball's ticks.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  PaintStrips(dc);
  PaintPanel(dc, form::kMusicPanel, 1);
  PaintPanel(dc, form::kDisplayPanel, 15);

  HGDIOBJ old_font = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  const auto outline = [&](const form::TwipsRect& r, const form::TwipsRect& panel) {
    const RECT px = Rect(r, panel);
    Rectangle(dc, px.left, px.top, px.right, px.bottom);
  };
  outline(form::kMusicOutline, form::kMusicPanel);
  PaintText(dc, Rect(form::kMusicHeading, form::kMusicPanel), form::kMusicHeadingText, DT_CENTER);
  const auto mark = [&](const form::TwipsRect& r, const form::TwipsRect& panel, RadioMark m) {
    if (m == RadioMark::kBlank) return;
    const RECT px = Rect(r, panel);
    // Stretched with the layout at other densities than 96 dots an inch.
    BlendRgba(dc, m == RadioMark::kOn ? RadioOnImage() : RadioOffImage(), px.left, px.top,
              px.right - px.left, px.bottom - px.top);
  };
  for (int i = 0; i < 3; ++i) {
    mark(form::SourceMark(i), form::kMusicPanel, model_.MusicMark(i));
    PaintText(dc, Rect(form::SourceCaption(i), form::kMusicPanel),
              form::kSourceTexts[static_cast<size_t>(i)], DT_LEFT);
  }
  PaintText(dc, Rect(form::kRepeatCaption, form::kMusicPanel), form::kRepeatCaptionText, DT_LEFT);
  for (int i = 0; i < kBarCount; ++i) {
    outline(form::BarOutline(i), form::kDisplayPanel);
    PaintText(dc, Rect(form::BarHeading(i), form::kDisplayPanel),
              form::kBarHeadings[static_cast<size_t>(i)], DT_CENTER);
  }
  outline(form::kKindOutline, form::kDisplayPanel);
  PaintText(dc, Rect(form::kKindHeading, form::kDisplayPanel), form::kKindHeadingText, DT_CENTER);
  for (int i = 0; i < 2; ++i) {
    mark(form::KindMark(i), form::kDisplayPanel, model_.AtlasMark(i));
    PaintText(dc, Rect(form::KindCaption(i), form::kDisplayPanel),
              form::kKindTexts[static_cast<size_t>(i)], DT_LEFT);
  }
  PaintText(dc, Rect(form::kCredit, form::kDisplayPanel), std::string("Vexlum ") + VEXLUM_VERSION,
            DT_LEFT);
  SelectObject(dc, link_font_);
  RECT link = Rect(form::kLink, form::kDisplayPanel);
  link.right = Rect(form::kDisplayPanel).right - 4;
  const std::wstring address = Widen(VEXLUM_HOME_PAGE);
  DrawTextW(dc, address.c_str(), static_cast<int>(address.size()), &link,
            DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_font);

  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EndPaint(window_, &paint);
}

void Dialog::OnScroll(HWND bar, int code) {
  const auto it = std::find(bars_.begin(), bars_.end(), bar);
  if (it == bars_.end()) return;
  const int i = static_cast<int>(it - bars_.begin());
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  int value = info.nPos;
  switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP:
      --value;
      break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
      ++value;
      break;
    case SB_TOP:
      value = info.nMin;
      break;
    case SB_BOTTOM:
      value = info.nMax;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = info.nTrackPos;
      break;
    default:
      return;
  }
  value = std::clamp(value, info.nMin, info.nMax);
  SetScrollPos(bar, SB_CTL, value, TRUE);
  model_.SetBar(i, value);
  SetWindowTextW(bar_texts_[static_cast<size_t>(i)], Widen(model_.BarText(i)).c_str());
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void Dialog::OnClick(POINT at) {
  for (int i = 0; i < 3; ++i) {
    if (Inside(Rect(form::SourceMark(i), form::kMusicPanel), at) ||
        Inside(Rect(form::SourceCaption(i), form::kMusicPanel), at)) {
      model_.ChooseMusicSource(i);
      ShowModel();
      return;
    }
  }
  for (int i = 0; i < 2; ++i) {
    if (Inside(Rect(form::KindMark(i), form::kDisplayPanel), at) ||
        Inside(Rect(form::KindCaption(i), form::kDisplayPanel), at)) {
      model_.ChooseAtlas(i);
      ShowModel();
      return;
    }
  }
  if (Inside(Rect(form::kLink, form::kDisplayPanel), at)) {
    HCURSOR old = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    std::wstring address = Widen(VEXLUM_HOME_PAGE);
    if (address.find(L"://") == std::wstring::npos) {
      // A file that travels with the program: found beside it, wherever it was installed.
      wchar_t program[MAX_PATH] = {};
      GetModuleFileNameW(nullptr, program, MAX_PATH);
      std::wstring folder(program);
      folder.resize(folder.find_last_of(L"\\/") + 1);
      address = folder + address;
    }
    ShellExecuteW(window_, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    SetCursor(old);
  }
}

void Dialog::ChooseMusicFile() {
  std::wstring name(32768, L'\0');
  const std::wstring title = Widen(form::kChooserTitle);
  std::wstring filter = Widen(form::kChooserFilter);
  filter.push_back(L'\0');
  filter += L"*.MP3;*.WAV";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  OPENFILENAMEW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = window_;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = name.data();
  chooser.nMaxFile = static_cast<DWORD>(name.size());
  chooser.lpstrTitle = title.c_str();
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&chooser)) return;
  name.resize(wcslen(name.c_str()));
  const std::string chosen = Narrow(name);
  // A longer name would come back cut the next time the settings are read.
  std::optional<std::string_view> refusal;
  if (chosen.find_first_of("\r\n") != std::string::npos)
    refusal = form::kLineBreakMessage;
  else if (chosen.size() > kMusicPathLength)
    refusal = form::kLongNameMessage;
  else if (!FileExists(chosen))
    refusal = form::kUnusableNameMessage;
  if (refusal) {
    windows_.MessageBox(*refusal, form::kMessageTitle, kMbIconExclamation);
    return;
  }
  model_.SetMusicFile(chosen);
  ShowModel();
}

void Dialog::Close(bool save) {
  if (save) model_.Save(profile_, settings_file_);
  KillTimer(window_, kBallTimer);
  ZoomClose(windows_, reinterpret_cast<uintptr_t>(window_), state_);
  DestroyWindow(window_);
}

LRESULT Dialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SHOWWINDOW:
      if (wparam && !zoomed_) {
        zoomed_ = true;
        POINT cursor;
        GetCursorPos(&cursor);
        state_.zoom_point_x = static_cast<int16_t>(cursor.x);
        state_.zoom_point_y = static_cast<int16_t>(cursor.y);
        ZoomOpen(windows_, reinterpret_cast<uintptr_t>(window_), state_);
      }
      break;
    case WM_TIMER:
      if (wparam == kBallTimer) {
        animation_->Tick();
        // Straight onto the screen: only the strips change, and a repaint would redraw the
        // whole form thirty times a second.
        HDC dc = GetDC(window_);
        PaintStrips(dc);
        ReleaseDC(window_, dc);
        return 0;
      }
      break;
    case WM_VSCROLL:
      OnScroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam));
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lparam) == repeat_ &&
          (HIWORD(wparam) == CBN_EDITCHANGE || HIWORD(wparam) == CBN_SELCHANGE)) {
        wchar_t text[64] = {};
        if (HIWORD(wparam) == CBN_SELCHANGE) {
          const LRESULT index = SendMessageW(repeat_, CB_GETCURSEL, 0, 0);
          if (index != CB_ERR)
            SendMessageW(repeat_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        } else {
          GetWindowTextW(repeat_, text, 64);
        }
        model_.SetRepeatText(Narrow(text));
      }
      // Enter and Esc reach here as OK and Cancel: the dialog has neither, they do nothing.
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, kValueBoxColour);
      return reinterpret_cast<LRESULT>(value_brush_);
    }
    case WM_LBUTTONDOWN:
      OnClick(POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      return 0;
    case WM_SETCURSOR: {
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(window_, &at);
      if (reinterpret_cast<HWND>(wparam) == window_ &&
          Inside(Rect(form::kLink, form::kDisplayPanel), at)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      // As a dialog does: the focus comes back to the control that had it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        last_focus_ = GetFocus();
      } else {
        SetFocus(last_focus_ && IsChild(window_, last_focus_)
                     ? last_focus_
                     : GetNextDlgTabItem(window_, nullptr, FALSE));
      }
      return 0;
    case WM_CLOSE:
      Close(false);  // the close box writes nothing
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace

int RunWin32SettingsDialog(StartupState& state, ProfileStrings& profile,
                           const std::string& settings_file, WindowSystem& windows, HWND owner) {
  if (owner && !IsWindow(owner)) owner = nullptr;
  Dialog dialog(state, profile, settings_file, windows);
  if (!dialog.Create(owner)) {
    SayLine(std::cerr, "the settings dialog cannot be made");
    return 1;
  }
  if (owner) EnableWindow(owner, FALSE);  // modal to the window that asked for it
  ShowWindow(dialog.Window(), SW_SHOW);
  SetForegroundWindow(dialog.Window());
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(dialog.Window()) && IsDialogMessageW(dialog.Window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  return 0;
}

}  // namespace vx
