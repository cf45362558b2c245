// Two programs appending at once: every line arrives whole, none inside
// another, also lines longer than a stream's buffer.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "oplog/append_to_file.h"

namespace {

constexpr int kLines = 2000;
constexpr size_t kLineLength = 9000;

TEST(AppendToFile, LinesOfTwoProcessesAtOnceNeverMix) {
  char dir[] = "/tmp/ulm5-oplog-test-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::filesystem::path file = std::filesystem::path(dir) / "журнал.log";

  // Both start when the parent closes the pipe.
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  pid_t children[2] = {};
  for (const char mark : {'a', 'b'}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(start[1]);
      char byte;
      if (::read(start[0], &byte, 1) != 0) ::_exit(2);
      const std::string line = std::string(kLineLength, mark) + '\n';
      for (int i = 0; i < kLines; ++i) {
        if (oplog::AppendToFile(file, line)) ::_exit(1);
      }
      ::_exit(0);
    }
    children[mark - 'a'] = pid;
  }
  ::close(start[0]);
  ::close(start[1]);
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  std::ifstream in(file, std::ios::binary);
  std::map<char, int> whole;
  for (std::string line; std::getline(in, line);) {
    ASSERT_EQ(line.size(), kLineLength);
    ASSERT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "two lines mixed";
    ++whole[line[0]];
  }
  EXPECT_EQ(whole, (std::map<char, int>{{'a', kLines}, {'b', kLines}}));
  std::filesystem::remove_all(dir);
}

}  // namespace
