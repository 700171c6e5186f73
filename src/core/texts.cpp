#include "core/texts.h"

namespace vx {
namespace {

bool IsSet(const char* value) {
  return value != nullptr && *value != '\0';
}

bool IsJapanese(std::string_view locale) {
  return locale == "ja" || locale.starts_with("ja_") || locale.starts_with("ja.") ||
         locale.starts_with("ja@");
}

}  // namespace

std::string Localize(std::string_view message, Language language) {
  if (language == Language::kJapanese) return std::string(message);
  std::string out;
  for (size_t start = 0; start <= message.size();) {
    const size_t end = std::min(message.find('\n', start), message.size());
    std::string_view line = message.substr(start, end - start);
    for (const Text& text : texts::kMessages)
      if (line == text.japanese) line = text.english;
    out += line;
    if (end < message.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

Language LanguageOfLocale(const char* language, const char* lc_all, const char* lc_messages,
                          const char* lang) {
  const char* locale = IsSet(lc_all) ? lc_all : IsSet(lc_messages) ? lc_messages : lang;
  const std::string_view chosen = IsSet(locale) ? locale : "C";
  if (IsSet(language) && chosen != "C" && chosen != "POSIX" && !chosen.starts_with("C.")) {
    const std::string_view list = language;
    return IsJapanese(list.substr(0, list.find(':'))) ? Language::kJapanese : Language::kEnglish;
  }
  return IsJapanese(chosen) ? Language::kJapanese : Language::kEnglish;
}

}  // namespace vx
