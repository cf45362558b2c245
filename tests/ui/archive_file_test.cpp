// "Сохранить в файл" and "Загрузить из файла" of the page "Архивы": records
// read from the simulator go to a spreadsheet file and come back into the
// grid as they were. The file dialog is answered through the page's hook.

#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTableWidget>

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

}  // namespace
