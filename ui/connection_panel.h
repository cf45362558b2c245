#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The connection panel on the left of the main window: connection type, port,
// speed, "Автопоиск", "Найти" and the Ethernet fields no logic reads.
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
  QLineEdit* Edit1() const { return address_; }

 private:
  QComboBox* port_;
  QComboBox* baud_;
  QCheckBox* autoFind_;
  QPushButton* find_;
  QLineEdit* address_;
};
