#include "backup/write_replay.h"

#include "backup/backup_fields.h"
#include "device/link_parameters.h"
#include "device/reply_length.h"
#include "modbus/exchange.h"

namespace backup {

ReplayEnd Replay(ReplayHost& host, const std::vector<PlannedWrite>& plan, Progress& progress) {
  const BackupField& speed = *BackupFieldNamed("general.speed");
  const BackupField& address = *BackupFieldNamed("general.address");
  device::RegisterLink& link = host.link();
  const device::WholeWrite whole(link);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (host.cancelRequested()) return ReplayEnd::kCancelled;
    const PlannedWrite& planned = plan[i];
    const CapturingLink::Write& write = planned.write;
    BlockProgress& block = progress[static_cast<size_t>(planned.block)];
    host.writing(planned, i, plan.size());
    const device::ConnectionSelection connection = host.connection();
    link.parameters().portNumber = connection.portIndex + 1;
    link.parameters().baudIndex = connection.baudIndex;
    link.parameters().timing = device::kStandardTiming;
    const modbus::ExchangeResult reply =
        link.writeMultipleRegisters(write.start, write.count, write.data);
    if (!device::IsWriteSuccess(reply)) {
      switch (host.failureOf(reply)) {
        case WriteFailure::kCancelled:
          return ReplayEnd::kCancelled;
        case WriteFailure::kUnconfirmed:
          block.unconfirmed = planned;
          break;
        case WriteFailure::kNotCarriedOut:
          break;
      }
      return ReplayEnd::kFailed;
    }
    ++block.written;
    if (planned.covers(address.address)) host.addressWritten(planned.byteAt(address.address));
    if (!planned.covers(speed.address)) continue;
    const int newSpeed = planned.byteAt(speed.address);
    if (newSpeed != connection.baudIndex && modbus::BaudRateOfIndex(newSpeed) != 0) {
      host.speedChanged(newSpeed);
    }
  }
  return ReplayEnd::kDone;
}

Progress PlannedProgress(const std::vector<PlannedWrite>& plan) {
  Progress progress;
  for (const PlannedWrite& planned : plan) ++progress[static_cast<size_t>(planned.block)].planned;
  return progress;
}

}  // namespace backup
