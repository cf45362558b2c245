#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;

// "Журнал записей": the log of what the window and ulm5-cli wrote to
// instruments as a table, newest line first, read-only. Read anew by
// reload() (the main window's "Журнал" and "Обновить" call it), so that
// lines ulm5-cli appended meanwhile are there. Non-modal and resizable; it
// closes with the main window.
class OperationsLogWindow : public QWidget {
  Q_OBJECT

 public:
  explicit OperationsLogWindow(QWidget* mainWindow);

  void reload();

 private:
  void showLines(const QStringList& lines);
  void showNote(const QString& note);

  QLabel* file_;
  QTableWidget* grid_;
};
