#pragma once

#include <string_view>
#include <vector>

namespace device {

// The characters of a UTF-8 text, each as the bytes that encode it. Field
// texts are counted in characters: a locale's separator may take more than one
// byte.
std::vector<std::string_view> Utf8Characters(std::string_view text);

}  // namespace device
