#include "device/calibration_coefficients.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <map>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::CoefficientGroup;
using device::OperationOutcome;
using Texts = std::vector<std::string>;

class CoefficientForm : public device::CoefficientFields {
 public:
  explicit CoefficientForm(EventLog& log) : log_(log) {}
  std::map<CoefficientGroup, Texts> texts;
  Texts coefficientTexts(CoefficientGroup group) const override {
    const auto found = texts.find(group);
    return found == texts.end() ? Texts{} : found->second;
  }
  void showCoefficients(CoefficientGroup group, const Texts& shown) override {
    texts[group] = shown;
    log_.push_back("show " + std::to_string(static_cast<int>(group)));
  }

 private:
  EventLog& log_;
};

// The data of one ten-register read: the group's fields from offset 0, the
// rest of the block filled with what the page must never write.
std::string integerBlock(std::array<int16_t, 5> values) {
  device::DataImage image(20);
  for (size_t i = 0; i < values.size(); ++i) image.setI16(2 * i, values[i]);
  for (size_t i = 10; i < 20; ++i) image.setU8(i, 0xEE);
  return image.bytes();
}

std::string singleBlock(const std::vector<uint32_t>& bits) {
  device::DataImage image(20);
  for (size_t i = 0; i < 5; ++i) image.setI32(4 * i, static_cast<int32_t>(0xEEEEEEEEu));
  for (size_t i = 0; i < bits.size(); ++i) image.setI32(4 * i, static_cast<int32_t>(bits[i]));
  return image.bytes();
}

// The six reads in their order: 126, 136, 146, 156, 166, 176.
std::vector<std::string> sampleBlocks() {
  return {integerBlock({-1000, 1464, 2930, 4394, 5860}),
          singleBlock({0x3F800000}),
          integerBlock({-32768, 32767, 0, -1, 812}),
          singleBlock({0x3DCCCCCD, 0x37800000, 0x00000001, 0x80000000, 0xC47A2000}),
          singleBlock({0x7F7FFFFF, 0x007FFFFF, 0x58635FAA, 0x38D1B717, 0x3FA00000}),
          singleBlock({0x7FC00000, 0x7F800000, 0xFF800000, 0x4B800000, 0xBF9D70A4})};
}

std::map<CoefficientGroup, Texts> validTexts() {
  return {{CoefficientGroup::kOutputCurrent, {"-1000", "1464", "2930", "4394", "5860"}},
          {CoefficientGroup::kInputCurrent, {"812", "1625", "2437", "3250", "4062"}},
          {CoefficientGroup::k100mV, {"1", "1,001", "1.002", "1,003", "1.004"}},
          {CoefficientGroup::k1V, {"1", "0,999", "0.998", "0,997", "0.996"}},
          {CoefficientGroup::kResistance, {"0,1", "0.2", "0,3", "0.4", "0,5"}},
          {CoefficientGroup::kColdJunction, {"1,25"}}};
}

std::vector<modbus::ExchangeResult> writeReplies() {
  return {WriteReply(126, 5),  WriteReply(136, 2),  WriteReply(146, 5),
          WriteReply(156, 10), WriteReply(166, 10), WriteReply(176, 10)};
}

std::string bytesOf(float value) {
  device::DataImage image(4);
  image.setF32(0, value);
  return image.bytes();
}

