// The line of the log: what a reader greps for stays in its field, whatever
// the text that came from outside.

#include <gtest/gtest.h>

#include "oplog/log_line.h"

namespace {

using device::BlockFate;
using oplog::LogEntry;
using oplog::WrittenRequest;

WrittenRequest request(uint8_t address, uint8_t function, int32_t start, int32_t count,
                       std::string data, BlockFate fate) {
  return {{1, address, function, start, count, std::move(data)}, fate};
}

TEST(LogLine, KeepsEachFieldInItsPlace) {
  const struct {
    const char* rule;
    LogEntry entry;
    std::string line;
  } cases[] = {
      {"a device or serial number with a tab or a line end cannot break the line",
       {"2026-12-08T14:07:09+03:00",
        "ulm5-cli",
        "/dev/serial/by-id/usb\tA\nB",
        "12\r3\x01",
        "set",
        {request(0, 0x10, 3, 1, std::string("\x05\x0A", 2), BlockFate::kWritten)}},
       "2026-12-08T14:07:09+03:00\tulm5-cli\t/dev/serial/by-id/usb\\tA\\nB\tадрес 0\t№ "
       "12\\r3\\x01\tset\tHR 3 = 05 0A (записано)\tзаписано"},
      {"nothing known is a dash; a request to another address says so; a failed request makes "
       "the rest partly written",
       {"t",
        "ulm5-configurator",
        "COM1 → /dev/ttyS0",
        "",
        "",
        {request(5, 0x10, 0, 2, std::string(4, '\0'), BlockFate::kWritten),
         request(7, 0x10, 2, 1, "\xFF\x01", BlockFate::kNotWritten)}},
       "t\tulm5-configurator\tCOM1 → /dev/ttyS0\tадрес 5\t№ -\t-\tHR 0..1 = 00 00 00 00 "
       "(записано); адрес 7: HR 2 = FF 01 (не записано)\tзаписано частично"},
      {"coils, and a request without data; one unconfirmed request makes the whole unknown",
       {"t",
        "ulm5-configurator",
        "COM2 → /dev/ttyS1",
        "4",
        "обмен",
        {request(1, 0x0F, 0, 8, "\xA5", BlockFate::kWritten),
         request(1, 0x10, 9, 0, "", BlockFate::kUnconfirmed)}},
       "t\tulm5-configurator\tCOM2 → /dev/ttyS1\tадрес 1\t№ 4\tобмен\tcoils 0..7 = A5 "
       "(записано); HR 9 = (отправлено, не подтверждено)\tотправлено, не подтверждено"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    EXPECT_EQ(oplog::LogLine(c.entry), c.line);
  }
}

}  // namespace
