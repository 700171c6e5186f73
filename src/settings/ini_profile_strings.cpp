#include "settings/ini_profile_strings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "core/cp932.h"
#include "core/utf8_path.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
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

enum class FileRead { kMissing, kRead, kUnreadable };

// A file that exists but cannot be read (a folder, a device, no permission) is told apart from
// a missing one: the first must never be replaced by a write.
FileRead ReadAll(const fs::path& file, std::string& content) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (status.type() == fs::file_type::not_found) return FileRead::kMissing;
  // Only regular files are opened: a FIFO or a device would block or never end.
  if (ec || status.type() != fs::file_type::regular) return FileRead::kUnreadable;
  std::ifstream in(file, std::ios::binary);
  if (!in) return FileRead::kUnreadable;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return FileRead::kUnreadable;
  content = std::move(ss).str();
  return FileRead::kRead;
}

// Walks the lines of a file's content: CR LF, LF and a lone CR all end a line, as editors on
// every platform write them. A UTF-8 byte-order mark at the start is not part of the first line.
class LineReader {
 public:
  explicit LineReader(std::string_view content) : rest_(content) {
    if (rest_.substr(0, kBom.size()) == kBom) rest_.remove_prefix(kBom.size());
  }
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const size_t end = rest_.find_first_of("\r\n");
    line = rest_.substr(0, end);
    if (end == std::string_view::npos) {
      rest_ = {};
    } else {
      const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
      rest_.remove_prefix(end + (crlf ? 2 : 1));
    }
    return true;
  }

 private:
  std::string_view rest_;
};

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

// The line end a rewrite keeps: the file's own, CR LF for a new or one-line file.
std::string_view LineEnd(std::string_view content) {
  if (content.find("\r\n") != std::string_view::npos) return "\r\n";
  if (content.find('\n') != std::string_view::npos) return "\n";
  if (content.find('\r') != std::string_view::npos) return "\r";
  return "\r\n";
}

// The file a write must change: a link is followed to the file it names, so the link stays.
fs::path WriteTarget(const fs::path& file) {
  fs::path target = file;
  std::error_code ec;
  for (int hop = 0; hop < 40 && fs::is_symlink(target, ec); ++hop) {
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::string IniProfileStrings::GetString(std::string_view section, std::string_view key,
                                         const std::string& file) {
  std::string content;
  if (ReadAll(Utf8Path(file), content) != FileRead::kRead) return {};
  const KeyNames names(key);
  LineReader lines(content);
  std::string_view line;
  bool in_section = false;
  while (lines.Next(line)) {
    if (auto name = SectionName(line)) {
      // The first section of that name holds the value; a later one of the same name does not.
      if (in_section) return {};
      in_section = EqualsNoCase(*name, section);
      continue;
    }
    if (!in_section) continue;
    auto name = KeyName(line);
    if (!name || !names.Match(*name)) continue;
    std::string_view t = Trim(line);
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
  // A line break in any of them would split the line and change other keys.
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  const fs::path target = WriteTarget(Utf8Path(file));
  std::string content;
  const FileRead read = ReadAll(target, content);
  if (read == FileRead::kUnreadable) return false;

  const bool bom = std::string_view(content).substr(0, kBom.size()) == kBom;
  const std::string_view eol = LineEnd(content);
  std::vector<std::string_view> lines;
  LineReader reader(content);
  for (std::string_view line; reader.Next(line);) lines.push_back(line);

  const KeyNames names(key);
  const std::string entry = names.cp932 + "=" + std::string(value);
  size_t header = lines.size(), end = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !EqualsNoCase(*name, section)) continue;
    header = i;
    end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    break;
  }
  std::vector<std::string> added;  // storage for the lines this write adds
  added.reserve(2);
  if (header == lines.size()) {
    added.push_back("[" + std::string(section) + "]");
    added.push_back(entry);
    lines.push_back(added[0]);
    lines.push_back(added[1]);
  } else {
    added.push_back(entry);
    size_t insert_at = header + 1;
    bool replaced = false;
    for (size_t i = header + 1; i < end; ++i) {
      if (auto name = KeyName(lines[i]); name && names.Match(*name)) {
        lines[i] = added[0];
        replaced = true;
        break;
      }
      if (!Trim(lines[i]).empty()) insert_at = i + 1;
    }
    if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), added[0]);
  }

  std::string out(bom ? kBom : std::string_view());
  for (std::string_view line : lines) {
    out += line;
    out += eol;
  }

  std::error_code ec;
  if (read == FileRead::kMissing) fs::create_directories(target.parent_path(), ec);
  // Written beside the file and renamed over it, so an interrupted write never leaves half a
  // file; the new file keeps the old one's permissions.
  std::random_device random;
  fs::path temp = target;
  temp += ".tmp" + std::to_string(random());
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
  if (read == FileRead::kRead) {
    const fs::perms perms = fs::status(target, ec).permissions();
    if (!ec) fs::permissions(temp, perms, ec);
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace vx
