// The page "Отладка" against the simulator: hand-made requests with the
// page's own port, speed and timing, on real time. The timing leaves a wide
// margin for a loaded machine (500 ms for the first reply byte against a 3 ms
// turnaround).

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "modbus/frame_codec.h"
#include "tests/ui/capturing_display.h"
#include "tests/ui/simulated_window.h"
#include "ui/debug_dump_observer.h"
#include "ui/debug_page.h"
#include "ui/tform_main.h"

namespace {

enum Command { kReadHolding = 2, kReadInput = 3, kWriteCoils = 4, kWriteRegisters = 5 };

sim::SimulatorOptions standingInstrument() {
  sim::SimulatorOptions options;
  options.updatePeriodMs = 3'600'000;  // clock and values stand still between two reads
  return options;
}

QString dump(const std::string& bytes) {
  return QString::fromLatin1(modbus::HexDump(bytes).c_str());
}

std::string frameDump(const std::string& payload) {
  return modbus::HexDump(modbus::BuildFrame(payload));
}

class DebugWindow : public SimulatedWindow {
 protected:
  // The connection panel stays at a speed the instrument does not answer:
  // only the page's own speed can reach it.
  DebugWindow() : SimulatedWindow(1, standingInstrument(), 2) {}

  void compose(Command command, const char* start, const char* count, const char* data = "") {
    child<QComboBox>("cbPort")->setCurrentIndex(0);  // COM1, the simulator
    child<QComboBox>("cbBaud")->setCurrentIndex(6);  // 115200
    type("editZader", "1000");
    type("editZaderMin", "500");
    type("editZaderRx", "200");
    child<QComboBox>("cbCmd")->setCurrentIndex(command);
    type("editAdr", "0");
    type("editAdrReg", start);
    type("editKolReg", count);
    type("EditData", data);
  }
  void type(const char* name, const char* text) { child<QLineEdit>(name)->setText(text); }
  QString text(const char* name) const { return child<QLineEdit>(name)->text(); }
  QString label(const char* name) const { return child<QLabel>(name)->text(); }
  static QString decimal(const char* text) {
    return QString::fromUtf8(text).replace('.', QLocale::system().decimalPoint());
  }

  static constexpr const char* kDataFields[] = {"stSec", "stMin",   "stHour", "stDayWeek",
                                                "stDay", "stMonth", "stYear", "stFlagError",
                                                "stXC",  "stFiz",   "stVal"};
};

TEST_F(DebugWindow, ReadsTheCurrentDataThenFindsTheInstrumentSilent) {
  simulator_.instrument().setClock({5, 7, 13, 3, 28, 2, 24});
  simulator_.instrument().freezeMeasurement({21.5f, 300.0f, -4.75f});
  simulator_.instrument().setFaultWord(0x8405);

  compose(kReadInput, "0", "13");
  click("btnObmen");
  const std::string result =
      std::string("\x00\x04\x1A", 3) + simulator_.instrument().inputBytes(0, 13);
  EXPECT_EQ(text("editQuery").toStdString(), frameDump(std::string("\x00\x04\x00\x00\x00\x0D", 6)));
  EXPECT_EQ(text("editAnswer").toStdString(), frameDump(result));
  EXPECT_EQ(text("editObrQwery"), dump(result));
  const QString shown[] = {"Сек 5",
                           "Мин 7",
                           "Час 13",
                           "Нед 3",
                           "День 28",
                           "Мес 2",
                           "Год 24",
                           "Ошибка: 33797",
                           decimal("XC 21.5"),
                           "Физ 300",
                           decimal("Знач -4.75")};
  for (size_t i = 0; i < std::size(kDataFields); ++i)
    EXPECT_EQ(label(kDataFields[i]), shown[i]) << kDataFields[i];

  // No answer: the code alone, the request that went out, no reply, and no
  // field keeps a value of the earlier reply.
  simulator_.setFault(sim::Fault::kSilent);
  click("btnObmen");
  EXPECT_EQ(text("editObrQwery"), "02 ");
  EXPECT_EQ(text("editQuery").toStdString(), frameDump(std::string("\x00\x04\x00\x00\x00\x0D", 6)));
  EXPECT_EQ(text("editAnswer"), "");
  for (const char* name : kDataFields) EXPECT_EQ(label(name), "") << name;
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(DebugWindow, WritesRegistersAndReadsThemBack) {
  compose(kWriteRegisters, "13", "2", "0F 0F 01 02");
  click("btnObmen");
  EXPECT_EQ(simulator_.instrument().holdingBytes(13, 2), std::string("\x0F\x0F\x01\x02", 4));
  EXPECT_EQ(text("editQuery").toStdString(),
            frameDump(std::string("\x00\x10\x00\x0D\x00\x02\x04\x0F\x0F\x01\x02", 11)));
  EXPECT_EQ(text("editObrQwery"), "00 10 00 0D 00 02 ");

  compose(kReadHolding, "13", "2");
  click("btnObmen");
  EXPECT_EQ(text("editObrQwery"), "00 03 04 0F 0F 01 02 ");

  // A count the data do not fit: nothing sent, the exchange fields stay empty.
  const uint64_t served = simulator_.requestsServed();
  compose(kWriteRegisters, "13", "3", "0F 0F 01 02");
  click("btnObmen");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{error("Число регистров не соответствует числу байт")}));
  EXPECT_EQ(simulator_.requestsServed(), served);
  for (const char* name : {"editQuery", "editAnswer", "editObrQwery"})
    EXPECT_EQ(text(name), "") << name;
}

