#include "startup/ini_profile_strings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/cp932.h"
#include "ports/profile_strings.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) {
             return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
           };
           return lower(x) == lower(y);
         });
}

// The spellings under which a key may stand in a file: as given (UTF-8) and in CP932.
struct KeyNames {
  explicit KeyNames(std::string_view key)
      : utf8(key), cp932(Utf8ToCp932(key).value_or(std::string(key))) {}
  bool Match(std::string_view name) const {
    return EqualsNoCase(name, utf8) || EqualsNoCase(name, cp932);
  }
  std::string utf8, cp932;
};

struct Parsed {
  std::vector<std::string> lines;
  bool crlf = false;
};

std::optional<std::string> ReadAll(const std::string& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(ss).str();
}

Parsed Split(const std::string& content) {
  Parsed p;
  size_t start = 0;
  while (start < content.size()) {
    size_t nl = content.find('\n', start);
    if (nl == std::string::npos) {
      p.lines.push_back(content.substr(start));
      break;
    }
    size_t end = nl;
    if (end > start && content[end - 1] == '\r') {
      --end;
      p.crlf = true;
    }
    p.lines.push_back(content.substr(start, end - start));
    start = nl + 1;
  }
  return p;
}

// "[name]" -> name; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  std::string_view name = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
  return Trim(name);
}

// "key=value" -> key; nullopt for comments and lines without '='.
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
}

// Index range [begin, end) of the body of the first section with this name; begin is the
// header's index. nullopt when absent.
std::optional<std::pair<size_t, size_t>> FindSection(const std::vector<std::string>& lines,
                                                     std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !EqualsNoCase(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

}  // namespace

std::string IniProfileStrings::GetString(std::string_view section, std::string_view key,
                                         const std::string& file) {
  auto content = ReadAll(file);
  if (!content) return {};
  Parsed p = Split(*content);
  auto range = FindSection(p.lines, section);
  if (!range) return {};
  KeyNames names(key);
  for (size_t i = range->first + 1; i < range->second; ++i) {
    auto name = KeyName(p.lines[i]);
    if (!name || !names.Match(*name)) continue;
    std::string_view t = Trim(p.lines[i]);
    std::string_view value = Trim(t.substr(t.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return {};
}

bool IniProfileStrings::WriteString(std::string_view section, std::string_view key,
                                    std::string_view value, const std::string& file) {
  std::error_code ec;
  if (fs::exists(file, ec) && !fs::is_regular_file(file, ec)) return false;
  auto content = ReadAll(file);
  Parsed p = content ? Split(*content) : Parsed{};
  KeyNames names(key);
  const std::string entry = names.cp932 + "=" + std::string(value);

  if (auto range = FindSection(p.lines, section)) {
    size_t insert_at = range->first + 1;
    bool replaced = false;
    for (size_t i = range->first + 1; i < range->second; ++i) {
      if (auto name = KeyName(p.lines[i]); name && names.Match(*name)) {
        p.lines[i] = entry;
        replaced = true;
        break;
      }
      if (!Trim(p.lines[i]).empty()) insert_at = i + 1;
    }
    if (!replaced) p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(insert_at), entry);
  } else {
    p.lines.push_back("[" + std::string(section) + "]");
    p.lines.push_back(entry);
  }

  const char* eol = p.crlf ? "\r\n" : "\n";
  std::string out;
  for (const auto& line : p.lines) out += line + eol;
  // Write beside the file and rename over it, so an interrupted write never leaves half a file.
  const std::string temp = file + ".tmp";
  {
    std::ofstream o(temp, std::ios::binary | std::ios::trunc);
    if (!o) return false;
    o.write(out.data(), static_cast<std::streamsize>(out.size()));
    o.close();
    if (!o) {
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, file, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace vx