class CalibrationCoefficientsTest : public ::testing::Test {
 protected:
  OperationOutcome read(const char* separator = ",") {
    return device::ReadCalibrationCoefficients(link_, controls_, form_, sink_, separator);
  }
  OperationOutcome write(const char* separator = ",") {
    return device::WriteCalibrationCoefficients(link_, controls_, form_, sink_, separator);
  }
  void scriptReads(const std::vector<std::string>& blocks) {
    link_.results.clear();
    for (const auto& block : blocks) link_.results.push_back(ReadReply(block));
  }
  void scriptWrites() {
    const auto replies = writeReplies();
    link_.results.assign(replies.begin(), replies.end());
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  CoefficientForm form_{log_};
  RecordingSink sink_{log_};
};

TEST_F(CalibrationCoefficientsTest, ReadShowsEachBlockAsItArrives) {
  link_.parameters().timing = device::kFastTiming;
  scriptReads(sampleBlocks());

  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(
      log_,
      (EventLog{"stop timer", "disable", "port check COM1", "read HR 126+10 at 2 2500/2000/500",
                "show 0", "read HR 136+10 at 2 2500/2000/500", "show 5",
                "read HR 146+10 at 2 2500/2000/500", "show 1", "read HR 156+10 at 2 2500/2000/500",
                "show 2", "read HR 166+10 at 2 2500/2000/500", "show 3",
                "read HR 176+10 at 2 2500/2000/500", "show 4",
                "confirm Коэффициенты калибровки считаны", "enable"}));
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay)
      << "the read passes its set without storing it";

  auto& t = form_.texts;
  EXPECT_EQ(t[CoefficientGroup::kOutputCurrent], (Texts{"-1000", "1464", "2930", "4394", "5860"}));
  EXPECT_EQ(t[CoefficientGroup::kColdJunction], (Texts{"1"}));
  EXPECT_EQ(t[CoefficientGroup::kInputCurrent], (Texts{"-32768", "32767", "0", "-1", "812"}));
  EXPECT_EQ(t[CoefficientGroup::k100mV], (Texts{"0,100000001490116", "1,52587890625E-5",
                                                "1,40129846432482E-45", "-0", "-1000,5"}));
  EXPECT_EQ(t[CoefficientGroup::k1V],
            (Texts{"3,40282346638529E38", "1,17549421069244E-38", "1,00000005409997E15",
                   "9,99999974737875E-5", "1,25"}));
  EXPECT_EQ(t[CoefficientGroup::kResistance],
            (Texts{"NAN", "INF", "-INF", "16777216", "-1,23000001907349"}));
}

TEST_F(CalibrationCoefficientsTest, AFailedReadKeepsItsGroupAndTheLaterOnes) {
  const auto blocks = sampleBlocks();
  for (size_t failing = 0; failing < blocks.size(); ++failing) {
    log_.clear();
    form_.texts.clear();
    scriptReads(blocks);
    link_.results[failing] = failing % 2 ? ResultCode(0x02) : ReadReply(blocks[failing] + "xx");
    EXPECT_EQ(read(), OperationOutcome::kNoConnection);
    EXPECT_EQ(form_.texts.size(), failing) << "groups shown before the failure";
    EXPECT_EQ(link_.results.size(), blocks.size() - failing - 1) << "nothing read after it";
    EXPECT_EQ(log_.at(log_.size() - 2), "error Нет связи с прибором");
    EXPECT_EQ(log_.back(), "enable");
  }
}

TEST_F(CalibrationCoefficientsTest, WriteSendsTheFieldsOfEachGroupToItsOwnRegisters) {
  form_.texts = validTexts();
  link_.parameters().timing = device::kFastTiming;
  controls_.selection = {3, 6};
  scriptWrites();

  EXPECT_EQ(write("."), OperationOutcome::kDone);
  EXPECT_EQ(
      log_,
      (EventLog{"stop timer", "disable", "port check COM4", "write HR 126+5 at 6 2500/2000/500",
                "write HR 136+2 at 6 2500/2000/500", "write HR 146+5 at 6 2500/2000/500",
                "write HR 156+10 at 6 2500/2000/500", "write HR 166+10 at 6 2500/2000/500",
                "write HR 176+10 at 6 2500/2000/500", "confirm Коэффициенты записаны", "enable"}));
  ASSERT_EQ(link_.written.size(), 6u);
  EXPECT_EQ(link_.written[0],
            std::string("\x18\xFC\xB8\x05\x72\x0B\x2A\x11\xE4\x16", 10));  // -1000 first
  EXPECT_EQ(link_.written[1], std::string("\x00\x00\xA0\x3F", 4));         // 1,25
  EXPECT_EQ(link_.written[2].substr(0, 2), std::string("\x2C\x03", 2));    // 812
  EXPECT_EQ(link_.written[3],
            bytesOf(1.0f) + bytesOf(1.001f) + bytesOf(1.002f) + bytesOf(1.003f) + bytesOf(1.004f));
  EXPECT_EQ(link_.written[5].substr(0, 4), std::string("\xCD\xCC\xCC\x3D", 4));  // 0,1
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay);
}

