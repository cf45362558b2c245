// "Сохранить в файл" and "Загрузить из файла" of the page "Архивы": records
// read from the simulator go to a spreadsheet file and come back into the
// grid as they were. The file dialog is answered through the page's hook.

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QTableWidget>
#include <QTimer>

#include "sim/register_map.h"
#include "tests/ui/run_locale.h"
#include "tests/ui/simulated_window.h"
#include "ui/archive_page.h"

namespace {

class ArchiveFileWindow : public SimulatedWindow {
 protected:
  ArchiveFileWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {
    windows_->formMain().findChild<ArchivePage*>()->setFileNameProvider(
        [this](ArchivePage::FileAction action) {
          actions_.push_back(action);
          return chosen_;
        });
  }

  QStringList gridTexts() const {
    const auto* grid = child<QTableWidget>("StringGridArh");
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row) {
      for (int column = 0; column < grid->columnCount(); ++column) {
        const QTableWidgetItem* item = grid->item(row, column);
        texts << (item ? item->text() : QString());
      }
    }
    return texts;
  }

  void readRecords(const char* count) {
    child<QLineEdit>("EditColZap")->setText(count);
    click("BitBtnReadArh");
  }

  QString chosen_;
  std::vector<ArchivePage::FileAction> actions_;
};

TEST_F(ArchiveFileWindow, SavedGridLoadsBackAsItWas) {
  readRecords("4");
  const QStringList read = gridTexts();
  ASSERT_EQ(read.size(), 4 * 5);

  chosen_ = dir_.filePath("archive.csv");
  click("BitBtn4");
  QFile file(chosen_);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  file.close();
  // Spreadsheets take the file as UTF-8 by its mark, and its cells by the
  // locale's list separator.
  const QString separator = QLocale::system().decimalPoint() == QStringLiteral(",") ? ";" : ",";
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF№" + separator.toUtf8()))
      << bytes.left(40).toStdString();
  EXPECT_EQ(bytes.count("\r\n"), 5) << "the header and four records";

  readRecords("1");
  ASSERT_NE(gridTexts(), read);
  click("BitBtn5");
  EXPECT_EQ(gridTexts(), read);

  // A file that is not such a table leaves the grid as it is.
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("not an archive\n");
  file.close();
  click("BitBtn5");
  EXPECT_EQ(display_.messages.back(),
            error(("Файл не является таблицей архива: " + chosen_).toUtf8().constData()));
  EXPECT_EQ(gridTexts(), read);

  // A dialog closed without a choice does nothing.
  chosen_.clear();
  const size_t shown = display_.messages.size();
  click("BitBtn4");
  click("BitBtn5");
  EXPECT_EQ(display_.messages.size(), shown);
  EXPECT_EQ(actions_, (std::vector<ArchivePage::FileAction>{
                          ArchivePage::FileAction::kSave, ArchivePage::FileAction::kLoad,
                          ArchivePage::FileAction::kLoad, ArchivePage::FileAction::kSave,
                          ArchivePage::FileAction::kLoad}));
}

// Three known records, the newest first in the grid; the instrument adds none
// of its own meanwhile. Their values are those that a decimal comma of the C
// library once garbled ("1,,2", "-1,,2").
class KnownArchiveWindow : public ArchiveFileWindow {
 protected:
  KnownArchiveWindow() {
    std::string settings = simulator_.instrument().holdingBytes(0, 4);
    settings[sim::reg::kArchivePeriodByte] = 0;
    simulator_.instrument().setHoldingBytes(0, settings);
    simulator_.instrument().clearArchive();
    for (const sim::ArchiveRecord& record : {
             sim::ArchiveRecord{{3, 5, 9, 4, 1, 2, 24}, -12.3f, -1234.5678f, 0.0f},
             sim::ArchiveRecord{{30, 59, 23, 3, 29, 2, 24}, 21.96f, -1.2f, 12.0f},
             sim::ArchiveRecord{{9, 7, 14, 2, 5, 3, 24}, 21.96f, 1.2f, 4.04f},
         }) {
      simulator_.instrument().appendArchiveRecord(record);
    }
  }

  // "Отменить" once `requests` replies have come, while the last one's exchange waits.
  void cancelAfter(unsigned requests) {
    QObject::connect(&watcher_, &QTimer::timeout, [this, requests] {
      if (simulator_.requestsServed() == requests) {
        watcher_.stop();
        click("BitBtnCancelReadArh");
      }
    });
    watcher_.start(2);
  }

  QTimer watcher_;
};

TEST_F(KnownArchiveWindow, CancelledReadShowsAndSavesOnlyItsRecordsInTheLocalesTexts) {
  cancelAfter(3);
  readRecords("20");
  ASSERT_EQ(display_.messages, (std::vector<Message>{confirmation("Архив считан")}));
  const QStringList shown = gridTexts();
  ASSERT_EQ(shown.size(), 20 * 5);
  EXPECT_EQ(shown.mid(0, 15),
            (QStringList{"1", "05.03.24 14:07:09  ", localeText("1,2", "1.2"),
                         localeText("4,0", "4.0"), localeText("22,0", "22.0"), "2",
                         "29.02.24 23:59:30  ", localeText("-1,2", "-1.2"),
                         localeText("12,0", "12.0"), localeText("22,0", "22.0"), "3",
                         "01.02.24 09:05:03  ", localeText("-1234,6", "-1234.6"),
                         localeText("0,0", "0.0"), localeText("-12,3", "-12.3")}));
  EXPECT_EQ(shown.mid(15), QStringList(17 * 5, QString())) << "rows 4 to 20 hold no record";
  EXPECT_EQ(child<QTableWidget>("StringGridArh")->horizontalHeaderItem(4)->text(), "Темп.XC ");

  // A name without an extension is given ".csv"; the file holds the header
  // (its last cell with the trailing blank) and the three records, no empty rows.
  chosen_ = dir_.filePath("archive");
  click("BitBtn4");
  EXPECT_FALSE(QFile::exists(chosen_));
  QFile file(chosen_ + ".csv");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "\xEF\xBB\xBF" + localeText("№;Дата,время;Измерение;I,R,U;\"Темп.XC \"\r\n"
                                        "1;\"05.03.24 14:07:09  \";1,2;4,0;22,0\r\n"
                                        "2;\"29.02.24 23:59:30  \";-1,2;12,0;22,0\r\n"
                                        "3;\"01.02.24 09:05:03  \";-1234,6;0,0;-12,3\r\n",
                                        "№,\"Дата,время\",Измерение,\"I,R,U\",\"Темп.XC \"\r\n"
                                        "1,\"05.03.24 14:07:09  \",1.2,4.0,22.0\r\n"
                                        "2,\"29.02.24 23:59:30  \",-1.2,12.0,22.0\r\n"
                                        "3,\"01.02.24 09:05:03  \",-1234.6,0.0,-12.3\r\n")
                                 .toUtf8());

  // Loaded back, the grid holds the three records and nothing else.
  chosen_ += ".csv";
  click("BitBtn5");
  EXPECT_EQ(gridTexts(), shown.mid(0, 15));
}

}  // namespace
