// StatusBar1 against the simulator: the port and its device, the instrument
// found, the operation under way, a click turned away while the instrument is
// busy, and why the last request failed.

#include <QComboBox>
#include <QTimer>

#include "tests/ui/simulated_window.h"
#include "ui/link_status_bar.h"

namespace {

class StatusBarWindow : public SimulatedWindow {
 protected:
  StatusBarWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {}

  LinkStatusBar& status() const { return windows_->formMain().linkStatus(); }

  // The state shown while the click's exchange waits, and after it.
  QString stateDuring(const char* button) {
    QString during;
    QTimer::singleShot(0, &windows_->formMain(), [&] { during = status().stateText(); });
    click(button);
    return during;
  }
};

TEST_F(StatusBarWindow, ShowsThePortTheInstrumentAndWhatWentWrong) {
  EXPECT_EQ(status().portText(), "COM1 → " + QString::fromStdString(simulator_.devicePath()));
  EXPECT_EQ(status().instrumentText(), "");
  EXPECT_EQ(status().stateText(), "");

  EXPECT_EQ(stateDuring("BitBtnFindPrib"), "Идёт: поиск прибора");
  EXPECT_EQ(status().instrumentText(),
            QStringLiteral("ULM5 № %1").arg(simulator_.instrument().serialNumber()));
  EXPECT_EQ(status().stateText(), "") << "nothing went wrong";

  // "Найти" during "Считать из прибора" sends nothing, and says so.
  const uint64_t served = simulator_.requestsServed();
  QTimer::singleShot(0, &windows_->formMain(), [&] { click("BitBtnFindPrib"); });
  click("buttonReadNastrPrib");
  EXPECT_EQ(simulator_.requestsServed(), served + 1) << "the settings read alone";
  EXPECT_EQ(status().stateText(),
            "Прибор занят (идёт чтение общих настроек): «Найти» не выполнено");

  const struct {
    sim::Fault fault;
    const char* shown;
  } failures[] = {
      {sim::Fault::kExceptionAll, "Прибор отклонил запрос (исключение 04)"},
      {sim::Fault::kBadLrc, "Искажённый ответ прибора"},
      {sim::Fault::kSilent, "Прибор не отвечает"},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.shown);
    simulator_.setFault(f.fault);
    display_.messages.clear();
    click("buttonReadNastrPrib");
    EXPECT_EQ(status().stateText(), QString::fromUtf8(f.shown));
    EXPECT_EQ(display_.messages, (std::vector<Message>{error("Нет связи с прибором")}))
        << "the message box stays as it was";
  }

  simulator_.setFault(sim::Fault::kNone);
  click("buttonReadNastrPrib");
  EXPECT_EQ(status().stateText(), "") << "a good read clears the cause";

  // COM2 names a device that is not there.
  child<QComboBox>("ComboBoxPort")->setCurrentIndex(1);
  EXPECT_EQ(status().portText(), "COM2 → " + missingDevicePath());
  display_.messages.clear();
  click("buttonReadNastrPrib");
  EXPECT_EQ(status().stateText(), "Нет такого устройства: " + missingDevicePath());
  EXPECT_EQ(display_.messages, (std::vector<Message>{error("Не могу открыть порт")}));
}

}  // namespace