TEST_F(CalibrationCoefficientsTest, WriteChecksTheGroupsInOrderAndStopsAtTheFirstBadField) {
  struct Case {
    CoefficientGroup group;
    size_t field;
    const char* text;
    const char* message;
  };
  using G = CoefficientGroup;
  const Case cases[] = {
      {G::kOutputCurrent, 0, "", "Ошибка в коэффициентах выходного тока"},
      {G::kOutputCurrent, 4, "32768", "Ошибка в коэффициентах выходного тока"},
      {G::kOutputCurrent, 1, "-32769", "Ошибка в коэффициентах выходного тока"},
      {G::kOutputCurrent, 2, "65535", "Ошибка в коэффициентах выходного тока"},
      {G::kOutputCurrent, 3, "1,5", "Ошибка в коэффициентах выходного тока"},
      {G::kOutputCurrent, 3, "12 ", "Ошибка в коэффициентах выходного тока"},
      {G::kInputCurrent, 0, "x", "Ошибка в коэффициентах входного тока"},
      {G::kInputCurrent, 4, "1e3", "Ошибка в коэффициентах входного тока"},
      {G::k100mV, 0, "", "Ошибка в коэффициентах 100мВ"},
      {G::k100mV, 4, "1,2,3", "Ошибка в коэффициентах 100мВ"},
      {G::k1V, 2, "3,5e38", "Ошибка в коэффициентах 1 В"},
      {G::k1V, 3, "NAN", "Ошибка в коэффициентах 1 В"},
      {G::kResistance, 4, "INF", "Ошибка в коэффициентах сопротивления"},
      {G::kResistance, 0, "-INF", "Ошибка в коэффициентах сопротивления"},
      {G::kColdJunction, 0, "", "Ошибка в коэффициентах холодного спая"},
      {G::kColdJunction, 0, "1;5", "Ошибка в коэффициентах холодного спая"},
  };
  for (const Case& c : cases) {
    log_.clear();
    form_.texts = validTexts();
    form_.texts[c.group][c.field] = c.text;
    EXPECT_EQ(write(), OperationOutcome::kRefused) << c.text;
    EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                              std::string("error ") + c.message, "enable"}));
  }

  // Two groups bad: the earlier in the check order is reported, and the
  // cold junction, written second, is checked last.
  log_.clear();
  form_.texts = validTexts();
  form_.texts[G::kColdJunction] = {"?"};
  form_.texts[G::kResistance][2] = "?";
  form_.texts[G::kInputCurrent][1] = "?";
  EXPECT_EQ(write(), OperationOutcome::kRefused);
  form_.texts[G::kInputCurrent][1] = "1";
  EXPECT_EQ(write(), OperationOutcome::kRefused);
  form_.texts[G::kResistance][2] = "1";
  EXPECT_EQ(write(), OperationOutcome::kRefused);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1",
                      "error Ошибка в коэффициентах входного тока", "enable", "stop timer",
                      "disable", "port check COM1", "error Ошибка в коэффициентах сопротивления",
                      "enable", "stop timer", "disable", "port check COM1",
                      "error Ошибка в коэффициентах холодного спая", "enable"}));

  // Nothing read or typed yet.
  form_.texts.clear();
  EXPECT_EQ(write(), OperationOutcome::kRefused);
  EXPECT_EQ(log_.at(log_.size() - 2), "error Ошибка в коэффициентах выходного тока");
  EXPECT_TRUE(link_.written.empty());
}

