// The files ulm5-cli writes and reads, named as a Russian user's folders are:
// Cyrillic letters, blanks, and paths longer than Windows' plain limit of 260
// characters. Cross-built, this runs under Wine.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/backup_input.h"
#include "cli/connection_choice.h"
#include "cli/native_file_name.h"
#include "cli/output_file.h"
#include "cli/terminal_sink.h"

namespace cli {
namespace {

std::string utf8(const std::u8string& text) { return {text.begin(), text.end()}; }

// The names in a folder as the file system holds them, in UTF-8.
std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(NativeFileName(folder))) {
    names.push_back(utf8(entry.path().filename().u8string()));
  }
  return names;
}

class FileNames : public ::testing::Test {
 protected:
  FileNames() {
    const std::string unique = "ulm5-file-names-" + std::to_string(std::random_device()());
    root_ = utf8((std::filesystem::temp_directory_path() / unique).u8string());
  }
  ~FileNames() override { std::filesystem::remove_all(NativeFileName(root_)); }

  std::string root_;
};

TEST_F(FileNames, CyrillicBlanksAndLongPathsAreWrittenReplacedAndReadByTheirOwnNames) {
  const std::string folder = "Документы Ивана Петровича, копия";  // 33 letters
  struct Case {
    const char* what;
    std::string subfolder;
    std::string name;
    bool longPath = false;
  } cases[] = {
      {"Cyrillic letters", "Иван", "прибор.json"},
      {"blanks", "Иван Петров", "ulm5 копия 2.json"},
      {"past 260 characters", folder + "/" + folder + "/" + folder + "/" + folder + "/" + folder,
       "резервная копия настроек прибора ULM5 перед заменой платы (серийный номер 240315).json",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = root_ + "/" + c.subfolder;
    const std::string path = dir + "/" + c.name;
    std::filesystem::create_directories(NativeFileName(dir));
    if (c.longPath) {
      const std::string full = utf8(std::filesystem::absolute(NativeFileName(path)).u8string());
      const auto letters =
          std::count_if(full.begin(), full.end(), [](char byte) { return (byte & 0xC0) != 0x80; });
      ASSERT_GT(letters, 260);
    }

    std::ostringstream standardOutput;  // for "-" only
    {
      OutputFile abandoned(path, standardOutput);
      ASSERT_TRUE(abandoned.isOpen());
    }
    EXPECT_TRUE(namesIn(dir).empty()) << "an abandoned file leaves nothing";
    for (const char* text : {"{\"first\": 1}", "{}"}) {
      OutputFile file(path, standardOutput);
      ASSERT_TRUE(file.isOpen());
      EXPECT_TRUE(file.commit(text)) << "written over an existing file too";
    }
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{c.name});

    std::ostringstream out, err;
    Terminal terminal{out, err, false};
    TerminalSink messages(terminal);
    Backup backup;
    // Read: "{}" is no backup, which is a refusal, not a file that cannot be read.
    EXPECT_EQ(LoadBackup(path, messages, backup), ExitCode::kRefused) << err.str();

    const std::string settings = dir + "/Настройки конфигуратора.ini";
    {
      OutputFile file(settings, standardOutput);
      ASSERT_TRUE(file.commit("[ULM5]\r\nCom=7\r\nBaud=3\r\n"));
    }
    Options options;
    options.settingsPath = settings;
    std::string error;
    const auto choice = ChooseConnection(options, error);
    ASSERT_TRUE(choice) << error;
    EXPECT_EQ(choice->portNumber, 7);
    EXPECT_EQ(choice->baudIndex, 3);
  }
}

}  // namespace
}  // namespace cli
