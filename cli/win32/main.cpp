#include <windows.h>

// Needs windows.h first.
#include <shellapi.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/run.h"

namespace {

// The console's output code page before the program set UTF-8; 0 once put
// back. The console outlives the program: a code page left at UTF-8 shows
// the next program's ANSI text wrongly.
std::atomic<UINT> previousOutputPage{0};

void restoreConsole() {
  const UINT previous = previousOutputPage.exchange(0);
  if (previous != 0) ::SetConsoleOutputCP(previous);
}

// Windows' default handling of Ctrl+C, Ctrl+Break and of closing the console
// ends the process without running destructors or atexit functions. Handlers
// are called newest first: an operation's own Ctrl+C handler claims the
// event before this one is reached; otherwise the console is put back and the
// default handling goes on.
BOOL WINAPI restoreOnControl(DWORD) {
  restoreConsole();
  return FALSE;
}

[[noreturn]] void restoreAndAbort() {
  restoreConsole();
  std::abort();
}

// The program's texts are UTF-8; the console shows them so while it runs, and
// gets its code page back on every way out: return from main, exit, an
// uncaught exception and the console's control events.
class Utf8Console {
 public:
  Utf8Console() {
    previousOutputPage.store(::GetConsoleOutputCP());
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCtrlHandler(restoreOnControl, TRUE);
    std::atexit(restoreConsole);
    std::set_terminate(restoreAndAbort);
  }
  ~Utf8Console() { restoreConsole(); }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;
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