TEST_F(DebugWindow, TypedValuesGoOutAsTypedOrNotAtAll) {
  auto* pages = child<QTabWidget>("PageControl1");
  pages->setTabVisible(pages->indexOf(child<QWidget>("TabSheet3")), true);
  pages->setCurrentWidget(child<QWidget>("TabSheet3"));
  const auto typeKeys = [&](const char* name, const char* text) {
    auto* field = child<QLineEdit>(name);
    field->clear();
    // QTest::keyClicks knows only ASCII: a Cyrillic letter goes as a key with its text.
    for (const QChar c : QString::fromUtf8(text)) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(field, c.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  };

  // Lower-case hex is hex: "0f" goes out as 0Fh, not 66h.
  compose(kWriteCoils, "0", "8");
  typeKeys("EditData", "0f");
  click("btnObmen");
  EXPECT_EQ(text("editQuery").toStdString(),
            frameDump(std::string("\x00\x0F\x00\x00\x00\x08\x01\x0F", 8)));
  ASSERT_TRUE(display_.messages.empty());

  const struct {
    const char* field;
    const char* typed;
    const char* message;
  } refused[] = {
      {"editAdrReg", "74536", "Нач. Адрес должен быть от 0 до 65535"},
      {"editAdrReg", "-65410", "Нач. Адрес должен быть от 0 до 65535"},
      {"editAdr", "256", "Адрес должен быть от 0 до 255"},
      {"EditData", "0g", "Данные должны быть парами шестнадцатеричных цифр"},
      {"EditData", "0Ж", "Данные должны быть парами шестнадцатеричных цифр"},
  };
  const uint64_t served = simulator_.requestsServed();
  for (const auto& c : refused) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    display_.messages.clear();
    compose(kWriteCoils, "0", "8", "0F");
    typeKeys(c.field, c.typed);
    click("btnObmen");
    EXPECT_EQ(display_.messages, (std::vector<Message>{error(c.message)}));
  }
  EXPECT_EQ(simulator_.requestsServed(), served) << "nothing sent";
}

