#include "platform/windows/win32_wide_text.h"

#include <windows.h>

#include "core/utf8_path.h"

namespace vx {

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  // Text that is not UTF-8 (a file name an older program stored in the settings file) is in
  // the system's code page, as that program wrote it.
  const UINT code_page = IsValidUtf8(text) ? CP_UTF8 : CP_ACP;
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), length);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace vx
