#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "device/archive_csv.h"
#include "device/archive_read.h"

class QLineEdit;
class QTableWidget;
namespace device {
class MessageSink;
}

// Tab page "Архивы": the record count, read and cancel buttons, the record
// grid and its file buttons. The page is the archive read's view; "Отменить"
// sets its cancel flag.
class ArchivePage : public QWidget, public device::ArchiveView {
  Q_OBJECT

 public:
  explicit ArchivePage(QWidget* parent = nullptr);

  static constexpr int kGridColumns = 5;
  static constexpr int kGridRowHeight = 16;
  static constexpr int kGridDefaultColumnWidth = 100;

  void requestCancel() { cancel_ = true; }

  // Asks for the file to save to or load from; an empty name drops the
  // action. A file dialog unless replaced (tests answer it themselves).
  enum class FileAction { kSave, kLoad };
  using FileNameProvider = std::function<QString(FileAction)>;
  void setFileNameProvider(FileNameProvider provider) { fileName_ = std::move(provider); }

  // "Сохранить в файл": the rows that hold a record as a spreadsheet file with
  // the separators of the system's locale; a name without an extension gets
  // ".csv". "Загрузить из файла": such a file into the grid.
  void saveToFile(device::MessageSink& messages);
  void loadFromFile(device::MessageSink& messages);

  // The header and the rows that hold a record.
  device::ArchiveGrid grid() const;
  void showGrid(const device::ArchiveGrid& grid);

  std::string recordCountText() const override;
  bool cancelRequested() const override { return cancel_; }
  void resetCancel() override { cancel_ = false; }
  void setRecordRows(int records) override;
  void clearRecordRow(int row) override;
  void showRecord(int row, const device::ArchiveRowTexts& texts) override;

 private:
  QWidget* buildReadGroup();
  QWidget* buildGrid();
  QWidget* buildFileButtons();
  void setCell(int row, int column, const QString& text);

  QString askFileName(FileAction action);

  QLineEdit* count_ = nullptr;
  QTableWidget* grid_ = nullptr;
  bool cancel_ = false;
  FileNameProvider fileName_;
};
