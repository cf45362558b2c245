#include "cli/terminal_sink.h"

#include "cli/english_messages.h"

namespace cli {

namespace {

constexpr const char* kProgram = "ulm5-cli: ";

}  // namespace

void TerminalSink::error(const std::string& text) {
  errors_.push_back(text);
  fail(EnglishMessage(text));
}

void TerminalSink::confirmation(const std::string& text) {
  if (confirmationsShown_) note(EnglishMessage(text));
}

void TerminalSink::note(const std::string& text) { terminal_.err << kProgram << text << std::endl; }

void TerminalSink::fail(const std::string& text) {
  terminal_.err << kProgram << "error: " << text << std::endl;
}

}  // namespace cli
