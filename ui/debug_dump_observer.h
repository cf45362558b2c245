#pragma once

#include <QLineEdit>
#include <QPointer>

#include "modbus/exchange_observer.h"

// Shows every exchange's request and reply dumps in editQuery and editAnswer
// of the debug page, whichever page started the exchange.
class DebugDumpObserver final : public modbus::ExchangeObserver {
 public:
  DebugDumpObserver(QLineEdit* query, QLineEdit* answer) : query_(query), answer_(answer) {}

  void QueryDumpChanged(const modbus::ByteString& hexDump) override;
  void AnswerDumpChanged(const modbus::ByteString& hexDump) override;

 private:
  QPointer<QLineEdit> query_;
  QPointer<QLineEdit> answer_;
};
