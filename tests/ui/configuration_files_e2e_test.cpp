// "Сохранить конфигурацию…", "Загрузить конфигурацию…" and "Сравнить с
// файлом…" of the page "Общие настройки" against the simulator: the file is
// ulm5-cli's backup, the load writes what changed as a restore does and says
// what went in, the coefficients of another unit go in only when ticked in,
// and the comparison lists the differences. File and dialogs are answered
// through the operations' hooks.
//
// Timing: the standard set on a tick scaled by 20, 100 ms of real time per
// read against a 3 ms turnaround.

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QTableWidget>
#include <array>
#include <sstream>

#include "backup/backup_reader.h"
#include "cli/run.h"
#include "tests/ui/run_locale.h"
#include "tests/ui/simulated_window.h"
#include "ui/configuration_files.h"
#include "ui/tform_main.h"

namespace {

using Row = std::array<QString, 3>;

// HR 3 byte 0; setpoint 1's flags at HR 17 byte 0 and setpoint 2's value at HR 18;
// the first coefficient of the 1 V range at HR 166.
constexpr int kFilterPeriodRegister = 3;
constexpr int kSetpoint1FlagsRegister = 17;
constexpr int kSetpoint2ValueRegister = 18;
constexpr int kRange1VRegister = 166;
const std::string kSingle350("\x00\x00\xAF\x43", 4);
const std::string kSingle1_5("\x00\x00\xC0\x3F", 4);

class ConfigurationFilesWindow : public SimulatedWindow {
 protected:
  ConfigurationFilesWindow() : SimulatedWindow(20, sim::SimulatorOptions{}) {
    ConfigurationFiles& files = windows_->formMain().configurationFiles();
    files.setFileNameProvider([this](ConfigurationFiles::FileAction) { return chosen_; });
    files.setDialogRunner([this](QDialog& dialog) {
      dialogs_.push_back(rowsOf(dialog));
      return answer_ ? answer_(dialog) : static_cast<int>(QDialog::Rejected);
    });
  }

  static std::vector<Row> rowsOf(const QDialog& dialog) {
    std::vector<Row> rows;
    const auto* table = dialog.findChild<QTableWidget*>();
    for (int row = 0; table && row < table->rowCount(); ++row)
      rows.push_back(
          {table->item(row, 0)->text(), table->item(row, 1)->text(), table->item(row, 2)->text()});
    return rows;
  }

  // The instrument's configuration into a file, by the window.
  QString saveTo(const QString& name) {
    chosen_ = dir_.filePath(name);
    display_.messages.clear();
    click("BitBtnSaveConfig");
    return chosen_;
  }

  // What a unit that is not the one saved, or was changed since, holds.
  void changeInstrument() {
    sim::Instrument& instrument = simulator_.instrument();
    instrument.setHoldingBytes(kFilterPeriodRegister, std::string("\x07\x0A", 2));
    instrument.setHoldingBytes(kSetpoint1FlagsRegister, std::string("\x01\x00", 2));
    instrument.setHoldingBytes(kSetpoint2ValueRegister, kSingle350);
    instrument.setHoldingBytes(kRange1VRegister, kSingle1_5);
    instrument.setNetworkAddress(9);
  }

  QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  static std::string fileText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
  }

  // ulm5-cli itself, in this process, on the simulator's line.
  int runCli(const std::vector<std::string>& args, std::string& out) {
    std::ostringstream output;
    std::ostringstream errors;
    cli::Terminal terminal{output, errors, false};
    std::vector<std::string> all = {"--port", simulator_.devicePath(), "--baud", "115200"};
    all.insert(all.end(), args.begin(), args.end());
    const int code = cli::Run(all, terminal, &tick_);
    out = output.str() + errors.str();
    return code;
  }

  static int accept(QDialog&) { return QDialog::Accepted; }

  QString chosen_;
  std::function<int(QDialog&)> answer_;
  std::vector<std::vector<Row>> dialogs_;
};

std::string utf8(const QString& text) { return text.toStdString(); }

// The requests of "Загрузить конфигурацию…", in the order they go out.
const std::string kGeneralAndSetpointWrites =
    "адрес, скорость, протокол, тип входа, период фильтрации, период архивирования, "
    "флажки функций, положение запятой, диапазоны, уставки 1 и 2, уставки 3 и 4";
