#pragma once

#include <string>

#include "oplog/log_entry.h"

namespace oplog {

// The entry as one line, without its end, in tab-separated fields: time,
// program, port, "адрес N", "№ serial", operation, the requests, the
// outcome. Each request reads "HR 13..22 = 00 01 … (записано)" (coils for
// 0Fh), led by "адрес N: " when it went to another address than the first.
// Text from outside (a device path, an instrument's serial number) cannot
// break the line: control characters are written as \t, \n, \r or \xHH.
std::string LogLine(const LogEntry& entry);

}  // namespace oplog
