#pragma once

namespace cli {

// What --version prints after the program's name.
inline constexpr const char* kProgramVersion = "1.1.0";

}  // namespace cli
