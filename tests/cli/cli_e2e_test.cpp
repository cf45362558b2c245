// ulm5-cli's main function against the simulator on a pseudo-terminal, with
// the exchanges on a tick scaled by 10: the standard set's response delay
// takes 200 ms of real time and its exchange delay 50 ms, against a 3 ms
// turnaround and replies written in one piece.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli_fixture.h"
#include "device/archive_csv.h"
#include "modbus/steady_tick.h"
#include "sim/simulator.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::singleBytes;
using json = nlohmann::ordered_json;

std::vector<std::string> namesIn(const std::string& diff) {
  std::vector<std::string> names;
  std::istringstream lines(diff);
  for (std::string line; std::getline(lines, line);)
    names.push_back(line.substr(0, line.find(':')));
  return names;
}

TEST_F(CliAgainstSimulator, BackupThenChangesShowInDiffAndRestoreUndoesThem) {
  const std::string backup = path("golden.json");
  const Result saved = run(at("115200", {"backup", backup}));
  ASSERT_EQ(saved.code, 0) << saved.err;

  // Changed behind the configurator's back, the speed included: the
  // instrument now listens at 9600 bit/s.
  sim::Instrument& instrument = simulator_.instrument();
  instrument.setHoldingBytes(13, singleBytes(777.0f));
  instrument.setHoldingBytes(126, std::string("\x01\x00", 2));
  instrument.setHoldingBytes(176, singleBytes(0.3f));
  instrument.setInterfaceBaudIndex(2);

  const Result diff = run(at("9600", {"diff", backup}));
  EXPECT_EQ(diff.code, 1) << diff.err;
  EXPECT_EQ(namesIn(diff.out),
            (std::vector<std::string>{"general.speed", "setpoint1.value",
                                      "coefficients.outputCurrent1", "coefficients.resistance1"}));
  EXPECT_NE(diff.out.find("setpoint1.value: file \"080.0\" [00 00 48 44], instrument \"077.7\" "
                          "[00 40 42 44]"),
            std::string::npos)
      << diff.out;

  const Result restore = run(at("9600", {"restore", "--with-link", backup}));
  EXPECT_EQ(restore.code, 0) << restore.err;
  EXPECT_EQ(instrument.interfaceBaudIndex(), 6);

  const Result after = run(at("115200", {"diff", backup}));
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_EQ(after.out, "");
}

TEST_F(CliAgainstSimulator, CoefficientsComeBackBitForBit) {
  // The extremes of a single and of the 16-bit coefficients.
  const std::vector<std::pair<int, std::string>> patterns = {
      {126, std::string("\x00\x80", 2)},  // -32768
      {130, std::string("\xFF\x7F", 2)},  // 32767
      {136, singleBytes(-123.456f)},
      {156, singleBytes(uint32_t{0x00000001})},  // the smallest subnormal
      {158, singleBytes(uint32_t{0x80000000})},  // negative zero
      {160, singleBytes(0.1f)},
      {162, singleBytes(uint32_t{0x7F7FFFFF})},  // the largest single
      {164, singleBytes(uint32_t{0x37800000})},  // 2^-16
      {176, singleBytes(uint32_t{0xFF7FFFFF})},
  };
  sim::Instrument& instrument = simulator_.instrument();
  for (const auto& [reg, bytes] : patterns) instrument.setHoldingBytes(reg, bytes);
  const std::string before = holding();

  const std::string backup = path("coefficients.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const json document = json::parse(read(backup));
  EXPECT_EQ(document["coefficients"]["range100mV5"]["value"], "1.52587890625E-5");
  EXPECT_EQ(document["coefficients"]["range100mV2"]["value"], "-0");
  EXPECT_EQ(document["coefficients"]["range100mV3"]["hex"], "CD CC CC 3D");

  for (const auto& [reg, bytes] : patterns) {
    instrument.setHoldingBytes(reg, std::string(bytes.size(), '\0'));
  }
  const Result restore = run(at("115200", {"restore", backup}));
  EXPECT_EQ(restore.code, 0) << restore.err;
  EXPECT_EQ(holding(), before);
}

TEST_F(CliAgainstSimulator, DamagedOrForeignBackupIsRefusedWithNothingSent) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const std::string text = read(backup);

  struct Case {
    const char* what;
    std::function<std::string()> file;
    const char* message;
  };
  const auto edited = [&](std::function<void(json&)> edit) {
    return [&text, edit] {
      json document = json::parse(text);
      edit(document);
      return document.dump(2);
    };
  };
  const std::vector<Case> cases = {
      {"cut short", [&] { return text.substr(0, text.size() / 2); }, "not JSON"},
      {"newer version", edited([](json& d) { d["version"] = 2; }), "newer ulm5-cli (version 2"},
      {"another instrument", edited([](json& d) {
         d["instrument"]["hex"] = "05 03 18 00 BB AA 03 00 0C 00 09 00";
         d["instrument"]["typeCode"] = 9;
       }),
       "another instrument (type code 9)"},
      {"a value missing", edited([](json& d) { d["setpoint3"].erase("zone"); }),
       "setpoint3.zone: missing"},
      {"text and bytes disagree",
       edited([](json& d) { d["setpoint1"]["value"]["value"] = "099.9"; }),
       "refused: setpoint1.value \"099.9\" would be written as 00 C0 79 44, the file holds 00 00 "
       "48 44"},
      {"a count four positions cannot carry",
       edited([](json& d) { d["setpoint2"]["value"]["hex"] = "00 00 48 41"; }),
       "refused: setpoint2.value"},
      {"a coefficient that is not a number", edited([](json& d) {
         d["coefficients"]["resistance1"]["hex"] = "00 00 C0 7F";
         d["coefficients"]["resistance1"]["value"] = "NAN";
       }),
       "coefficients.resistance1 cannot be written as it is: not a number (00 00 C0 7F)"},
      {"a reserved byte the window writes as 0",
       edited([](json& d) { d["setpoint4"]["reserved"]["hex"] = "05"; }),
       "setpoint4.reserved cannot be written as it is: reserved byte 05"},
  };
  const std::string before = holding();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = path("edited.json");
    write(file, c.file());
    const uint64_t served = simulator_.requestsServed();
    const Result restore = run(at("115200", {"restore", file}));
    EXPECT_EQ(restore.code, 5);
    EXPECT_NE(restore.err.find(c.message), std::string::npos) << restore.err;
    EXPECT_EQ(simulator_.requestsServed(), served);
    EXPECT_EQ(holding(), before);
  }

  // An instrument of another type is asked who it is, and nothing is written.
  simulator_.instrument().setTypeCode(9);
  const std::string typeNine = holding();
  const Result restore = run(at("115200", {"restore", backup}));
  EXPECT_EQ(restore.code, 5);
  EXPECT_NE(restore.err.find("the instrument is of type code 9"), std::string::npos) << restore.err;
  EXPECT_EQ(holding(), typeNine);
}

