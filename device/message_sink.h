#pragma once

#include <string>

namespace device {

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kConfirmationCaption = "ULM5";

// Where operations report. Both kinds are modal boxes with one OK button:
// an error with the caption kErrorCaption and the error icon, a confirmation
// with kConfirmationCaption and no icon. Texts are UTF-8 and plain (never rich
// text).
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void error(const std::string& text) = 0;
  virtual void confirmation(const std::string& text) = 0;
};

}  // namespace device
