// "Протокол калибровки…" of the page "Калибровка" against the simulator: the
// instrument found, the coefficients read and one written, two points
// calibrated (one refused by the instrument), then the record saved as a PDF
// under a Cyrillic name and read back with poppler's pdftotext. The dialog is
// answered as a user would; the file dialog through its hook.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include "tests/ui/simulated_window.h"
#include "ui/calibration_record_export.h"

namespace {

class CalibrationRecordWindow : public SimulatedWindow {
 protected:
  CalibrationRecordWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {
    auto* records = windows_->formMain().findChild<CalibrationRecordExport*>();
    records->setFileNameProvider([this](const QString& suggested) {
      suggested_ = suggested;
      return chosen_;
    });
    // Asking for printers would reach out to the system's print service.
    records->setPrintingOffered([] { return false; });
  }

  void type(const char* name, const char* text) { child<QLineEdit>(name)->setText(text); }
  void calibrate(int point, const char* value) {
    child<QComboBox>("ComboBoxCalibrPoint")->setCurrentIndex(point);
    type("EditZnacKalibr", value);
    click("BitBtnCalibPoint");
  }
  static QString local(QString text) {
    return text.replace(u'.', QLocale::system().decimalPoint());
  }

  // Presses "Протокол калибровки…" and answers its dialog: the name it offers
  // is kept in `offered`, then `engineer` is typed and `button` pressed.
  void makeRecord(const QString& engineer, const char* button, QString* offered) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      auto* name = dialog->findChild<QLineEdit*>("EditEngineerName");
      *offered = name->text();
      name->setText(engineer);
      dialog->findChild<QPushButton*>(button)->click();
      answered = true;
    });
    click("BitBtnProtocol");
    EXPECT_TRUE(answered) << "the dialog was shown";
  }

  // The PDF's text, each run of blanks and line breaks one blank.
  static QString pdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    return QString::fromUtf8(pdftotext.readAllStandardOutput())
        .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
  }

  QString chosen_;
  QString suggested_;
};

TEST_F(CalibrationRecordWindow, SavedAsPdfWithTheWorkOfTheSession) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext is missing: install poppler-utils (scripts/deps does)";

  click("BitBtnProtocol");
  ASSERT_EQ(display_.messages,
            (std::vector<Message>{error("Прибор не определён: нажмите «Найти», чтобы его "
                                        "серийный номер вошёл в протокол")}));
  display_.messages.clear();

  simulator_.instrument().setSerialNumber(24681357);
  click("BitBtnFindPrib");
  const QString serial = child<QLabel>("statictextPribSerial")->text();
  ASSERT_EQ(serial, QStringLiteral("24681357"));
  click("BitBtnReadKoeff");
  type("EditKoeffXC", "1.25");
  click("BitBtnWriteKoeff");
  calibrate(5, "23.4");
  simulator_.setFault(sim::Fault::kExceptionAll);
  calibrate(0, "4012");
  simulator_.setFault(sim::Fault::kNone);
  ASSERT_EQ(display_.messages.size(), 4u);
  ASSERT_EQ(display_.messages[2], confirmation("Калибровка точки завершена"));
  ASSERT_EQ(display_.messages[3].kind, Message::kError);

  const QString engineer = QStringLiteral("Пётр Иванов");
  chosen_ = dir_.filePath(QStringLiteral("Протокол калибровки"));
  QString offered;
  makeRecord(engineer, "BitBtnRecordSave", &offered);
  EXPECT_EQ(offered, QString());
  EXPECT_TRUE(suggested_.contains(serial)) << suggested_.toStdString();
  EXPECT_EQ(display_.messages.size(), 4u) << display_.messages.back().text;
  const QString pdf = chosen_ + QStringLiteral(".pdf");
  ASSERT_TRUE(QFileInfo::exists(pdf)) << "a name without a suffix gets .pdf";

  const QString text = pdfText(pdf);
  for (const QString& expected :
       {serial, engineer, local("1.00100004673004"), local("1.25"), QStringLiteral("A05"),
        local("23.4") + QStringLiteral(" °C"), QStringLiteral("Калибровка точки завершена"),
        QStringLiteral("A00"), QStringLiteral("4012 мкА"),
        QStringLiteral("Ошибка калибровки: прибор отклонил команду")})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
  // The points in the order they were calibrated.
  EXPECT_LT(text.indexOf(QStringLiteral("A05")), text.indexOf(QStringLiteral("A00")));
  EXPECT_LT(text.indexOf(QStringLiteral("°C")), text.indexOf(QStringLiteral("мкА")));

  // The name is remembered for the next record.
  EXPECT_EQ(ProfileFile(iniPath()).readString("ULM5", "EngineerName", QString()), engineer);
  makeRecord(QString(), "BitBtnRecordCancel", &offered);
  EXPECT_EQ(offered, engineer);
}

}  // namespace
