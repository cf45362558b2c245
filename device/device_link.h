#pragma once

#include <functional>

#include "device/busy_guard.h"
#include "device/link_outcome.h"
#include "device/register_link.h"
#include "device/reply_capturing_port.h"
#include "modbus/exchange.h"
#include "modbus/result_codes.h"

namespace device {

// The one link of the application: the serial port of the Modbus link with
// the shared link-parameter record and the busy flag. Lives as long as the
// main window.
class DeviceLink final : public RegisterLink {
 public:
  // Result of a request refused because another exchange is under way. Any
  // one-byte result reads as "no connection" to an operation.
  static constexpr uint8_t kBusyResult = modbus::kPortOpenError;

  explicit DeviceLink(const modbus::LinkServices& services);

  LinkParameters& parameters() override { return parameters_; }
  bool busy() const override { return guard_.busy(); }

  bool portCheck() override;

  modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                const modbus::ByteString& data) override;

  // Runs `work` with the link's services while holding the busy flag, for
  // requests with parameters of their own (the debug page). False, and `work`
  // not run, when the link is busy.
  bool runExclusive(const std::function<void(const modbus::LinkServices&)>& work);

  // Closes the port now or, while an exchange is under way, as soon as it
  // has ended: the port is never closed under a waiting exchange. Errors
  // while closing are ignored. True when closed at once.
  bool closePort();

  // The window has closed: the exchange under way, if any, ends as usual and
  // the port is closed after it and after every later one. From now on no
  // request, port check or exclusive run touches the port (requests return
  // kBusyResult), so a read of several requests ends with the one under way;
  // only a write operation already begun (WholeWrite) carries on to its end.
  void shutDown();

  void beginWholeWrite() override { ++wholeWrites_; }
  void endWholeWrite() override { --wholeWrites_; }

  // Hears how each port check and register request ended (not a request
  // refused because the link was busy or shut down, which never reached the
  // port). Null: nobody listens.
  using OutcomeListener = std::function<void(const LinkOutcome&)>;
  void setOutcomeListener(OutcomeListener listener) { listener_ = std::move(listener); }

 private:
  // Runs the close that closePort() put off once the link is free again.
  class DeferredClose;

  modbus::ExchangeResult request(const std::function<modbus::ExchangeResult()>& send);
  void closeNow();
  void tell(const LinkOutcome& outcome) const;
  LinkOutcome outcomeOf(const modbus::ExchangeResult& result) const;
  bool refusing() const { return shutDown_ && wholeWrites_ == 0; }

  ReplyCapturingPort port_;
  modbus::LinkServices services_;
  OutcomeListener listener_;
  LinkParameters parameters_;
  BusyGuard guard_;
  bool closePending_ = false;
  bool shutDown_ = false;
  int wholeWrites_ = 0;
};

}  // namespace device
