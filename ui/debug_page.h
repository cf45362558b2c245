#pragma once

#include <QWidget>
#include <array>

#include "device/debug_exchange.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// Tab page "Отладка": one hand-made Modbus request with its frame, reply and
// decoded data. The page is the debug exchange's view of its controls.
class DebugPage : public QWidget, public device::DebugExchangeView {
  Q_OBJECT

 public:
  explicit DebugPage(QWidget* parent = nullptr);

  static QStringList commandItems();

  device::DebugExchangeForm exchangeForm() const override;
  void clearExchangeFields() override;
  void showResultDump(const std::string& hexDump) override;
  void showDataTexts(const device::DebugDataTexts& texts) override;

 private:
  QGroupBox* buildInterface();
  QGroupBox* buildModBus();
  QGroupBox* buildExchange();

  QComboBox* port_ = nullptr;
  QComboBox* baud_ = nullptr;
  QLineEdit* overallLimit_ = nullptr;
  QLineEdit* responseDelay_ = nullptr;
  QLineEdit* exchangeDelay_ = nullptr;
  QComboBox* command_ = nullptr;
  QLineEdit* address_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* count_ = nullptr;
  QLineEdit* data_ = nullptr;
  QLineEdit* query_ = nullptr;
  QLineEdit* answer_ = nullptr;
  QLineEdit* result_ = nullptr;
  // stSec, stMin, stHour, stDayWeek, stDay, stMonth, stYear, stFlagError, stXC, stFiz, stVal.
  std::array<QLabel*, 11> dataFields_{};
};
