#include "ui/program_arguments.h"

#include <cstring>

#include "ulm5_version.h"

namespace {

constexpr const char* kHelpText =
    R"(Использование: ulm5-configurator [ПАРАМЕТР]
Окно для настройки и обслуживания прибора ULM5 через адаптер RS-485 на
последовательном порту (Modbus ASCII): поиск прибора, общие настройки, часы,
измерения и их тренд, уставки, калибровка, архив, проверка порта Ethernet.

      --help            эта справка
      --version         версия программы
Параметры Qt (например, -platform offscreen) передаются Qt.

Настройки (порт, скорость, соответствие COMn устройствам в разделе Ports)
хранятся в файле Configurator.ini: у установленной программы в
$XDG_CONFIG_HOME/ulm5/ (по умолчанию ~/.config/ulm5/), иначе рядом с
программой. Доступ к порту даёт группа dialout.
)";

}  // namespace

std::optional<ProgramAnswer> AnswerWithoutWindow(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return ProgramAnswer{kHelpText, 0};
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      return ProgramAnswer{std::string("ulm5-configurator ") + kUlm5Version + "\n", 0};
    }
  }
  return std::nullopt;
}