TEST_F(CalibrationCoefficientsTest, AFailedWriteStopsTheSequenceAfterTheEarlierOnesTookEffect) {
  for (size_t failing = 0; failing < 6; ++failing) {
    log_.clear();
    link_.written.clear();
    form_.texts = validTexts();
    scriptWrites();
    link_.results[failing] = ResultCode(0x16);
    EXPECT_EQ(write(), OperationOutcome::kNoConnection);
    EXPECT_EQ(link_.written.size(), failing + 1);
    EXPECT_TRUE(log_.at(log_.size() - 2).starts_with("error Нет связи с прибором\n"));
    EXPECT_EQ(log_.back(), "enable");
  }
}

TEST_F(CalibrationCoefficientsTest, PortCheckFailureSendsNothing) {
  link_.portCheckPasses = false;
  form_.texts = validTexts();
  EXPECT_EQ(read(), OperationOutcome::kPortError);
  EXPECT_EQ(write(), OperationOutcome::kPortError);
  const EventLog once = {"stop timer", "disable", "port check COM1", "error Не могу открыть порт",
                         "enable"};
  EventLog twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(log_, twice);
}

// A deterministic spread of finite single bit patterns: both ends of every
// binade, every power of two and its negative (subnormal ones included),
// zeros, and scrambled patterns across the whole range.
std::vector<uint32_t> singlePatterns() {
  std::vector<uint32_t> patterns = {0x00000000, 0x80000000, 0x3DCCCCCD, 0x38D1B717,
                                    0x38D1B718, 0x58635FA9, 0x58635FAA, 0x34800000};
  for (uint32_t exponent = 0; exponent < 255; ++exponent) {
    patterns.push_back(exponent << 23 | (exponent == 0 ? 1 : 0));
    patterns.push_back(exponent << 23 | 0x7FFFFF);
    patterns.push_back(0x80000000 | exponent << 23 | 0x7FFFFF);
  }
  for (int e = -149; e <= 127; ++e) {
    patterns.push_back(std::bit_cast<uint32_t>(std::ldexp(1.0f, e)));
    patterns.push_back(std::bit_cast<uint32_t>(std::ldexp(-1.0f, e)));
  }
  uint32_t state = 12345;
  while (patterns.size() < 3200) {
    state = state * 1664525u + 1013904223u;
    const uint32_t bits = state ^ (state >> 13);
    if (((bits >> 23) & 0xFF) != 0xFF) patterns.push_back(bits);
  }
  return patterns;
}

TEST_F(CalibrationCoefficientsTest, CoefficientsWrittenBackUnchangedGoOutBitForBit) {
  const auto patterns = singlePatterns();
  constexpr size_t kSinglesPerRound = 16;
  for (const char* separator : {",", "."}) {
    for (size_t first = 0; first + kSinglesPerRound <= patterns.size(); first += kSinglesPerRound) {
      size_t at = first;
      const auto take = [&] { return patterns[at++]; };
      std::array<int16_t, 5> outputCurrent{};
      std::array<int16_t, 5> inputCurrent{};
      for (size_t i = 0; i < 5; ++i) {
        outputCurrent[i] = static_cast<int16_t>(patterns[first + i]);
        inputCurrent[i] = static_cast<int16_t>(patterns[first + i] >> 16);
      }
      const std::vector<std::string> blocks = {
          integerBlock(outputCurrent),
          singleBlock({take()}),
          integerBlock(inputCurrent),
          singleBlock({take(), take(), take(), take(), take()}),
          singleBlock({take(), take(), take(), take(), take()}),
          singleBlock({take(), take(), take(), take(), take()})};
      scriptReads(blocks);
      ASSERT_EQ(read(separator), OperationOutcome::kDone);
      link_.written.clear();
      scriptWrites();
      ASSERT_EQ(write(separator), OperationOutcome::kDone) << log_.at(log_.size() - 2);
      for (size_t b = 0; b < blocks.size(); ++b) {
        const auto& written = link_.written.at(b);
        ASSERT_EQ(written, blocks[b].substr(0, written.size()))
            << "block " << b << " from pattern " << first << " with " << separator;
      }
      log_.clear();
    }
  }
}

}  // namespace
}  // namespace device_test
