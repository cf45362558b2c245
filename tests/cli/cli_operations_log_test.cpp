// ulm5-cli's writes in the log of writes: one line per run with the
// registers and bytes the instrument received and what became of each; a
// log that cannot be written costs a warning and nothing else.

#include <stdlib.h>

#include <functional>

#include "cli_fixture.h"
#include "modbus/frame_codec.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  if (from < text.size()) parts.push_back(text.substr(from));
  return parts;
}

// The writes the instrument received, as the log writes them, with what
// the program made of each answer.
std::string receivedWrites(const sim::Simulator& simulator) {
  std::string text;
  for (const sim::LoggedRequest& r : simulator.requestLog()) {
    if (r.function != 0x10) continue;
    std::string bytes = modbus::HexDump(r.data);
    bytes.pop_back();
    const char* fate = r.how == sim::LoggedRequest::Answer::kNormal ? "записано"
                       : r.how == sim::LoggedRequest::Answer::kSilent
                           ? "отправлено, не подтверждено"
                           : "не записано";
    text += (text.empty() ? "" : "; ") + std::string("HR ") + std::to_string(r.start) +
            (r.count > 1 ? ".." + std::to_string(r.start + r.count - 1) : "") + " = " + bytes +
            " (" + fate + ")";
  }
  return text;
}

TEST_F(CliAgainstSimulator, EachRunThatWritesIsALineAndAnUnwritableLogOnlyWarns) {
  const std::string state = path("Состояние оператора");
  const std::string log = state + "/ulm5/operations.log";
  const std::string blocked = path("Занято");
  std::filesystem::create_directories(blocked);
  write(blocked + "/ulm5", "a file where the folder would be");
  // A run that writes nothing adds no line.
  const std::string backup = path("копия.json");
  ASSERT_EQ(run(at("115200", {"--fast", "backup", backup})).code, 0);
  ASSERT_FALSE(std::filesystem::exists(log));
  const std::string serial = std::to_string(simulator_.instrument().serialNumber());

  const struct {
    std::vector<std::string> command;
    std::function<void()> fault;
    int code;
    std::string serial;  // known once the run has identified the instrument
    const char* outcome;
  } runs[] = {
      {{"--fast", "restore", backup}, [] {}, 0, serial, "записано"},
      {{"--fast", "clock", "--set-now"},
       [&] { simulator_.setSilentAfter(0); },
       4,
       "-",
       "отправлено, не подтверждено"},
      {{"--fast", "clock", "--set-now"},
       [&] { simulator_.setExceptionAt(1); },
       6,
       "-",
       "не записано"},
  };
  size_t lines = 0;
  for (const auto& r : runs) {
    SCOPED_TRACE(r.command.back());
    for (const bool writable : {true, false}) {
      SCOPED_TRACE(writable ? "writable log" : "unwritable log");
      ::setenv("XDG_STATE_HOME", (writable ? state : blocked).c_str(), 1);
      simulator_.clearRequestLog();
      r.fault();
      const Result run = this->run(at("115200", r.command));
      simulator_.setSilentAfter(-1);
      simulator_.setExceptionAt(0);
      EXPECT_EQ(run.code, r.code) << run.err;
      const std::vector<std::string> logged = split(read(log), '\n');
      const std::string warning =
          "ulm5-cli: warning: the log of writes was not written (Журнал не записан): cannot "
          "make the folder " +
          blocked + "/ulm5: ";
      if (!writable) {
        EXPECT_TRUE(has(run.err, warning)) << run.err;
        EXPECT_EQ(logged.size(), lines);
        continue;
      }
      EXPECT_FALSE(has(run.err, "warning")) << run.err;
      ASSERT_EQ(logged.size(), ++lines);
      const std::vector<std::string> fields = split(logged.back(), '\t');
      ASSERT_EQ(fields.size(), 8u) << logged.back();
      EXPECT_EQ(
          std::vector<std::string>(fields.begin() + 1, fields.end()),
          (std::vector<std::string>{"ulm5-cli", simulator_.devicePath(), "адрес 0", "№ " + r.serial,
                                    r.command[1], receivedWrites(simulator_), r.outcome}));
    }
  }
}

}  // namespace
