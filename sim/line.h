#pragma once

#include <memory>
#include <string>

#include "sim/unique_fd.h"

namespace sim {

// The simulator's end of the serial line: a pseudo-terminal it creates, or a
// serial device it serves. Raw mode, non-blocking. Throws std::runtime_error
// when it cannot be set up.
class Line {
 public:
  // A new pseudo-terminal; `linkPath`, if not empty, becomes a symlink to its
  // slave (an existing symlink there is replaced, any other file is refused).
  static std::unique_ptr<Line> CreatePseudoTerminal(const std::string& linkPath);
  // A serial device at the instrument's interface speed.
  static std::unique_ptr<Line> OpenDevice(const std::string& path, int bitsPerSecond);
  ~Line();

  int fd() const { return fd_.get(); }
  const std::string& slavePath() const { return slavePath_; }
  // What a master opens: the symlink if there is one, else the slave or device.
  const std::string& masterPath() const { return linkPath_.empty() ? slavePath_ : linkPath_; }
  bool isPseudoTerminal() const { return keptSlave_.valid(); }

  // Characters written that the far end has not read yet: on a pseudo-terminal
  // the slave's input queue (shared by every holder of the slave); 0 for a device.
  int unreadAtFarEnd() const;
  // Speed the far end set (pseudo-terminal) or the device's own speed.
  int speed() const;
  // For a device: follow the instrument's interface speed. No-op on a pseudo-terminal.
  bool setDeviceSpeed(int bitsPerSecond);

 private:
  Line() = default;

  UniqueFd fd_;
  // The simulator keeps the slave open itself, so the master side never sees
  // a hang-up while the configurator has its port closed between exchanges.
  UniqueFd keptSlave_;
  std::string slavePath_;
  std::string linkPath_;
};

}  // namespace sim
