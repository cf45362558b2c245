#include "device/debug_exchange.h"

#include <gtest/gtest.h>

#include "device/hex_text.h"
#include "event_log.h"
#include "fake_port.h"
#include "modbus/frame_codec.h"

namespace device_test {
namespace {

modbus::ByteString bytes(std::initializer_list<int> values) {
  modbus::ByteString s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(ParseHexText, EveryWholeGroupOfThreeGivesOneByte) {
  const struct {
    std::string text;  // as the caller passes it, blank appended
    modbus::ByteString expected;
  } cases[] = {
      {"0F 0F 01 02 ", bytes({0x0F, 0x0F, 0x01, 0x02})},
      {"0f 0F a1 Bc ", bytes({0x0F, 0x0F, 0xA1, 0xBC})},  // either case
      {"0F,0F ", bytes({0x0F, 0x0F})},                    // the separator's value is never used
      {"0F;0F-0F.0F ", bytes({0x0F, 0x0F, 0x0F, 0x0F})},
      {"FF ", bytes({0xFF})},
      {"0F 0F   ", bytes({0x0F, 0x0F})},  // separators after the last group
      {" ", bytes({})},
  };
  for (const auto& c : cases) EXPECT_EQ(device::ParseHexText(c.text), c.expected) << c.text;
}

TEST(ParseHexText, AnythingButPairsWithASeparatorAfterEachRefusesTheText) {
  for (const char* text : {
           "0A640B ",  // pairs without separators: a digit where a separator stands
           "0F0F ",
           "0F00F ",
           "0F 0F 0 ",  // half a byte after the last group
           "0F",
           "0G ",      // no hex digit
           "0FX0F ",   // a letter is no separator
           "0F 0F Z",  // not even after the last group
           "Ф0 ",      // a letter of the code page
           "0F 0F ",   // a blank beyond ASCII
           "€0 ",
           "0F  0F ",  // a separator in a digit place
           " F ",
           "0F 0F 1 2 ",
       }) {
    EXPECT_EQ(device::ParseHexText(text), std::nullopt) << text;
  }
}

TEST(ParseHexText, TheGroupCountIsEightBit) {
  std::string text;
  for (int i = 0; i < 256; ++i) text += "AB ";
  EXPECT_EQ(device::ParseHexText(text), "") << "256 groups count as none";
  EXPECT_EQ(device::ParseHexText(text + "CD "), bytes({0xAB})) << "257 as one, the first";
  EXPECT_EQ(device::ParseHexText(text.substr(3)), std::string(255, '\xAB'));
  EXPECT_EQ(device::ParseHexText(text + "CG "), std::nullopt) << "every group is examined";
}

class RecordingDebugView : public device::DebugExchangeView {
 public:
  explicit RecordingDebugView(EventLog& log) : log_(log) {}

  device::DebugExchangeForm form;
  device::DebugDataTexts texts;

  device::DebugExchangeForm exchangeForm() const override { return form; }
  void clearExchangeFields() override { log_.push_back("clear"); }
  void showResultDump(const std::string& hexDump) override { log_.push_back("result " + hexDump); }
  void showDataTexts(const device::DebugDataTexts& shown) override {
    texts = shown;
    log_.push_back("data " + shown.seconds);
  }

 private:
  EventLog& log_;
};

class DebugExchangeTest : public ::testing::Test {
 protected:
  DebugExchangeTest() {
    // The connection panel's record: the page must use neither.
    link_.parameters() = {7, 6, device::kArchiveTiming};
    view_.form = {.portIndex = 2,
                  .baudIndex = 3,
                  .overallLimit = "300",
                  .responseDelay = "50",
                  .exchangeDelay = "20",
                  .commandIndex = device::kDebugWriteMultipleRegisters,
                  .address = "1",
                  .start = "13",
                  .count = "2",
                  .data = "0F 0F 01 02"};
  }

  device::OperationOutcome click() { return device::RunDebugExchange(link_, view_, sink_, ","); }

  EventLog log_;
  FakePort port_;
  FakeClock clock_;
  device::DeviceLink link_{modbus::LinkServices{port_, clock_, clock_}};
  RecordingDebugView view_{log_};
  RecordingSink sink_{log_};
};

TEST_F(DebugExchangeTest, WritesWithThePagesOwnParametersAndShowsTheResult) {
  port_.reply = modbus::BuildFrame(bytes({0x01, 0x10, 0x00, 0x0D, 0x00, 0x02}));
  EXPECT_EQ(click(), device::OperationOutcome::kDone);

  ASSERT_EQ(port_.written.size(), 1u);
  EXPECT_EQ(port_.written[0], modbus::BuildFrame(bytes({0x01, 0x10, 0x00, 0x0D, 0x00, 0x02, 0x04,
                                                        0x0F, 0x0F, 0x01, 0x02})));
  EXPECT_EQ(port_.calls.at(1), "SetComNumber 3");
  EXPECT_EQ(port_.calls.at(2), "SetBaudRate 19200");
  EXPECT_EQ(log_, (EventLog{"clear", "result 01 10 00 0D 00 02 "}));
  EXPECT_EQ(link_.parameters().portNumber, 7) << "the shared record is left alone";
  EXPECT_EQ(link_.parameters().baudIndex, 6);
  EXPECT_FALSE(link_.busy());
}

TEST_F(DebugExchangeTest, DataMustHoldTheBytesOfTheCount) {
  using device::kDebugWriteMultipleCoils;
  using device::kDebugWriteMultipleRegisters;
  const struct {
    int command;
    const char* count;
    const char* data;
    bool refused;
    modbus::ByteString sent;  // the data field of the frame
  } cases[] = {
      {kDebugWriteMultipleRegisters, "2", "0F 0F 01 02", false, bytes({0x0F, 0x0F, 0x01, 0x02})},
      {kDebugWriteMultipleRegisters, "3", "0F 0F 01 02", true, {}},
      {kDebugWriteMultipleRegisters, "1", "0F", true, {}},
      {kDebugWriteMultipleRegisters, "1", "0F,0F", false, bytes({0x0F, 0x0F})},
      {kDebugWriteMultipleRegisters, "0", "", false, {}},
      {kDebugWriteMultipleCoils, "9", "0F 0F", false, bytes({0x0F, 0x0F})},
      {kDebugWriteMultipleCoils, "9", "0F", true, {}},
      {kDebugWriteMultipleCoils, "8", "0F", false, bytes({0x0F})},
      {kDebugWriteMultipleCoils, "8", "0F 0F", true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.count) + " " + c.data);
    log_.clear();
    port_.written.clear();
    view_.form.commandIndex = c.command;
    view_.form.count = c.count;
    view_.form.data = c.data;
    const auto outcome = click();
    if (c.refused) {
      EXPECT_EQ(outcome, device::OperationOutcome::kRefused);
      EXPECT_TRUE(port_.written.empty());
      const std::string message = c.command == kDebugWriteMultipleCoils
                                      ? device::kCoilByteCountText
                                      : device::kRegisterByteCountText;
      EXPECT_EQ(log_, (EventLog{"clear", "error " + message})) << "the fields stay cleared";
      continue;
    }
    ASSERT_EQ(port_.written.size(), 1u);
    const auto function = static_cast<char>(c.command == kDebugWriteMultipleCoils ? 0x0F : 0x10);
    const int count = std::stoi(c.count);
    modbus::ByteString payload =
        bytes({0x01, function, 0x00, 0x0D, 0x00, count, static_cast<int>(c.sent.size())});
    EXPECT_EQ(port_.written[0], modbus::BuildFrame(payload + c.sent));
    EXPECT_EQ(log_, (EventLog{"clear", "result 02 "}));
  }
}

TEST_F(DebugExchangeTest, AFieldThatIsNoIntegerStopsTheClickBeforeAnythingIsCleared) {
  const struct {
    std::string device::DebugExchangeForm::*field;
    const char* text;
  } cases[] = {
      {&device::DebugExchangeForm::overallLimit, ""},
      {&device::DebugExchangeForm::responseDelay, "5O"},
      {&device::DebugExchangeForm::exchangeDelay, "2.5"},
      {&device::DebugExchangeForm::address, "1e2"},
      {&device::DebugExchangeForm::start, "13 "},
      {&device::DebugExchangeForm::count, "9999999999"},
  };
  const device::DebugExchangeForm good = view_.form;
  for (const auto& c : cases) {
    log_.clear();
    view_.form = good;
    view_.form.count = "x";  // a later field is reported only when all before it are numbers
    view_.form.*c.field = c.text;
    EXPECT_EQ(click(), device::OperationOutcome::kRefused);
    EXPECT_EQ(log_, (EventLog{"error '" + std::string(c.text) + "' is not a valid integer value"}));
  }
  EXPECT_TRUE(port_.calls.empty());
}

TEST_F(DebugExchangeTest, ValuesThatWouldGoOutCutAreRefusedBeforeAnythingIsCleared) {
  view_.form.commandIndex = device::kDebugReadHoldingRegisters;
  const struct {
    const char* address;
    const char* start;
    const char* count;
    const char* message;
  } cases[] = {
      {"256", "13", "1", device::kAddressRangeText},  // would go to address 0
      {"-1", "13", "1", device::kAddressRangeText},
      {"1", "74536", "1", device::kStartRangeText},   // would read register 9000
      {"1", "-65410", "1", device::kStartRangeText},  // would read register 126
      {"1", "65536", "1", device::kStartRangeText},
      {"1", "13", "65536", device::kCountRangeText},
      {"1", "13", "-1", device::kCountRangeText},
      {"1", "13", "2147483647", device::kCountRangeText},
      {"300", "70000", "70000", device::kAddressRangeText},  // the first field's message
      {"1", "70000", "70000", device::kStartRangeText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.address) + " " + c.start + " " + c.count);
    log_.clear();
    view_.form.address = c.address;
    view_.form.start = c.start;
    view_.form.count = c.count;
    EXPECT_EQ(click(), device::OperationOutcome::kRefused);
    EXPECT_EQ(log_, (EventLog{"error " + std::string(c.message)}));
  }
  EXPECT_TRUE(port_.calls.empty());