// Register 3 holds the filter and archive periods: typed data that is not
// pairs with one separator after each is refused whole, so "0A640B" never
// goes out as 0A 40 (an archive period of 64).
TEST_F(DebugWindow, DataIsHexPairsWithAnySeparatorBetweenThem) {
  const struct {
    const char* typed;
    const char* written;  // register 3 afterwards; null: refused, nothing sent
  } cases[] = {
      {"0A 05", "\x0A\x05"},  {"03,06", "\x03\x06"}, {"04;07", "\x04\x07"}, {"05-08", "\x05\x08"},
      {"01.09 ", "\x01\x09"}, {"0a 0b", "\x0A\x0B"}, {"0A640B", nullptr},   {"0A64", nullptr},
      {"0A 6", nullptr},      {"0A  05", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    display_.messages.clear();
    const std::string before = simulator_.instrument().holdingBytes(3, 1);
    const uint64_t served = simulator_.requestsServed();
    compose(kWriteRegisters, "3", "1", c.typed);
    click("btnObmen");
    if (!c.written) {
      EXPECT_EQ(display_.messages,
                (std::vector<Message>{error("Данные должны быть парами шестнадцатеричных цифр")}));
      EXPECT_EQ(simulator_.requestsServed(), served);
      EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1), before);
      continue;
    }
    EXPECT_TRUE(display_.messages.empty());
    EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1), std::string(c.written, 2));
  }
}

TEST_F(DebugWindow, RefusedWhileAnotherPageHoldsTheLink) {
  compose(kWriteRegisters, "13", "2", "0F 0F 01 02");
  type("editObrQwery", "kept");
  const std::string before = simulator_.instrument().holdingBytes(13, 2);
  const uint64_t served = simulator_.requestsServed();
  bool pressedWhileBusy = false;
  // Served by the pump of the settings read while it waits for its reply.
  QTimer::singleShot(0, &windows_->formMain(), [&] {
    pressedWhileBusy = windows_->formMain().link()->busy();
    click("btnObmen");
  });
  child<QComboBox>("ComboBoxBaudSys")->setCurrentIndex(6);
  click("buttonReadNastrPrib");

  EXPECT_TRUE(pressedWhileBusy);
  EXPECT_EQ(simulator_.requestsServed(), served + 1) << "the settings read alone";
  EXPECT_EQ(simulator_.instrument().holdingBytes(13, 2), before);
  EXPECT_EQ(text("editObrQwery"), "kept");
  EXPECT_EQ(text("editQuery").toStdString(), frameDump(std::string("\x00\x03\x00\x00\x00\x0D", 6)))
      << "the settings read's request, not cleared";
  EXPECT_TRUE(display_.messages.empty());
}

TEST(DebugTab, RequestAndReplyFieldsHoldAWholeLongDump) {
  DebugPage page;
  auto* query = page.findChild<QLineEdit*>("editQuery");
  auto* answer = page.findChild<QLineEdit*>("editAnswer");
  ASSERT_TRUE(query && answer);
  DebugDumpObserver observer(query, answer);
  // Three characters a byte: past Qt's default limit of 32767 characters.
  const std::string frame = modbus::HexDump(std::string(11'000, 'Q'));
  const std::string reply = modbus::HexDump(std::string(10'923, 'R'));
  observer.QueryDumpChanged(frame);
  observer.AnswerDumpChanged(reply);
  // Lengths first: a failure must not print the dumps.
  EXPECT_EQ(query->text().size(), static_cast<qsizetype>(frame.size()));
  EXPECT_EQ(answer->text().size(), static_cast<qsizetype>(reply.size()));
  EXPECT_TRUE(query->text().toStdString() == frame);
  EXPECT_TRUE(answer->text().toStdString() == reply);
}

TEST(DebugTab, CtrlShiftDShowsAndHidesIt) {
  QTemporaryDir dir;
  CapturingDisplay display;
  TformMain form(dir.filePath("Configurator.ini"), display);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* pages = form.findChild<QTabWidget*>("PageControl1");
  const int debug = pages->indexOf(form.findChild<QWidget*>("TabSheet3"));
  ASSERT_FALSE(pages->isTabVisible(debug));

  QTest::keyClick(&form, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(pages->isTabVisible(debug));
  EXPECT_EQ(pages->currentIndex(), debug);
  QTest::keyClick(&form, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(pages->isTabVisible(debug));
  EXPECT_NE(pages->currentIndex(), debug);
  QTest::keyClick(&form, Qt::Key_D, Qt::ControlModifier);
  EXPECT_FALSE(pages->isTabVisible(debug)) << "Ctrl+D alone does nothing";
}

}  // namespace
