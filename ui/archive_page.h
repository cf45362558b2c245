#pragma once

#include <QWidget>

#include "device/archive_read.h"

class QLineEdit;
class QTableWidget;

// Tab page "Архивы": the record count, read and cancel buttons, and the
// record grid. The page is the archive read's view; "Отменить" sets its
// cancel flag.
class ArchivePage : public QWidget, public device::ArchiveView {
  Q_OBJECT

 public:
  explicit ArchivePage(QWidget* parent = nullptr);

  static constexpr int kGridColumns = 5;
  static constexpr int kGridRowHeight = 16;
  static constexpr int kGridDefaultColumnWidth = 100;

  void requestCancel() { cancel_ = true; }

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

  QLineEdit* count_ = nullptr;
  QTableWidget* grid_ = nullptr;
  bool cancel_ = false;
};
