#pragma once

#include "modbus/exchange_observer.h"
#include "oplog/operations_log.h"

namespace oplog {

// Stands in the exchanges' observer place of a program: every write request
// goes to the log, the dumps to the observer it stands in front of, if any.
class LoggingObserver final : public modbus::ExchangeObserver {
 public:
  explicit LoggingObserver(OperationsLog& log, modbus::ExchangeObserver* dumps = nullptr)
      : log_(log), dumps_(dumps) {}

  void QueryDumpChanged(const modbus::ByteString& hexDump) override {
    if (dumps_) dumps_->QueryDumpChanged(hexDump);
  }
  void AnswerDumpChanged(const modbus::ByteString& hexDump) override {
    if (dumps_) dumps_->AnswerDumpChanged(hexDump);
  }
  void WriteEnded(const modbus::WriteRequest& request,
                  const modbus::ExchangeResult& result) override {
    log_.heard(request, result);
  }

 private:
  OperationsLog& log_;
  modbus::ExchangeObserver* dumps_;
};

}  // namespace oplog
