#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "backup/backup_file.h"
#include "backup/configuration.h"
#include "backup/identification.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

class QDialog;
class QWidget;

// The instrument's whole configuration (general settings, setpoints,
// calibration coefficients) and a file in the format of ulm5-cli's backups:
// "Сохранить конфигурацию…", "Загрузить конфигурацию…" and "Сравнить с
// файлом…" of the page "Общие настройки". Each runs as a button operation
// of the window.
class ConfigurationFiles {
 public:
  // The file is asked for with a file dialog unless replaced, and the
  // dialogs are shown unless replaced (tests answer both themselves).
  enum class FileAction { kSave, kLoad, kCompare };
  using FileNameProvider = std::function<QString(FileAction)>;
  using DialogRunner = std::function<int(QDialog&)>;

  explicit ConfigurationFiles(QWidget& window) : window_(window) {}

  void setFileNameProvider(FileNameProvider provider) { fileName_ = std::move(provider); }
  void setDialogRunner(DialogRunner runner) { dialog_ = std::move(runner); }

  // Reads the configuration and writes it to a file chosen; a name without an
  // extension gets ".json".
  void save(device::RegisterLink& link, device::OperationControls& controls,
            device::MessageSink& messages);
  // Reads a file chosen and the instrument, shows what will change and,
  // once confirmed, writes the file's configuration as a restore of
  // ulm5-cli does: the unit keeps its own address, speed and protocol, the
  // coefficients of another unit's file go in only when ticked in, values
  // the window cannot write back are left out; then reads back and compares.
  void load(device::RegisterLink& link, device::OperationControls& controls,
            device::MessageSink& messages);
  // Reads a file chosen and the instrument and shows their differences.
  void compare(device::RegisterLink& link, device::OperationControls& controls,
               device::MessageSink& messages);

 private:
  struct Instrument {
    backup::Identification identification;
    backup::Configuration configuration;
  };
  // A file chosen and taken as a backup, then the instrument read.
  struct FileAndInstrument {
    QString path;
    backup::Backup file;
    Instrument instrument;

    // The file, whose it is and when it was read, and the instrument.
    std::string heading() const;
  };

  QString askFileName(FileAction action);
  std::optional<backup::Backup> readFile(const QString& path, device::MessageSink& messages);
  std::optional<Instrument> readInstrument(device::RegisterLink& link,
                                           device::OperationControls& controls,
                                           device::MessageSink& messages);
  std::optional<FileAndInstrument> readFileAndInstrument(FileAction action,
                                                         device::RegisterLink& link,
                                                         device::OperationControls& controls,
                                                         device::MessageSink& messages);
  int run(QDialog& dialog);

  QWidget& window_;
  FileNameProvider fileName_;
  DialogRunner dialog_;
};
