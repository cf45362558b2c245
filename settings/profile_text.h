#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The text of a settings file in the Windows initialization-file format:
// "[section]" lines and "key=value" lines. Section and key names compare
// without regard to (ASCII) case; only the first section of a name counts;
// every other line, comment and section is kept as it was, and so are the
// line ends (CRLF or LF) the text came with. Qt-free, so that the window's
// settings file and the command line read the same rules.
class ProfileText {
 public:
  static ProfileText parse(std::string_view text);

  // The value of the key, without blanks around it and one pair of quotes.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // A decimal integer value (blanks around it allowed); empty for a missing
  // key or any other text.
  std::optional<int> integer(std::string_view section, std::string_view key) const;

  // Rewrites the key's line (its stored spelling kept), or adds the key at the
  // end of its section, or adds the section at the end.
  void setValue(std::string_view section, std::string_view key, std::string_view value);

  std::string text() const;

 private:
  std::vector<std::string> lines_;
  bool crlf_ = false;
  bool byteOrderMark_ = false;
};

}  // namespace settings
