#include "device/archive_read.h"

#include <gtest/gtest.h>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::OperationOutcome;

class RecordingArchiveView : public device::ArchiveView {
 public:
  explicit RecordingArchiveView(EventLog& log) : log_(log) {}
  std::string count = "20";
  bool cancel = false;
  std::vector<device::ArchiveRowTexts> rows;  // index 0 is row 1

  std::string recordCountText() const override { return count; }
  bool cancelRequested() const override { return cancel; }
  void resetCancel() override { cancel = false; }
  void setRecordRows(int records) override {
    rows.resize(static_cast<size_t>(records));
    log_.push_back("rows " + std::to_string(records));
  }
  void clearRecordRow(int row) override { rows.at(static_cast<size_t>(row - 1)) = {}; }
  void showRecord(int row, const device::ArchiveRowTexts& texts) override {
    rows.at(static_cast<size_t>(row - 1)) = texts;
  }

 private:
  EventLog& log_;
};

// A record stamped 09:05:<second> on 01.02.24.
modbus::ExchangeResult recordReply(uint8_t second, float value = 12.34f) {
  device::DataImage image(32);
  const uint8_t time[] = {second, 5, 9, 4, 1, 2, 24};
  for (size_t i = 0; i < sizeof time; ++i) image.setU8(i, time[i]);
  image.setF32(14, 21.96f);
  image.setF32(18, value);
  image.setF32(22, -4.0f);
  return ReadReply(image.bytes());
}

class ArchiveReadTest : public ::testing::Test {
 protected:
  OperationOutcome read() { return device::ReadArchive(link_, controls_, view_, sink_, ","); }
  size_t requests(const std::string& start) const {
    return static_cast<size_t>(std::count_if(log_.begin(), log_.end(), [&](const std::string& e) {
      return e.starts_with("read HR " + start + "+16 at 2 3000/2500/500");
    }));
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  RecordingArchiveView view_{log_};
  RecordingSink sink_{log_};
};

TEST_F(ArchiveReadTest, ReadsTheNewestThenThePreviousRecordsIntoTheirRows) {
  link_.parameters().timing = device::kFastTiming;  // as the poll left it
  for (uint8_t s = 0; s < 20; ++s) link_.results.push_back(recordReply(s));
  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(requests("9018"), 1u);
  EXPECT_EQ(requests("9050"), 19u);
  ASSERT_EQ(view_.rows.size(), 20u);
  EXPECT_EQ(view_.rows[0],
            (device::ArchiveRowTexts{"01.02.24 09:05:00  ", "12,3", "-4,0", "22,0"}));
  EXPECT_EQ(view_.rows[19][0], "01.02.24 09:05:19  ");
  EXPECT_EQ(log_.back(), "enable");
  EXPECT_EQ(log_.at(log_.size() - 2), "confirm Архив считан");
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "stop timer"), 0) << "the poll goes on";
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay)
      << "the poll keeps its own set";
}

TEST_F(ArchiveReadTest, CancelDuringARequestLetsItFinishAndSendsNoMore) {
  for (uint8_t s = 0; s < 20; ++s) link_.results.push_back(recordReply(s));
  int served = 0;
  link_.duringRequest = [&] {
    if (++served == 5) view_.cancel = true;
  };
  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(served, 5);
  EXPECT_EQ(view_.rows[4][0], "01.02.24 09:05:04  ") << "row 5 filled";
  EXPECT_EQ(view_.rows[5][0], "") << "rows after it stay empty";
  EXPECT_EQ(log_.at(log_.size() - 2), "confirm Архив считан");
}

TEST_F(ArchiveReadTest, FailuresStopTheReadAndLeaveTheRowsReadSoFar) {
  // A silent instrument gets one request.
  EXPECT_EQ(read(), OperationOutcome::kNoConnection);
  EXPECT_EQ(requests("9018") + requests("9050"), 1u);
  EXPECT_EQ(view_.rows.size(), 20u);
  EXPECT_EQ(view_.rows[0][0], "");
  EXPECT_EQ(log_.at(log_.size() - 2), "error Нет связи с прибором");

  log_.clear();
  link_.results = {recordReply(1), recordReply(2), ResultCode(0x09), recordReply(4)};
  EXPECT_EQ(read(), OperationOutcome::kNoConnection);
  EXPECT_EQ(requests("9018") + requests("9050"), 3u);
  EXPECT_EQ(view_.rows[1][0], "01.02.24 09:05:02  ");
  EXPECT_EQ(view_.rows[2][0], "");
}

TEST_F(ArchiveReadTest, RecordCountsThatAreNotOneOrMore) {
  // Not a number: noticed after the first record, as the runtime's conversion error.
  view_.count = "2x";
  link_.results = {recordReply(7)};
  EXPECT_EQ(read(), OperationOutcome::kRefused);
  EXPECT_EQ(requests("9018"), 1u);
  EXPECT_EQ(view_.rows.size(), 1u);
  EXPECT_EQ(view_.rows[0][0], "01.02.24 09:05:07  ");
  EXPECT_EQ(log_.at(log_.size() - 2), "error '2x' is not a valid integer value");

  // Below one or beyond any archive: nothing read, a stale row cleared.
  for (const char* count : {"0", "-3", "65536"}) {
    log_.clear();
    view_.count = count;
    EXPECT_EQ(read(), OperationOutcome::kRefused) << count;
    EXPECT_EQ(log_, (EventLog{"disable", "rows 1", "error Неверное количество записей", "enable"}));
    EXPECT_EQ(view_.rows[0][0], "");
  }
}

}  // namespace
}  // namespace device_test
