#include "cli/native_file_name.h"

namespace cli {

// File names are bytes here; UTF-8 text is used as it is.
std::filesystem::path NativeFileName(const std::string& utf8Name) { return utf8Name; }

}  // namespace cli
