#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "ui/profile_file.h"

class TrendPlot;
class TrendRecorder;
namespace device {
class MessageSink;
}

// The window "Тренд": the trend of the measurement poll, a file of its points
// and a copy of the picture, and a switch for each curve. Non-modal and
// resizable; it first opens beside the main window, and its place and size
// are kept in section "TformTrend" of the settings file. It closes with the
// main window.
class TformTrend : public QWidget {
  Q_OBJECT

 public:
  TformTrend(TrendRecorder& recorder, const QString& settingsPath, device::MessageSink& messages,
             QWidget* mainWindow);

  // Asks for the file to save to; an empty name drops the save. A file dialog
  // unless replaced (tests answer it themselves).
  using FileNameProvider = std::function<QString()>;
  void setFileNameProvider(FileNameProvider provider) { fileName_ = std::move(provider); }

  // "Сохранить в файл": the points as a spreadsheet file with the separators
  // of the system's locale; a name without a suffix gets ".csv".
  void saveToFile();
  // "Копировать": the plot as an image on the clipboard.
  void copyToClipboard();

  TrendPlot& plot() { return *plot_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void restoreGeometry();
  void storeGeometry();
  QString askFileName();

  TrendRecorder& recorder_;
  ProfileFile settings_;
  device::MessageSink& messages_;
  TrendPlot* plot_;
  FileNameProvider fileName_;
  bool restored_ = false;
};
