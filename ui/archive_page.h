#pragma once

#include <QWidget>

// Tab page "Архивы": the record count, read and cancel buttons, and the record grid.
class ArchivePage : public QWidget {
  Q_OBJECT

 public:
  explicit ArchivePage(QWidget* parent = nullptr);

  static constexpr int kGridColumns = 5;
  static constexpr int kGridRowHeight = 16;
  static constexpr int kGridDefaultColumnWidth = 100;

 private:
  QWidget* buildReadGroup();
  QWidget* buildGrid();
  QWidget* buildFileButtons();
};
