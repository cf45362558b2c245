#pragma once

#include <string>
#include <vector>

#include "device/discovery_view.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"

namespace device_test {

// One ordered record of everything an operation did to its link, view and
// message sink, so that tests compare whole sequences.
using EventLog = std::vector<std::string>;

class RecordingSink : public device::MessageSink {
 public:
  explicit RecordingSink(EventLog& log) : log_(log) {}
  void error(const std::string& text) override { log_.push_back("error " + text); }
  void confirmation(const std::string& text) override { log_.push_back("confirm " + text); }

 private:
  EventLog& log_;
};

class RecordingDiscoveryView : public device::DiscoveryView {
 public:
  explicit RecordingDiscoveryView(EventLog& log) : log_(log) {}

  int portIndex = 0;
  int baudIndex = 2;
  bool autoFind = false;
  bool findButtonEnabled = true;
  bool cancel = false;
  device::IdentificationTexts shown;

  device::ConnectionSelection connection() const override { return {portIndex, baudIndex}; }
  void selectBaudIndex(int index) override {
    baudIndex = index;
    log_.push_back("select " + std::to_string(index));
  }
  bool autoFindChecked() const override { return autoFind; }
  void setFindButtonEnabled(bool enabled) override {
    findButtonEnabled = enabled;
    log_.push_back(enabled ? "enable" : "disable");
  }
  void stopMeasurementTimer() override { log_.push_back("stop timer"); }
  void showIdentification(const device::IdentificationTexts& texts) override {
    shown = texts;
    log_.push_back("show " + texts.type + " " + texts.version + " " + texts.date + " " +
                   texts.serial);
  }
  bool cancelRequested() const override { return cancel; }

 private:
  EventLog& log_;
};

// The connection panel, the measurement timer and an operation's button.
class RecordingControls : public device::OperationControls {
 public:
  explicit RecordingControls(EventLog& log) : log_(log) {}

  device::ConnectionSelection selection{0, 2};

  device::ConnectionSelection connection() const override { return selection; }
  void stopMeasurementTimer() override { log_.push_back("stop timer"); }
  void setButtonEnabled(bool enabled) override { log_.push_back(enabled ? "enable" : "disable"); }

 private:
  EventLog& log_;
};

}  // namespace device_test
