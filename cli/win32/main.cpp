#include <windows.h>

// Needs windows.h first.
#include <shellapi.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/run.h"

namespace {

// The program's texts are UTF-8; the console shows them so while it runs.
class Utf8Console {
 public:
  Utf8Console() : previous_(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() {
    if (previous_ != 0) ::SetConsoleOutputCP(previous_);
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};

std::string utf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.pop_back();
  return result;
}

// main's own arguments come in the ANSI code page, which cannot carry every
// file name: the wide command line is taken instead.
std::vector<std::string> argumentsAfterTheName() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(utf8(wide[i]));
  ::LocalFree(wide);
  return args;
}

// A progress line is drawn only on a console, not into a pipe or file.
bool isConsole(DWORD stdHandle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(stdHandle), &mode) != FALSE;
}

}  // namespace

int main() {
  Utf8Console console;
  cli::Terminal terminal{std::cout, std::cerr, isConsole(STD_ERROR_HANDLE)};
  return cli::Run(argumentsAfterTheName(), terminal);
}
