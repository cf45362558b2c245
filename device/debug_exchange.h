#pragma once

#include <string>
#include <string_view>

#include "device/debug_data_texts.h"
#include "device/device_link.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"

namespace device {

inline constexpr const char* kCoilByteCountText = "Число реле не соответствует числу байт";
inline constexpr const char* kRegisterByteCountText = "Число регистров не соответствует числу байт";
inline constexpr const char* kAddressRangeText = "Адрес должен быть от 0 до 255";
inline constexpr const char* kStartRangeText = "Нач. Адрес должен быть от 0 до 65535";
inline constexpr const char* kCountRangeText = "Количество должно быть от 0 до 65535";
inline constexpr const char* kBadHexDataText = "Данные должны быть парами шестнадцатеричных цифр";

// Positions of the command list cbCmd.
enum DebugCommand : int {
  kDebugReadCoils = 0,
  kDebugReadDiscreteInputs = 1,
  kDebugReadHoldingRegisters = 2,
  kDebugReadInputRegisters = 3,
  kDebugWriteMultipleCoils = 4,
  kDebugWriteMultipleRegisters = 5,
};

// The controls of the debug page as texts and list positions (-1: nothing chosen).
struct DebugExchangeForm {
  int portIndex = -1;         // cbPort; the port number is this + 1
  int baudIndex = -1;         // cbBaud, the BaudIndex
  std::string overallLimit;   // editZader
  std::string responseDelay;  // editZaderMin
  std::string exchangeDelay;  // editZaderRx
  int commandIndex = -1;      // cbCmd
  std::string address;        // editAdr
  std::string start;          // editAdrReg
  std::string count;          // editKolReg
  std::string data;           // EditData
};

class DebugExchangeView {
 public:
  virtual ~DebugExchangeView() = default;
  virtual DebugExchangeForm exchangeForm() const = 0;
  // editObrQwery, editQuery and editAnswer; the exchange itself fills the
  // last two again through the link's observer.
  virtual void clearExchangeFields() = 0;
  virtual void showResultDump(const std::string& hexDump) = 0;  // editObrQwery
  virtual void showDataTexts(const DebugDataTexts& texts) = 0;
};

// "Обмен": one request of the chosen function with the page's own port,
// speed, timing, address, start and count, never the connection panel's nor
// the shared record. A field that is not an integer stops it with the
// runtime's conversion message before anything is cleared or sent, and so
// does an address outside 0 to 255, a start or a count outside 0 to 65535
// (in this order) with its range message. Data for 0Fh and 10h that is not
// hex pairs (kBadHexDataText) or whose byte count does not fit the count
// stops it after the clearing. A failed request shows no message, only its
// code as the result dump. The request holds the link's busy flag; while
// another exchange holds it nothing is done at all (kNotStarted), so its
// dumps stay on the page.
OperationOutcome RunDebugExchange(DeviceLink& link, DebugExchangeView& view, MessageSink& messages,
                                  std::string_view decimalSeparator);

}  // namespace device
