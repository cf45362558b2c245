#pragma once

#include <filesystem>
#include <string>

namespace cli {

// The name under which the system's file calls find a file that the user
// named in UTF-8 text, as the program's arguments are on every system. Every
// file the program opens, renames or removes is named through it: Windows'
// narrow file calls take the ANSI code page, not UTF-8, so there the name is
// UTF-16, in the long form past the length of a plain path.
std::filesystem::path NativeFileName(const std::string& utf8Name);

}  // namespace cli
