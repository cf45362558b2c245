#include "device/block_writes.h"

#include "device/reply_length.h"
#include "modbus/result_codes.h"

namespace device {

namespace {

std::string line(const char* head, const std::vector<std::string>& names) {
  std::string text = head;
  for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? " " : ", ") + names[i];
  return text;
}

}  // namespace

BlockFate FateOf(const modbus::ExchangeResult& result) {
  if (IsWriteSuccess(result)) return BlockFate::kWritten;
  if (result.size() == 1) {
    const auto code = static_cast<uint8_t>(result[0]);
    if (code == modbus::kPortOpenError || code == modbus::kExceptionReply)
      return BlockFate::kNotWritten;
  }
  return BlockFate::kUnconfirmed;
}

void BlockWriteReport::add(std::string name, BlockFate fate) {
  blocks_.emplace_back(std::move(name), fate);
}

void BlockWriteReport::addNotSent(const std::vector<BlockWrite>& blocks, size_t first) {
  for (size_t i = first; i < blocks.size(); ++i) add(blocks[i].name, BlockFate::kNotWritten);
}

bool BlockWriteReport::complete() const {
  for (const auto& [name, fate] : blocks_) {
    if (fate != BlockFate::kWritten) return false;
  }
  return true;
}

BlockFate BlockWriteReport::fate(size_t index) const {
  return index < blocks_.size() ? blocks_[index].second : BlockFate::kNotWritten;
}

std::string BlockWriteReport::details() const {
  std::vector<std::string> written;
  std::vector<std::string> unconfirmed;
  std::vector<std::string> notWritten;
  for (const auto& [name, fate] : blocks_) {
    switch (fate) {
      case BlockFate::kWritten:
        written.push_back(name);
        break;
      case BlockFate::kUnconfirmed:
        unconfirmed.push_back(name);
        break;
      case BlockFate::kNotWritten:
        notWritten.push_back(name);
        break;
    }
  }
  if (written.empty() && unconfirmed.empty()) return "Ничего не записано";
  std::string text;
  const auto append = [&](const char* head, const std::vector<std::string>& names) {
    if (names.empty()) return;
    if (!text.empty()) text += "\n";
    text += line(head, names);
  };
  append("Записано:", written);
  append("Отправлено, не подтверждено:", unconfirmed);
  append("Не записано:", notWritten);
  return text;
}

BlockWriteReport WriteBlocks(RegisterLink& link, const std::vector<BlockWrite>& blocks) {
  BlockWriteReport report;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const BlockWrite& block = blocks[i];
    const BlockFate fate =
        FateOf(link.writeMultipleRegisters(block.start, block.count, block.data));
    report.add(block.name, fate);
    if (fate != BlockFate::kWritten) {
      report.addNotSent(blocks, i + 1);
      break;
    }
  }
  return report;
}

std::string ReportedFailure(const std::string& message, const BlockWriteReport& report) {
  return message + "\n" + report.details();
}

}  // namespace device
