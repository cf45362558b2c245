#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/terminal.h"
#include "device/message_sink.h"

namespace cli {

// The device operations' messages as lines on the error stream, in English
// with the Russian text alongside. Confirmations can be kept quiet where a
// command reports its own result.
class TerminalSink final : public device::MessageSink {
 public:
  explicit TerminalSink(Terminal& terminal) : terminal_(terminal) {}

  void error(const std::string& text) override;
  void confirmation(const std::string& text) override;

  // A line of the program's own ("note: ...", "error: ...").
  void note(const std::string& text);
  void fail(const std::string& text);

  void setConfirmationsShown(bool shown) { confirmationsShown_ = shown; }
  // What is added to a failure of the link ("no connection", "cannot open
  // the port"): its cause, or nothing.
  void setCauseOfFailure(std::function<std::string()> cause) { cause_ = std::move(cause); }
  // The progress line, redrawn in place on a terminal and ended before any
  // other message.
  void progress(const std::string& text);
  void endProgress();
  const std::vector<std::string>& errors() const { return errors_; }
  // The text of the last "error:" line, for a summary that names the cause.
  const std::string& lastFailure() const { return lastFailure_; }

 private:
  Terminal& terminal_;
  bool confirmationsShown_ = true;
  bool progressShown_ = false;
  std::function<std::string()> cause_;
  std::vector<std::string> errors_;
  std::string lastFailure_;
};

}  // namespace cli
