#pragma once

#include <QWidget>

#include "device/operation_start.h"

class ProfileFile;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The connection panel on the left of the main window: connection type, port,
// speed, "Автопоиск", "Найти", the instrument's address, the fast exchange,
// the scan of the line, and the Ethernet fields no logic reads.
class ConnectionPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 129;
  static constexpr int kPortCount = 32;

  explicit ConnectionPanel(QWidget* parent = nullptr);

  QComboBox* ComboBoxPort() const { return port_; }
  QComboBox* ComboBoxBaudSys() const { return baud_; }
  QCheckBox* CheckBoxAutoFind() const { return autoFind_; }
  QPushButton* BitBtnFindPrib() const { return find_; }
  QLineEdit* EditAdres() const { return instrumentAddress_; }
  QCheckBox* CheckBoxFastExchange() const { return fastExchange_; }
  QPushButton* BitBtnScanLine() const { return scanLine_; }
  QLineEdit* Edit1() const { return address_; }

  // Port, speed, address and exchange mode as an operation takes them at its
  // start. An address field that holds no number gives -1, which the
  // operation refuses.
  device::ConnectionSelection selection() const;
  // EditAdres as a number, 0..247; -1 while the field is empty.
  int instrumentAddress() const;
  void setInstrumentAddress(int address);

  // Port, speed, address and the fast exchange from section "ULM5" of the
  // settings file. A missing or invalid port, speed or address is replaced
  // by its default and written back at once; every control is set even when
  // the file refuses that write, which is then raised (ProfileFile::WriteError).
  void restoreSettings(ProfileFile& file);
  // The same four into the file; an empty address field leaves the stored
  // address as it is. May raise ProfileFile::WriteError.
  void storeSettings(ProfileFile& file) const;

 private:
  QComboBox* port_;
  QComboBox* baud_;
  QCheckBox* autoFind_;
  QPushButton* find_;
  QLineEdit* instrumentAddress_;
  QCheckBox* fastExchange_;
  QPushButton* scanLine_;
  QLineEdit* address_;
};
