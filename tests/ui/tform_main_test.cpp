#include "ui/tform_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "tests/ui/capturing_display.h"
#include "transport/af_com_port_core.h"
#include "ui/profile_file.h"
#include "ui/tform_help.h"

namespace {

class TformMainTest : public ::testing::Test {
 protected:
  QString iniPath() const { return dir_.filePath(QStringLiteral("Configurator.ini")); }

  void writeIni(const QByteArray& text) const {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QByteArray iniText() const {
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  int stored(const char* key) const {
    return ProfileFile(iniPath()).readInteger("ULM5", key, -100);
  }

  TformMain& open(const QString& path) {
    form_ = std::make_unique<TformMain>(path, display_);
    form_->show();
    return *form_;
  }
  TformMain& open() { return open(iniPath()); }

  template <typename T>
  T* child(const char* name) const {
    T* found = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QComboBox* portList() const { return child<QComboBox>("ComboBoxPort"); }
  QComboBox* baudList() const { return child<QComboBox>("ComboBoxBaudSys"); }

  QTemporaryDir dir_;
  CapturingDisplay display_;
  std::unique_ptr<TformMain> form_;
};

TEST_F(TformMainTest, FrameHoldsTheSevenPagesWithTheDebugTabHidden) {
  open();
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Конфигуратор ULM5"));
  EXPECT_EQ(form_->size(), QSize(708, 491));
  EXPECT_EQ(form_->minimumSize(), form_->maximumSize()) << "fixed size";
  EXPECT_FALSE(form_->windowFlags() & Qt::WindowMaximizeButtonHint);

  auto* pages = child<QTabWidget>("PageControl1");
  ASSERT_NE(pages, nullptr);
  const QStringList names{"TabSheet1", "TabSheet2", "TabSheet4", "TabSheet5",
                          "TabSheet6", "TabSheet3", "TabSheet7"};
  const QStringList captions{"Общие настройки", "Измерения", "Уставки", "Калибровка",
                             "Архивы",          "Отладка",   "Ethernet"};
  ASSERT_EQ(pages->count(), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
    EXPECT_EQ(pages->tabText(i), captions[i]);
    EXPECT_EQ(pages->isTabVisible(i), names[i] != "TabSheet3") << names[i].toStdString();
  }
  EXPECT_EQ(pages->currentIndex(), 0);

  EXPECT_EQ(child<QWidget>("Panel1")->width(), 129);
  EXPECT_EQ(child<QWidget>("Panel1")->height(), 491 - 19);
  EXPECT_EQ(child<QStatusBar>("StatusBar1")->height(), 19);
  EXPECT_EQ(child<QStatusBar>("StatusBar1")->geometry().bottom(), 490);
}

TEST_F(TformMainTest, TimersAndListsStartAsSpecified) {
  open();
  auto* izmer = child<QTimer>("TimerIzmer");
  auto* clock = child<QTimer>("TimerTimer");
  EXPECT_EQ(izmer->interval(), 2000);
  EXPECT_FALSE(izmer->isActive());
  EXPECT_EQ(clock->interval(), 1000);
  EXPECT_TRUE(clock->isActive());

  ASSERT_EQ(portList()->count(), 32);
  EXPECT_EQ(portList()->itemText(0), "COM1");
  EXPECT_EQ(portList()->itemText(31), "COM32");
  ASSERT_EQ(baudList()->count(), 7);
  EXPECT_EQ(baudList()->itemText(6), "115200");
  EXPECT_EQ(child<QComboBox>("ComboBox1")->currentIndex(), -1);
  EXPECT_EQ(child<QComboBox>("ComboBoxDayWeek")->currentIndex(), 0);
  EXPECT_EQ(child<QComboBox>("comboboxBaud")->currentIndex(), -1);
}

TEST_F(TformMainTest, FirstStartWritesTheDefaults) {
  ASSERT_FALSE(QFile::exists(iniPath()));
  open();
  EXPECT_EQ(portList()->currentText(), "COM1");
  EXPECT_EQ(baudList()->currentText(), "115200");
  EXPECT_EQ(stored("Com"), 1);
  EXPECT_EQ(stored("Baud"), 6);
  EXPECT_EQ(stored("Address"), 0);
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(TformMainTest, OutOfRangePortIsRewritten) {
  writeIni("[ULM5]\nCom=33\nBaud=3\n");
  open();
  EXPECT_EQ(portList()->currentText(), "COM1");
  EXPECT_EQ(stored("Com"), 1);
  EXPECT_EQ(baudList()->currentText(), "19200");
  EXPECT_EQ(stored("Baud"), 3);
}

TEST_F(TformMainTest, HighestPortIsKept) {
  writeIni("[ULM5]\nCom=32\nBaud=6\nAddress=247\n");
  open();
  EXPECT_EQ(portList()->currentText(), "COM32");
  EXPECT_EQ(iniText(), QByteArray("[ULM5]\nCom=32\nBaud=6\nAddress=247\n")) << "nothing rewritten";
}

TEST_F(TformMainTest, OutOfRangeSpeedsAreRewrittenAsTheFastest) {
  for (const char* value : {"7", "-1"}) {
    writeIni(QByteArray("[ULM5]\nCom=2\nBaud=") + value + "\n");
    open();
    EXPECT_EQ(baudList()->currentText(), "115200") << value;
    EXPECT_EQ(stored("Baud"), 6) << value;
    EXPECT_EQ(portList()->currentText(), "COM2");
  }
  writeIni("[ULM5]\nCom=2\nBaud=0\n");
  open();
  EXPECT_EQ(baudList()->currentText(), "2400");
  EXPECT_EQ(stored("Baud"), 0);
}

TEST_F(TformMainTest, CloseStoresPortAndSpeedKeepingOtherSettings) {
  writeIni("[Ports]\nCOM5=/dev/ttyUSB0\n[ULM5]\nCom=1\nBaud=6\nAddress=0\n");
  open();
  portList()->setCurrentIndex(4);
  baudList()->setCurrentIndex(2);
  EXPECT_TRUE(form_->close());
  EXPECT_EQ(iniText(), QByteArray("[Ports]\nCOM5=/dev/ttyUSB0\n[ULM5]\nCom=5\nBaud=2\nAddress=0\n"
                                  "FastExchange=0\n"));
}

// The instrument's address and the fast exchange as the window finds them in
// the file, and as it leaves them there for its next start.
TEST_F(TformMainTest, AddressAndFastExchangeSurviveARestart) {
  struct Case {
    const char* file;
    const char* shownAddress;
    bool fast;
    int storedAddress;  // at once, before anything is changed
  };
  const Case cases[] = {
      {"Address=17\nFastExchange=1\n", "17", true, 17},
      {"Address=247\nFastExchange=0\n", "247", false, 247},
      {"Address=248\n", "0", false, 0},
      {"Address=-1\nFastExchange=yes\n", "0", false, 0},
      {"Address=12a\nFastExchange=2\n", "0", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    writeIni(QByteArray("[ULM5]\nCom=1\nBaud=6\n") + c.file);
    open();
    EXPECT_EQ(child<QLineEdit>("EditAdres")->text(), c.shownAddress);
    EXPECT_EQ(child<QCheckBox>("CheckBoxFastExchange")->isChecked(), c.fast);
    EXPECT_EQ(stored("Address"), c.storedAddress);
    form_->close();
  }

  open();
  auto* address = child<QLineEdit>("EditAdres");
  address->clear();
  QTest::keyClicks(address, "42");
  child<QCheckBox>("CheckBoxFastExchange")->setChecked(true);
  form_->close();
  open();
  EXPECT_EQ(child<QLineEdit>("EditAdres")->text(), "42");
  EXPECT_TRUE(child<QCheckBox>("CheckBoxFastExchange")->isChecked());
  // A field left empty keeps what the file holds.
  child<QLineEdit>("EditAdres")->clear();
  form_->close();
  EXPECT_EQ(stored("Address"), 42);
  EXPECT_EQ(stored("FastExchange"), 1);
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(TformMainTest, RefusedWritesAreShownAndTheWindowStillCloses) {
  // Tests may run as root, which ignores directory permission bits; nobody can
  // create a file below a regular file.
  writeIni("a regular file");
  const QString blocked = iniPath() + QStringLiteral("/Configurator.ini");
  open(blocked);
  const CapturingDisplay::Message refused{CapturingDisplay::Message::kException,
                                          ("Unable to write to " + blocked).toStdString()};
  ASSERT_EQ(display_.messages.size(), 1u) << "reported once at start-up";
  EXPECT_EQ(display_.messages[0], refused);
  EXPECT_EQ(portList()->currentText(), "COM1") << "start-up goes on with the defaults";
  EXPECT_EQ(baudList()->currentText(), "115200");

  EXPECT_TRUE(form_->close());
  EXPECT_FALSE(form_->isVisible());
  ASSERT_EQ(display_.messages.size(), 2u);
  EXPECT_EQ(display_.messages[1], refused);
}

TEST_F(TformMainTest, UnreadableSettingsFileEndsTheApplication) {
  open(dir_.path());  // a directory cannot be read as the settings file
  ASSERT_EQ(display_.messages.size(), 1u);
  EXPECT_EQ(display_.messages[0], (CapturingDisplay::Message{CapturingDisplay::Message::kError,
                                                             "Файл конфигурации не найден"}));
  EXPECT_TRUE(form_->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->isVisible(); }));
  EXPECT_EQ(portList()->currentIndex(), -1) << "no setting read";
}

TEST_F(TformMainTest, PortToolTipShowsTheDevicePath) {
  writeIni("[ports]\ncom3=/dev/pts/9\n[ULM5]\nCom=3\nBaud=6\n");
  open();
  EXPECT_EQ(portList()->toolTip(), "/dev/pts/9");
  portList()->setCurrentIndex(3);
  EXPECT_EQ(portList()->toolTip(), QString::fromStdString(transport::DefaultDevicePath(4)));
}

}  // namespace

namespace {

TEST(TformMainHelp, QuestionMarkShowsTheHelpModallyCentredOverTheWindow) {
  QTemporaryDir dir;
  CapturingDisplay display;
  TformMain form(dir.filePath("Configurator.ini"), display);
  TformHelp help;
  form.setHelpWindow(&help);
  form.show();
  auto* button = form.findChild<QPushButton*>("Button1");
  ASSERT_NE(button, nullptr);

  for (const QPoint at : {QPoint(40, 30), QPoint(200, 120)}) {
    form.move(at);
    help.move(0, 0);  // the user moved it away
    QPoint shownAt;
    bool modal = false;
    QTimer::singleShot(0, &help, [&] {
      shownAt = help.frameGeometry().topLeft();
      modal = help.isVisible() && QApplication::activeModalWidget() == &help;
      help.reject();
    });
    button->click();
    const QRect main = form.frameGeometry();
    const QRect box = help.frameGeometry();
    EXPECT_TRUE(modal);
    EXPECT_EQ(shownAt, QPoint(main.left() + main.width() / 2 - box.width() / 2,
                              main.top() + main.height() / 2 - box.height() / 2));
    EXPECT_FALSE(help.isVisible()) << "hidden between showings";
  }
}

}  // namespace