const std::string kCoefficientWrites =
    "к-ты выходного тока, к-т температуры ХС, к-ты входного тока, к-ты 100мВ, к-ты 1В, "
    "к-ты сопротивления";

TEST_F(ConfigurationFilesWindow, SavedFileIsTheBackupOfTheCommandLine) {
  const QString saved = saveTo(QStringLiteral("Конфигурация прибора №1.json"));
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{
                {Message::kConfirmation,
                 "Конфигурация прибора ULM5 № 240315 сохранена в файл " + utf8(saved)}}));

  // ulm5-cli takes it as the backup of this very instrument...
  std::string out;
  EXPECT_EQ(runCli({"diff", utf8(saved)}, out), 0) << out;
  // ...and writes the same for it, but for the time of the read.
  const QString own = path("ulm5-cli.json");
  ASSERT_EQ(runCli({"backup", utf8(own)}, out), 0) << out;
  const auto withoutTime = [](std::string text) {
    const size_t at = text.find("\"readAt\"");
    return text.erase(at, text.find('\n', at) - at);
  };
  const std::string text = fileText(saved);
  EXPECT_EQ(withoutTime(text), withoutTime(fileText(own)));
  backup::BackupError error;
  const auto read = backup::ReadBackup(text, error);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->instrument().serial, 240315);
}

TEST_F(ConfigurationFilesWindow, LoadShowsTheChangesWritesThemAndSaysWhatWentIn) {
  const QString saved = saveTo(QStringLiteral("исходная.json"));
  changeInstrument();

  // A damaged file is refused before anything goes out.
  const std::string text = fileText(saved);
  chosen_ = path("обрезанная.json");
  QFile damaged(chosen_);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write(QByteArray::fromStdString(text.substr(0, text.size() / 2)));
  damaged.close();
  display_.messages.clear();
  const uint64_t served = simulator_.requestsServed();
  click("BitBtnLoadConfig");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{
                {Message::kError, "Файл не принят: " + utf8(chosen_) +
                                      "\nФайл повреждён или не является файлом конфигурации"}}));
  EXPECT_EQ(simulator_.requestsServed(), served);

  // The third write is refused: the first two went in, nothing after it went out.
  chosen_ = saved;
  display_.messages.clear();
  answer_ = [this](QDialog&) {
    simulator_.setExceptionAt(3);
    return static_cast<int>(QDialog::Accepted);
  };
  click("BitBtnLoadConfig");
  simulator_.setExceptionAt(0);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0], (std::vector<Row>{
                             {"Период фильтрации", "7", "2"},
                             {"Уставка 1: включение", "выкл.", "вкл."},
                             {"Уставка 2: значение", "035.0", "020.0"},
                             {"К-т 1В 1", localeText("1,5", "1.5"), "1"},
                         }));
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{
                {Message::kError,
                 "Нет связи с прибором\nЗаписано: адрес, скорость, протокол, тип входа, период "
                 "фильтрации, период архивирования\nНе записано: флажки функций, положение "
                 "запятой, диапазоны, уставки 1 и 2, уставки 3 и 4, " +
                     kCoefficientWrites}}));
  EXPECT_EQ(simulator_.instrument().holdingBytes(kFilterPeriodRegister, 1)[0], 2);
  EXPECT_EQ(simulator_.instrument().holdingBytes(kRange1VRegister, 2), kSingle1_5);

  display_.messages.clear();
  answer_ = accept;
  click("BitBtnLoadConfig");
  EXPECT_EQ(
      display_.messages,
      (std::vector<Message>{{Message::kConfirmation,
                             "Конфигурация загружена из файла " + utf8(saved) + "\nЗаписано: " +
                                 kGeneralAndSetpointWrites + ", " + kCoefficientWrites}}));
  sim::Instrument& instrument = simulator_.instrument();
  EXPECT_EQ(instrument.holdingBytes(kSetpoint1FlagsRegister, 1)[0], 0x11);
  EXPECT_EQ(instrument.holdingBytes(kSetpoint2ValueRegister, 2),
            std::string("\x00\x00\x48\x43", 4));
  EXPECT_EQ(instrument.holdingBytes(kRange1VRegister, 2), std::string("\x00\x00\x80\x3F", 4));
  EXPECT_EQ(instrument.networkAddress(), 9) << "the unit keeps its place on the line";

  // Nothing left to change: nothing is asked, nothing written.
  display_.messages.clear();
  click("BitBtnLoadConfig");
  EXPECT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(
      display_.messages,
      (std::vector<Message>{{Message::kConfirmation, "Прибор уже хранит конфигурацию из файла " +
                                                         utf8(saved) + "\nНичего не записано"}}));
}

