#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/register_link.h"
#include "modbus/byte_string.h"

namespace device {

// One request of a write of several, named for the user by what it holds
// (short, lower case: "положение запятой").
struct BlockWrite {
  std::string name;
  int32_t start = 0;
  int32_t count = 0;
  modbus::ByteString data;
};

// What became of a block. A request that went out without a confirming reply
// may have been carried out: the instrument might hold it.
enum class BlockFate { kWritten, kUnconfirmed, kNotWritten };

// The fate of one write request by its result: the 6-byte echo confirms it;
// a refusal before the port was open (or while the link was busy) and an
// exception reply mean it was not carried out; anything else (no reply, a
// garbled or foreign one, the port failing after the request was written)
// leaves it unconfirmed.
BlockFate FateOf(const modbus::ExchangeResult& result);

// The blocks of one write operation in their order, each with its fate.
class BlockWriteReport {
 public:
  void add(std::string name, BlockFate fate);
  // Every later block of `blocks` from `first` on, never sent.
  void addNotSent(const std::vector<BlockWrite>& blocks, size_t first);

  bool complete() const;
  // The fate of the block added `index`-th; not written if there is none.
  BlockFate fate(size_t index) const;
  // The lines shown below the operation's failure message: "Записано: ...",
  // "Отправлено, не подтверждено: ...", "Не записано: ...", each only when
  // it names a block, or "Ничего не записано" when no block went out.
  std::string details() const;

 private:
  std::vector<std::pair<std::string, BlockFate>> blocks_;
};

// Sends the blocks in order, each only after the one before was confirmed.
BlockWriteReport WriteBlocks(RegisterLink& link, const std::vector<BlockWrite>& blocks);

// `message` with the report's lines below it.
std::string ReportedFailure(const std::string& message, const BlockWriteReport& report);

}  // namespace device
