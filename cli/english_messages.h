#pragma once

#include <string>
#include <string_view>

namespace cli {

// A message of the device operations in English with the window's Russian
// text alongside: "no connection with the instrument (Нет связи с
// прибором)". A text without a translation is given as it is.
std::string EnglishMessage(std::string_view russian);

}  // namespace cli