TEST_F(ConfigurationFilesWindow, AnotherUnitsCoefficientsGoInOnlyWhenTickedIn) {
  const QString saved = saveTo(QStringLiteral("другой прибор.json"));
  sim::Instrument& instrument = simulator_.instrument();
  for (const bool ticked : {false, true}) {
    SCOPED_TRACE(ticked ? "ticked in" : "left out");
    changeInstrument();
    instrument.setSerialNumber(240316);
    chosen_ = saved;
    display_.messages.clear();
    // The coefficient's row: unticked and greyed at first, as the tick leaves it after.
    std::vector<bool> tickedAndShown;
    answer_ = [&](QDialog& dialog) {
      auto* tick = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBoxWriteKoeff"));
      auto* table = dialog.findChild<QTableWidget*>();
      if (!tick || !table) return static_cast<int>(QDialog::Rejected);
      const QTableWidgetItem* coefficient = table->item(table->rowCount() - 1, 0);
      tickedAndShown = {tick->isChecked(), coefficient->flags().testFlag(Qt::ItemIsEnabled)};
      tick->setChecked(ticked);
      tickedAndShown.push_back(coefficient->flags().testFlag(Qt::ItemIsEnabled));
      return static_cast<int>(QDialog::Accepted);
    };
    click("BitBtnLoadConfig");
    EXPECT_EQ(tickedAndShown, (std::vector<bool>{false, false, ticked}));
    EXPECT_EQ(dialogs_.back().back(), (Row{"К-т 1В 1", localeText("1,5", "1.5"), "1"}));
    const std::string written = "Конфигурация загружена из файла " + utf8(saved) +
                                "\nЗаписано: " + kGeneralAndSetpointWrites;
    EXPECT_EQ(display_.messages,
              (std::vector<Message>{{Message::kConfirmation,
                                     ticked ? written + ", " + kCoefficientWrites
                                            : written + "\nНе записано: " + kCoefficientWrites +
                                                  "\nКоэффициенты калибровки не записаны: файл "
                                                  "прибора № 240315"}}));
    EXPECT_EQ(instrument.holdingBytes(kRange1VRegister, 2),
              ticked ? std::string("\x00\x00\x80\x3F", 4) : kSingle1_5);
    EXPECT_EQ(instrument.holdingBytes(kSetpoint2ValueRegister, 2),
              std::string("\x00\x00\x48\x43", 4));
    instrument.setSerialNumber(240315);
  }
}

TEST_F(ConfigurationFilesWindow, CompareListsTheDifferences) {
  const QString saved = saveTo(QStringLiteral("сравнение.json"));
  chosen_ = saved;
  display_.messages.clear();
  click("BitBtnCompareConfig");
  ASSERT_EQ(display_.messages.size(), 1u);
  EXPECT_TRUE(display_.messages[0].text.ends_with("\nКонфигурация прибора совпадает с файлом"))
      << display_.messages[0].text;
  EXPECT_TRUE(dialogs_.empty());

  changeInstrument();
  display_.messages.clear();
  click("BitBtnCompareConfig");
  EXPECT_TRUE(display_.messages.empty());
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0], (std::vector<Row>{
                             {"Адрес в сети", "1", "9"},
                             {"Период фильтрации", "2", "7"},
                             {"Уставка 1: включение", "вкл.", "выкл."},
                             {"Уставка 2: значение", "020.0", "035.0"},
                             {"К-т 1В 1", "1", localeText("1,5", "1.5")},
                         }));
}

}  // namespace