TEST_F(CliAgainstSimulator, CtrlCDuringTheArchiveKeepsWhatWasRead) {
  // Pressed once the fifth reply has come, while its exchange waits out the
  // response delay.
  std::atomic<bool> done{false};
  std::thread presser([&] {
    while (!done && simulator_.requestsServed() < 5) std::this_thread::yield();
    if (!done) ::kill(::getpid(), SIGINT);
  });
  const std::string file = path("archive.csv");
  const Result archive = run(at("115200", {"archive", "--count", "20", "--csv", file}));
  done = true;
  presser.join();

  EXPECT_EQ(archive.code, 130) << archive.err;
  EXPECT_EQ(simulator_.requestsServed(), 5u) << "no request after the cancel";
  EXPECT_NE(archive.err.find("cancelled: 5 of 20 records read"), std::string::npos) << archive.err;
  const auto grid = device::DecodeArchiveCsv(read(file));
  ASSERT_TRUE(grid.has_value());
  EXPECT_EQ(grid->header[1], "Дата,время");
  ASSERT_EQ(grid->rows.size(), 5u);
  for (size_t row = 0; row < grid->rows.size(); ++row) {
    EXPECT_EQ(grid->rows[row][0], std::to_string(row + 1));
    EXPECT_FALSE(grid->rows[row][1].empty());
  }
}

TEST_F(CliAgainstSimulator, ArgumentErrorsAndExitCodes) {
  const std::string settings = path("Configurator.ini");
  write(settings, "[Ports]\ncom1=" + simulator_.devicePath() + "\nCOM2=" + path("none") +
                      "\n[ULM5]\nCom=1\nBaud=6\n");
  // As Notepad saves it: a byte-order mark ahead of the first section.
  const std::string marked = path("Настройки.ini");
  write(marked, "\xEF\xBB\xBF[Ports]\nCOM7=" + simulator_.devicePath() + "\n");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{}, 2, "subcommand is required"},
      {{"--port", "COM1", "--baud", "1234", "find"}, 2, "--baud"},
      {{"--port", "ttyUSB0", "find"}, 2, "--port takes COM1 to COM32 or a device path"},
      {{"find"}, 2, "no port"},
      {{"--port", "COM1", "archive"}, 2, "--count is required"},
      {{"--port", "COM1", "archive", "--count", "0"}, 2, "--count"},
      {{"--port", "COM1", "clock", "--correction", "3"}, 2, "--correction goes with --set"},
      {{"--port", "COM1", "restore", path("absent.json")}, 2, "cannot read"},
      {{"--port", "COM1", "backup", path("absent/dir/b.json")}, 2, "cannot write"},
      {{"--settings", settings, "--port", "COM2", "find"},
       3,
       "cannot open the port (Не могу открыть порт)"},
      {{"--settings", settings, "clock", "--set", "01.02.26 10:20:30", "--correction", "10"},
       5,
       "invalid clock correction, not -9 to 9 (Неверный ввод значения коррекции)"},
      {{"--settings", settings, "--baud", "9600", "find"},
       4,
       "no connection with the instrument (Нет связи с прибором)"},
      {{"--settings", settings, "find", "--json"}, 0, ""},
      {{"--settings", marked, "--port", "COM7", "find", "--json"}, 0, ""},
      {{"--port", "COM1", "restore", "--only", "", "x.json"}, 2, "--only: an empty name"},
      {{"--port", "COM1", "watch", "--csv", "--json"}, 2, "--csv excludes --json"},
      {{"--port", "COM1", "--address"}, 2, "--address: 1 required TEXT missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Result result = run(c.args);
    EXPECT_EQ(result.code, c.code);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    // Every line the program writes is its own; every failure says so first.
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(line.starts_with("ulm5-cli: ") || line.starts_with("Run with --help")) << line;
    }
    EXPECT_EQ(result.err.find("ulm5-cli: error: ") != std::string::npos, c.code != 0) << result.err;
    if (c.code == 0) {
      EXPECT_EQ(json::parse(result.out)["serialNumber"], "240315");
    }
  }
}

TEST_F(CliAgainstSimulator, TheProgramEndsWithItsExitCode) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execl(ULM5_CLI_PATH, ULM5_CLI_PATH, "--port", simulator_.devicePath().c_str(), "find",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