  // The largest of each go out whole.
  view_.form.address = "255";
  view_.form.start = "65535";
  view_.form.count = "65535";
  EXPECT_EQ(click(), device::OperationOutcome::kDone);
  ASSERT_EQ(port_.written.size(), 1u);
  EXPECT_EQ(port_.written[0], modbus::BuildFrame(bytes({0xFF, 0x03, 0xFF, 0xFF, 0xFF, 0xFF})));
}

TEST_F(DebugExchangeTest, DataOutsideHexPairsIsRefusedAfterTheClearing) {
  view_.form.commandIndex = device::kDebugWriteMultipleCoils;
  view_.form.count = "16";
  for (const char* data : {"0G 0F", "0F 0Ж", "0F 0F Z", "0F  0F", "0FX0F"}) {
    SCOPED_TRACE(data);
    log_.clear();
    view_.form.data = data;
    EXPECT_EQ(click(), device::OperationOutcome::kRefused);
    EXPECT_EQ(log_, (EventLog{"clear", "error " + std::string(device::kBadHexDataText)}));
  }
  EXPECT_TRUE(port_.written.empty());

  // Lower case is the same digits: "0f" as relay data goes out as 0Fh, not 66h.
  log_.clear();
  view_.form.data = "0f a0";
  click();
  ASSERT_EQ(port_.written.size(), 1u);
  EXPECT_EQ(port_.written[0],
            modbus::BuildFrame(bytes({0x01, 0x0F, 0x00, 0x0D, 0x00, 0x10, 0x02, 0x0F, 0xA0})));
}

TEST_F(DebugExchangeTest, ReadsShowTheResultAndASilentInstrumentItsCode) {
  view_.form.commandIndex = device::kDebugReadHoldingRegisters;
  view_.form.count = "1";
  port_.reply = modbus::BuildFrame(bytes({0x01, 0x03, 0x02, 0x34, 0x12}));
  EXPECT_EQ(click(), device::OperationOutcome::kDone);
  EXPECT_EQ(port_.written.back(), modbus::BuildFrame(bytes({0x01, 0x03, 0x00, 0x0D, 0x00, 0x01})));
  EXPECT_EQ(log_, (EventLog{"clear", "result 01 03 02 34 12 "}));

  // Silent: reported once the page's response delay has passed, no message.
  log_.clear();
  port_.reply.clear();
  view_.form.commandIndex = device::kDebugReadCoils;
  const uint32_t sent = clock_.Tick();
  EXPECT_EQ(click(), device::OperationOutcome::kDone);
  EXPECT_EQ(clock_.Tick() - sent, 50u);
  EXPECT_EQ(log_, (EventLog{"clear", "result 02 "}));

  // 04h fills the display fields, also from a result that holds no block.
  log_.clear();
  view_.form.commandIndex = device::kDebugReadInputRegisters;
  view_.texts.seconds = "Сек 9";
  click();
  EXPECT_EQ(log_, (EventLog{"clear", "data ", "result 02 "}));
  EXPECT_EQ(view_.texts, device::DebugDataTexts{});

  // No command chosen: cleared, nothing sent, nothing shown.
  log_.clear();
  port_.written.clear();
  view_.form.commandIndex = -1;
  EXPECT_EQ(click(), device::OperationOutcome::kDone);
  EXPECT_TRUE(port_.written.empty());
  EXPECT_EQ(log_, (EventLog{"clear"}));
}

TEST_F(DebugExchangeTest, NothingIsDoneWhileAnotherExchangeHoldsTheLink) {
  port_.reply = modbus::BuildFrame(bytes({0x00, 0x04, 0x02, 0x01, 0x02}));
  device::OperationOutcome nested = device::OperationOutcome::kDone;
  size_t writesDuring = 0;
  clock_.onPump = [&] {
    nested = click();
    writesDuring = port_.written.size();
  };
  EXPECT_EQ(link_.readInputRegisters(0, 1).size(), 5u);
  EXPECT_EQ(nested, device::OperationOutcome::kNotStarted);
  EXPECT_EQ(writesDuring, 1u) << "only the exchange under way";
  EXPECT_TRUE(log_.empty()) << "nothing read, cleared or shown";
}

}  // namespace
}  // namespace device_test
