#include "oplog/log_line.h"

#include <iterator>

#include "modbus/frame_codec.h"

namespace oplog {

namespace {

using device::BlockFate;

constexpr uint8_t kWriteCoils = 0x0F;

const char* fateText(BlockFate fate) {
  switch (fate) {
    case BlockFate::kWritten:
      return "записано";
    case BlockFate::kUnconfirmed:
      return "отправлено, не подтверждено";
    case BlockFate::kNotWritten:
      break;
  }
  return "не записано";
}

// What became of the operation: unknown as soon as one request may or may
// not have been carried out.
const char* outcomeText(const std::vector<WrittenRequest>& requests) {
  size_t written = 0;
  for (const WrittenRequest& r : requests) {
    if (r.fate == BlockFate::kUnconfirmed) return fateText(BlockFate::kUnconfirmed);
    if (r.fate == BlockFate::kWritten) ++written;
  }
  if (written == requests.size()) return fateText(BlockFate::kWritten);
  return written == 0 ? fateText(BlockFate::kNotWritten) : "записано частично";
}

// A field cannot hold the separator or a line end, whatever its source.
std::string field(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
    }
  }
  return out.empty() ? "-" : out;
}

std::string requestText(const WrittenRequest& written, uint8_t lineAddress) {
  const modbus::WriteRequest& r = written.request;
  std::string text;
  if (r.address != lineAddress) text = "адрес " + std::to_string(r.address) + ": ";
  text += r.function == kWriteCoils ? "coils " : "HR ";
  text += std::to_string(r.start);
  if (r.count > 1) text += ".." + std::to_string(r.start + r.count - 1);
  text += " =";
  if (!r.data.empty()) {
    std::string bytes = modbus::HexDump(r.data);
    bytes.pop_back();  // the blank after the last byte
    text += " " + bytes;
  }
  return text + " (" + fateText(written.fate) + ")";
}

}  // namespace

std::string LogLine(const LogEntry& entry) {
  const uint8_t address = entry.requests.empty() ? 0 : entry.requests.front().request.address;
  std::string requests;
  for (const WrittenRequest& r : entry.requests) {
    if (!requests.empty()) requests += "; ";
    requests += requestText(r, address);
  }
  const std::string fields[] = {field(entry.time),
                                field(entry.program),
                                field(entry.port),
                                "адрес " + std::to_string(address),
                                "№ " + field(entry.serial),
                                field(entry.operation),
                                requests,
                                outcomeText(entry.requests)};
  std::string line = fields[0];
  for (size_t i = 1; i < std::size(fields); ++i) line += '\t' + fields[i];
  return line;
}

}  // namespace oplog
