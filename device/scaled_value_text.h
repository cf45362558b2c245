#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device {

// The value fields of the setpoints page show raw counts (a single holding the
// shown number times 10^d) in four character positions with the decimal point
// of code d fixed by the field's mask. What does not fit four positions is
// shown in full without a mask, so that nothing shown differs from what the
// instrument holds.
inline constexpr int kValuePositions = 4;
inline constexpr int kNoMask = -1;

// 0..3: a code with a list item, a mask and a scale.
bool IsDecimalPointCode(int code);

struct ValueFieldText {
  std::string text;    // the field's characters, the point included
  int mask = kNoMask;  // decimal-point code of the field's mask, or kNoMask
  bool operator==(const ValueFieldText&) const = default;
};

// A raw count as the field shows it: rounded to a whole number (halves to
// even), four digits with "-" in place of the first for a negative count, the
// point before the last d of them (123 with d = 1: "012.3"; -12: "-01.2").
// Counts below -999 or above 9999, non-numbers, and codes without a scale show
// unmasked.
ValueFieldText RawCountText(float rawCount, int decimalPoint);

// A field under another code: its characters kept, only the point moved
// ("012.3" under d = 2 is "01.23").
ValueFieldText RelaidValueText(std::string_view fieldText, int decimalPoint);

// Whether a typed text is one the field's mask of code d takes: at most
// 4 - d characters before the point (the first may be a sign, the others are
// digits), at most d digits after it, either separator, blanks around it.
// The mask is what stops "085.05" or "1e30" in the window.
bool FitsValueField(std::string_view text, int decimalPoint);

// The raw count of a field's text under code d: either separator accepted,
// blanks around the number allowed, the product with 10^d rounded to single.
// Empty for anything else, a code without a scale, or a count beyond a single.
std::optional<float> RawCountOf(std::string_view fieldText, int decimalPoint,
                                std::string_view separator);

}  // namespace device
