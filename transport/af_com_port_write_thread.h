#pragma once

#include <cstdint>

#include "transport/af_com_port_core_thread.h"
#include "transport/circular_buffer.h"
#include "transport/event.h"

namespace transport {

// Empties the transmit queue into the device, one contiguous run at a time.
class TAfComPortWriteThread : public TAfComPortCoreThread {
 public:
  TAfComPortWriteThread(TAfComPortCore& core, int32_t queueSize)
      : TAfComPortCoreThread(core), buffer_(queueSize) {}
  ~TAfComPortWriteThread() override;

  // Under the core's write lock.
  TAfCircularBuffer& buffer() { return buffer_; }
  Event& dataQueued() { return dataQueued_; }
  // Asks the loop to leave any write in progress; true when it did within
  // the limit.
  bool requestFlush(std::chrono::milliseconds limit);

 protected:
  void execute() override;
  void wakeLoop() override;

 private:
  void writeDone(int32_t run, int32_t written);
  void dropQueue();

  Event flushAck_{Event::Reset::kAuto};
  Event flushRequest_{Event::Reset::kAuto};
  Event dataQueued_{Event::Reset::kAuto};
  TAfCircularBuffer buffer_;
};

}  // namespace transport
