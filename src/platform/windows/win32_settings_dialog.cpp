#include "platform/windows/win32_settings_dialog.h"

#include <windows.h>
// windows.h first: these rely on its types.
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "core/console.h"
#include "core/texts.h"
#include "platform/common/user_language.h"
#include "platform/windows/gdi_bitmap_info.h"
#include "platform/windows/win32_dialog_pictures.h"
#include "platform/windows/win32_picture_button.h"
#include "platform/windows/win32_program_paths.h"
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
constexpr wchar_t kChoiceClass[] = L"Vexlum_Choice";
// The mark around the focused control: the system's own is faint or missing on the panels.
constexpr COLORREF kFocusColour = RGB(0, 64, 200);
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
  // The messages of a choice: a radio mark with its caption, or the link.
  LRESULT HandleChoice(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Repaints the focus marks the dialog draws around its controls when the focus moved.
  void FollowFocus();

 private:
  enum class Group { kMusic, kAtlas, kLink };
  struct Choice {
    HWND window = nullptr;
    Group group = Group::kLink;
    int index = 0;  // the model's index of the music source or atlas
    RECT mark{};    // in the dialog's client area; empty for the link
    RECT caption{};
    std::wstring text;
  };
  void MakeChoice(Group group, int index, const RECT& mark, const RECT& caption,
                  std::string_view text, DWORD style);
  Choice* ChoiceOf(HWND window);
  void Choose(const Choice& choice);
  void OpenHomePage();
  RadioMark MarkOf(const Choice& choice) const;
  // The scroll bar's position for a number: the largest number at the top, so ▲ raises it.
  int BarPosition(int i, int number) const {
    return model_.Bar(i).Min() + model_.Bar(i).Max() - number;
  }
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  RECT Rect(const form::TwipsRect& r, const form::TwipsRect& panel = {0, 0, 0, 0}) const;
  HWND MakeControl(const wchar_t* kind, DWORD style, const RECT& r, int id);
  void ShowModel();
  void PaintPanel(HDC dc, const form::TwipsRect& panel, int units_per_pixel);
  void PaintText(HDC dc, const RECT& r, std::string_view text, UINT format);
  void Paint();
  void PaintStrips(HDC dc);
  void OnScroll(HWND bar, int code);
  void ChooseMusicFile();
  void Close(bool save);

  StartupState& state_;
  ProfileStrings& profile_;
  std::string settings_file_;
  WindowSystem& windows_;
  Language language_ = UserLanguage();
  SettingsDialogModel model_;
  std::unique_ptr<BallAnimation> animation_;
  std::vector<Choice> choices_;
  HWND focus_shown_ = nullptr;  // the control the focus mark was last drawn around
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

LRESULT CALLBACK ChoiceProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (dialog) return dialog->HandleChoice(window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

// A vertical scroll bar's Left and Right keys move it like Up and Down; here Right raises the
// number as Up does, in both dialogs alike.
WNDPROC g_scroll_bar_procedure = nullptr;
LRESULT CALLBACK BarProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_KEYDOWN && (wparam == VK_LEFT || wparam == VK_RIGHT)) {
    SendMessageW(GetParent(window), WM_VSCROLL, wparam == VK_RIGHT ? SB_LINEUP : SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(window));
    return 0;
  }
  return CallWindowProcW(g_scroll_bar_procedure, window, message, wparam, lparam);
}

void Dialog::MakeChoice(Group group, int index, const RECT& mark, const RECT& caption,
                        std::string_view text, DWORD style) {
  Choice choice{nullptr, group, index, mark, caption, Widen(text)};
  // The layout's widths were measured with another font: a caption that needs more room gets it.
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, group == Group::kLink ? link_font_ : font_);
  SIZE size{};
  GetTextExtentPoint32W(screen, choice.text.c_str(), static_cast<int>(choice.text.size()), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  choice.caption.right = std::max(choice.caption.right, choice.caption.left + size.cx + 2);
  RECT area = choice.caption;
  if (group != Group::kLink) UnionRect(&area, &choice.mark, &choice.caption);
  choices_.push_back(choice);
  HWND window = CreateWindowExW(0, kChoiceClass, choice.text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                area.left, area.top, area.right - area.left, area.bottom - area.top,
                                window_, nullptr, GetModuleHandleW(nullptr), this);
  choices_.back().window = window;
}

