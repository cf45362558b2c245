// The status bar names why the port failed, in the words of the window, with
// the device; the message box stays "Не могу открыть порт".

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <stdexcept>

#include "tests/ui/capturing_display.h"
#include "ui/connection_settings.h"
#include "ui/link_status_bar.h"
#include "ui/tform_main.h"

namespace {

// A port that refuses to open, for the cause it was given.
class RefusingPort final : public modbus::PortInterface {
 public:
  void Close() override {}
  void SetComNumber(uint16_t) override {}
  void SetBaudRate(uint32_t) override {}
  void Open() override { throw std::runtime_error("refused"); }
  void WriteString(const modbus::ByteString&) override {}
  int32_t InBufUsed() override { return 0; }
  modbus::ByteString ReadString() override { return {}; }
  modbus::PortFailure LastFailure() const override { return failure; }

  modbus::PortFailure failure;
};

TEST(PortFailureStatus, EachCauseInWordsWithTheDevice) {
  using Kind = modbus::PortFailureKind;
  const struct {
    modbus::PortFailure failure;
    const char* shown;
  } cases[] = {
      {{Kind::kNotFound, 2, "/dev/ttyUSB7"}, "Нет такого устройства: /dev/ttyUSB7"},
#ifdef __linux__
      {{Kind::kNoPermission, 13, "/dev/ttyUSB7"},
       "Нет доступа к /dev/ttyUSB7: добавьте пользователя в группу dialout"},
#else
      {{Kind::kNoPermission, 5, "COM7"}, "Нет доступа к COM7"},
#endif
      {{Kind::kHeldByOther, 16, "/dev/ttyUSB7"}, "Порт занят другой программой: /dev/ttyUSB7"},
      {{Kind::kNotSerial, 25, "/dev/null"}, "Не последовательный порт: /dev/null"},
      {{Kind::kSettingsRefused, 22, "/dev/ttyUSB7"},
       "Драйвер не принял настройки порта: /dev/ttyUSB7"},
      {{Kind::kWentAway, 5, "/dev/ttyUSB7"}, "Порт пропал: /dev/ttyUSB7"},
      {{Kind::kOther, 5, "/dev/ttyUSB7"}, "Ошибка порта /dev/ttyUSB7 (код 5)"},
      {{Kind::kOther, 0, "/dev/ttyUSB7"}, "Ошибка порта /dev/ttyUSB7"},
      // A port that cannot tell: the device COM1 stands for.
      {{Kind::kNone, 0, ""}, "Не могу открыть порт %1"},
  };
  QTemporaryDir dir;
  CapturingDisplay display;
  RefusingPort port;
  TformMain window(dir.filePath("Configurator.ini"), display);
  window.attachPort(port);
  window.show();
  const QString com1 = QString::fromStdString(
      connection_settings::portDevicePath(ProfileFile(dir.filePath("Configurator.ini")), 1));
  EXPECT_EQ(window.linkStatus().portText(), "COM1 → " + com1);

  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    display.messages.clear();
    port.failure = c.failure;
    window.BitBtnFindPribClick();
    QString shown = QString::fromUtf8(c.shown);
    if (shown.contains("%1")) shown = shown.arg(com1);
    EXPECT_EQ(window.linkStatus().stateText(), shown);
    EXPECT_EQ(display.messages, (std::vector<CapturingDisplay::Message>{
                                    {CapturingDisplay::Message::kError, "Не могу открыть порт"}}));
  }
}

}  // namespace
