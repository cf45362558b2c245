#include "settings/profile_text.h"

#include <charconv>

namespace settings {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::string_view> sectionName(std::string_view line) {
  const std::string_view t = trimmed(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trimmed(t.substr(1, close - 1));
}

// Key of a "key=value" line; comments (";") and lines without "=" have none.
std::optional<std::string_view> keyName(std::string_view line) {
  const std::string_view t = trimmed(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const size_t eq = t.find('=');
  if (eq == 0 || eq == std::string_view::npos) return std::nullopt;
  return trimmed(t.substr(0, eq));
}

struct KeyPosition {
  std::optional<size_t> sectionLine;
  size_t lastEntryLine = 0;  // last non-blank line of the section
  std::optional<size_t> keyLine;
};

KeyPosition locate(const std::vector<std::string>& lines, std::string_view section,
                   std::string_view key) {
  KeyPosition pos;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = sectionName(lines[i])) {
      if (inSection) break;  // only the first section of that name counts
      inSection = sameName(*name, section);
      if (inSection) pos.sectionLine = pos.lastEntryLine = i;
      continue;
    }
    if (!inSection) continue;
    if (!trimmed(lines[i]).empty()) pos.lastEntryLine = i;
    const auto name = keyName(lines[i]);
    if (name && sameName(*name, key)) {
      pos.keyLine = i;
      break;
    }
  }
  return pos;
}

std::string unquoted(std::string_view value) {
  value = trimmed(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

ProfileText ProfileText::parse(std::string_view text) {
  ProfileText profile;
  // Notepad begins a UTF-8 file with a byte-order mark: it is no part of the
  // first section's name, and it is written back as it came.
  if (text.starts_with(kByteOrderMark)) {
    profile.byteOrderMark_ = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  profile.crlf_ = text.find("\r\n") != std::string_view::npos;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    profile.lines_.emplace_back(line);
    start = end + 1;
  }
  return profile;
}

std::optional<std::string> ProfileText::value(std::string_view section,
                                              std::string_view key) const {
  const KeyPosition pos = locate(lines_, section, key);
  if (!pos.keyLine) return std::nullopt;
  const std::string& line = lines_[*pos.keyLine];
  return unquoted(std::string_view(line).substr(line.find('=') + 1));
}

std::optional<int> ProfileText::integer(std::string_view section, std::string_view key) const {
  const auto text = value(section, key);
  if (!text) return std::nullopt;
  std::string_view digits = trimmed(*text);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return number;
}

void ProfileText::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const KeyPosition pos = locate(lines_, section, key);
  if (pos.keyLine) {
    std::string& line = lines_[*pos.keyLine];
    line = std::string(trimmed(std::string_view(line).substr(0, line.find('=')))) + '=' +
           std::string(value);
  } else if (pos.sectionLine) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos.lastEntryLine + 1),
                  std::string(key) + '=' + std::string(value));
  } else {
    lines_.push_back('[' + std::string(section) + ']');
    lines_.push_back(std::string(key) + '=' + std::string(value));
  }
}

std::string ProfileText::text() const {
  const std::string_view eol = crlf_ ? "\r\n" : "\n";
  std::string text(byteOrderMark_ ? kByteOrderMark : std::string_view());
  for (const std::string& line : lines_) {
    text += line;
    text += eol;
  }
  return text;
}

}  // namespace settings