Dialog::Choice* Dialog::ChoiceOf(HWND window) {
  for (Choice& choice : choices_)
    if (choice.window == window) return &choice;
  return nullptr;
}

RadioMark Dialog::MarkOf(const Choice& choice) const {
  if (choice.group == Group::kMusic) return model_.MusicMark(choice.index);
  if (choice.group == Group::kAtlas) return model_.AtlasMark(choice.index);
  return RadioMark::kBlank;
}

void Dialog::Choose(const Choice& choice) {
  if (choice.group == Group::kMusic) model_.ChooseMusicSource(choice.index);
  if (choice.group == Group::kAtlas) model_.ChooseAtlas(choice.index);
  ShowModel();
}

LRESULT Dialog::HandleChoice(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Choice* choice = ChoiceOf(window);
  if (!choice) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetWindowRect(window, &area);
      MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
      // Drawn in the dialog's coordinates, over the panel's own gradient.
      SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
      PaintPanel(dc, choice->group == Group::kMusic ? form::kMusicPanel : form::kDisplayPanel,
                 choice->group == Group::kMusic ? 1 : 15);
      if (const RadioMark mark = MarkOf(*choice); mark != RadioMark::kBlank) {
        // Its designed 12 x 12 pixels at 96 dots an inch, scaled only above that: the mark's
        // place on the form is 13 pixels there, and stretching would double a row and column.
        const int size = MulDiv(12, dpi_, 96);
        BlendRgba(dc, mark == RadioMark::kOn ? RadioOnImage() : RadioOffImage(), choice->mark.left,
                  choice->mark.top, size, size);
      }
      HGDIOBJ old_font = SelectObject(dc, choice->group == Group::kLink ? link_font_ : font_);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, choice->group == Group::kLink ? RGB(0, 0, 160) : RGB(0, 0, 0));
      RECT text = choice->caption;
      DrawTextW(dc, choice->text.c_str(), static_cast<int>(choice->text.size()), &text,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old_font);
      if (GetFocus() == window) {
        HBRUSH frame = CreateSolidBrush(kFocusColour);
        RECT box = choice->caption;
        FrameRect(dc, &box, frame);
        InflateRect(&box, -1, -1);
        FrameRect(dc, &box, frame);
        DeleteObject(frame);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      if (choice->group == Group::kLink)
        OpenHomePage();
      else
        Choose(*choice);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      // A group of choices takes the arrows, moving and choosing inside it; the link takes
      // Enter.
      if (choice->group != Group::kLink) return DLGC_WANTARROWS;
      if (const auto* key = reinterpret_cast<const MSG*>(lparam);
          key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE || (wparam == VK_RETURN && choice->group == Group::kLink)) {
        if (choice->group == Group::kLink)
          OpenHomePage();
        else
          Choose(*choice);
        return 0;
      }
      if (choice->group != Group::kLink &&
          (wparam == VK_UP || wparam == VK_LEFT || wparam == VK_DOWN || wparam == VK_RIGHT)) {
        // The choices of a group stand in the list in their order on the form.
        std::vector<HWND> group;
        for (const Choice& other : choices_)
          if (other.group == choice->group) group.push_back(other.window);
        const auto at =
            static_cast<int>(std::find(group.begin(), group.end(), window) - group.begin());
        const int step = wparam == VK_UP || wparam == VK_LEFT ? -1 : 1;
        const int n = static_cast<int>(group.size());
        HWND next = group[static_cast<size_t>((at + step + n) % n)];
        Choose(*ChoiceOf(next));
        SetFocus(next);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (choice->group == Group::kLink) {
        // The program's own pointing hand, its hot spot on the index finger's tip.
        SetCursor(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(2)));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool Dialog::Create(HWND owner) {
  HDC screen = GetDC(nullptr);
  dpi_ = std::max(96, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  font_ = MakeDialogFont(dpi_, false);
  link_font_ = MakeDialogFont(dpi_, true);
  value_brush_ = CreateSolidBrush(kValueBoxColour);

  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = DialogProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));
  c.hIconSm = static_cast<HICON>(LoadImageW(c.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = kDialogClass;
  RegisterClassExW(&c);

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

  WNDCLASSW choice_class{};
  choice_class.lpfnWndProc = ChoiceProcedure;
  choice_class.hInstance = c.hInstance;
  choice_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  choice_class.lpszClassName = kChoiceClass;
  RegisterClassW(&choice_class);

  // Created in the tab order: the music panel's controls, then the bars, the atlas choices, the
  // link and the buttons. Each group of choices is one stop, taken in the order the choices
  // stand on the form (the music sources top to bottom); every other control starts a group of
  // its own, so the arrows move only inside a group of choices.
  model_.Load();
  for (int i : {1, 0, 2})
    MakeChoice(Group::kMusic, i, Rect(form::SourceMark(i), form::kMusicPanel),
               Rect(form::SourceCaption(i), form::kMusicPanel),
               Pick(form::kSourceTexts[static_cast<size_t>(i)], language_), i == 1 ? WS_GROUP : 0);
  repeat_ = MakeControl(
      L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
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
  add_button(form::kChooseFileButton, form::kMusicPanel, Pick(form::kChooseFileText, language_),
             [this] { ChooseMusicFile(); });
  // Read-only, but it takes the focus and its text can be selected and copied.
  file_ = MakeControl(L"EDIT", ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP,
                      Rect(form::kFileBox, form::kMusicPanel), 101);
  for (int i = 0; i < kBarCount; ++i) {
    const auto n = static_cast<size_t>(i);
    bars_[n] = MakeControl(L"SCROLLBAR", SBS_VERT | WS_TABSTOP | WS_GROUP,
                           Rect(form::Bar(i), form::kDisplayPanel), 200 + i);
    g_scroll_bar_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(bars_[n], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BarProcedure)));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    info.nMin = model_.Bar(i).Min();
    info.nMax = model_.Bar(i).Max();
    info.nPage = 0;
    info.nPos = info.nMax;  // the design value, the smallest number, at the bottom
    SetScrollInfo(bars_[n], SB_CTL, &info, FALSE);
    bar_texts_[n] = MakeControl(L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_BORDER,
                                Rect(form::BarValueBox(i), form::kDisplayPanel), 300 + i);
  }
  for (int i = 0; i < 2; ++i)
    MakeChoice(Group::kAtlas, i, Rect(form::KindMark(i), form::kDisplayPanel),
               Rect(form::KindCaption(i), form::kDisplayPanel),
               Pick(form::kKindTexts[static_cast<size_t>(i)], language_), i == 0 ? WS_GROUP : 0);
  MakeChoice(Group::kLink, 0, RECT{}, Rect(form::kLink, form::kDisplayPanel),
             Pick(form::kLinkText, language_), WS_TABSTOP | WS_GROUP);
  add_button(form::kSetButton, form::kDisplayPanel, Pick(form::kSetText, language_),
             [this] { Close(true); });
  add_button(form::kCancelButton, form::kDisplayPanel, Pick(form::kCancelText, language_),
             [this] { Close(false); });
  for (auto& button : buttons_)
    SetWindowLongPtrW(button->Window(), GWL_STYLE,
                      GetWindowLongPtrW(button->Window(), GWL_STYLE) | WS_GROUP);

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
    if (bars_[n]) SetScrollPos(bars_[n], SB_CTL, BarPosition(i, model_.Bar(i).Value()), TRUE);
    if (bar_texts_[n]) SetWindowTextW(bar_texts_[n], Widen(model_.BarText(i)).c_str());
  }
  if (file_) SetWindowTextW(file_, Widen(model_.FileText()).c_str());
  // Tab stops once in each group of choices, at its chosen one (the first when none is).
  for (const Group group : {Group::kMusic, Group::kAtlas}) {
    HWND first = nullptr, stop = nullptr;
    for (const Choice& choice : choices_) {
      if (choice.group != group) continue;
      if (!first) first = choice.window;
      if (MarkOf(choice) == RadioMark::kOn) stop = choice.window;
    }
    if (!stop) stop = first;
    for (const Choice& choice : choices_) {
      if (choice.group != group || !choice.window) continue;
      const LONG_PTR style = GetWindowLongPtrW(choice.window, GWL_STYLE);
      SetWindowLongPtrW(choice.window, GWL_STYLE,
                        choice.window == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
      InvalidateRect(choice.window, nullptr, FALSE);
    }
  }
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
  PaintText(dc, Rect(form::kMusicHeading, form::kMusicPanel),
            Pick(form::kMusicHeadingText, language_), DT_CENTER);
  PaintText(dc, Rect(form::kRepeatCaption, form::kMusicPanel),
            Pick(form::kRepeatCaptionText, language_), DT_LEFT);
  for (int i = 0; i < kBarCount; ++i) {
    outline(form::BarOutline(i), form::kDisplayPanel);
    PaintText(dc, Rect(form::BarHeading(i), form::kDisplayPanel),
              Pick(form::kBarHeadings[static_cast<size_t>(i)], language_), DT_CENTER);
  }
  outline(form::kKindOutline, form::kDisplayPanel);
  PaintText(dc, Rect(form::kKindHeading, form::kDisplayPanel),
            Pick(form::kKindHeadingText, language_), DT_CENTER);
  PaintText(dc, Rect(form::kCredit, form::kDisplayPanel), std::string("Vexlum ") + VEXLUM_VERSION,
            DT_LEFT);
  // The scroll bars, the repeat box and the file box show the focus faintly or not at all:
  // a frame around the focused one, on the dialog's own surface.
  HWND focus = GetFocus();
  if (focus && GetParent(focus) == repeat_) focus = repeat_;
  for (HWND control : {repeat_, file_, bars_[0], bars_[1], bars_[2], bars_[3]}) {
    if (control != focus) continue;
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
    InflateRect(&box, 2, 2);
    HBRUSH frame = CreateSolidBrush(kFocusColour);
    FrameRect(dc, &box, frame);
    InflateRect(&box, -1, -1);
    FrameRect(dc, &box, frame);
    DeleteObject(frame);
  }
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
  // The bar stands upside down: ▲ and the top are the larger numbers.
  int value = BarPosition(i, info.nPos);
  switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP:
      ++value;
      break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
      --value;
      break;
    case SB_TOP:
      value = info.nMax;
      break;
    case SB_BOTTOM:
      value = info.nMin;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = BarPosition(i, info.nTrackPos);
      break;
    default:
      return;
  }
  value = std::clamp(value, info.nMin, info.nMax);
  SetScrollPos(bar, SB_CTL, BarPosition(i, value), TRUE);
  model_.SetBar(i, value);
  SetWindowTextW(bar_texts_[static_cast<size_t>(i)], Widen(model_.BarText(i)).c_str());
}

void Dialog::OpenHomePage() {
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
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  SetCursor(old);
  // Above 32 it started; anything else means nothing could open it.
  if (opened <= 32)
    windows_.MessageBox(std::string(texts::kCannotOpen.japanese) + "\n" + Narrow(address),
                        form::kMessageTitle, kMbIconExclamation);
}

void Dialog::ChooseMusicFile() {
  std::wstring name(32768, L'\0');
  const std::wstring title = Widen(Pick(form::kChooserTitle, language_));
  std::wstring filter = Widen(Pick(form::kChooserFilter, language_));
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

void Dialog::FollowFocus() {
  HWND focus = GetFocus();
  if (focus == focus_shown_) return;
  focus_shown_ = focus;
  InvalidateRect(window_, nullptr, FALSE);
}

void Dialog::Close(bool save) {
  if (save) model_.Save(profile_, SettingsFileForSaving(settings_file_));
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
        POINT cursor{0, 0};
        if (!GetCursorPos(&cursor)) cursor = POINT{0, 0};  // the zoom then starts at the corner
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
      // Esc reaches here as Cancel and closes the dialog as its close box does, writing
      // nothing. Enter outside a button reaches here as OK and does nothing.
      if (LOWORD(wparam) == IDCANCEL && lparam == 0) Close(false);
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, kValueBoxColour);
      return reinterpret_cast<LRESULT>(value_brush_);
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
    if (!IsWindow(dialog.Window()) || !IsDialogMessageW(dialog.Window(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (IsWindow(dialog.Window())) dialog.FollowFocus();
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  return 0;
}

}  // namespace vx
