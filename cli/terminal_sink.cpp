#include "cli/terminal_sink.h"

#include "cli/english_messages.h"
#include "device/link_messages.h"
#include "device/measurement_poll.h"

namespace cli {

namespace {

constexpr const char* kProgram = "ulm5-cli: ";

}  // namespace

void TerminalSink::error(const std::string& text) {
  errors_.push_back(text);
  const bool linkFailure = text == device::kNoConnectionText || text == device::kNoAnswerText ||
                           text == device::kCannotOpenPortText;
  const std::string cause = linkFailure && cause_ ? cause_() : std::string();
  fail(EnglishMessage(text) + (cause.empty() ? "" : ": " + cause));
}

void TerminalSink::confirmation(const std::string& text) {
  if (confirmationsShown_) note(EnglishMessage(text));
}

void TerminalSink::note(const std::string& text) {
  endProgress();
  terminal_.err << kProgram << text << std::endl;
}

void TerminalSink::fail(const std::string& text) {
  lastFailure_ = text;
  endProgress();
  terminal_.err << kProgram << "error: " << text << std::endl;
}

void TerminalSink::progress(const std::string& text) {
  if (!terminal_.errIsTerminal) return;
  // Erasing to the end of the line wipes a longer text drawn before.
  terminal_.err << '\r' << kProgram << text << "\x1b[K" << std::flush;
  progressShown_ = true;
}

void TerminalSink::endProgress() {
  if (!progressShown_) return;
  progressShown_ = false;
  terminal_.err << '\n';
}

}  // namespace cli
