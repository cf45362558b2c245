#include "cli/english_messages.h"

#include <array>
#include <vector>

#include "device/archive_read.h"
#include "device/calibration_coefficients.h"
#include "device/clock_setting.h"
#include "device/discovery.h"
#include "device/general_settings.h"
#include "device/link_messages.h"
#include "device/measurement_poll.h"
#include "device/setpoints.h"

namespace cli {

namespace {

using device::CoefficientGroup;

struct Translation {
  std::string russian;
  std::string_view english;
};

const std::vector<Translation>& translations() {
  static const std::vector<Translation> table = [] {
    std::vector<Translation> t = {
        {device::kCannotOpenPortText, "cannot open the port"},
        {device::kNoConnectionText, "no connection with the instrument"},
        {device::kSettingsWrittenText, "settings written"},
        {device::kBadInstrumentAddressText, "invalid instrument address, not 0 to 247"},
        {device::kInstrumentFoundText, "instrument found"},
        {device::kInstrumentNotFoundText, "instrument not found at any speed"},
        {device::kNoAnswerText, "the instrument does not answer"},
        {device::kBadAddressText, "invalid network address"},
        {device::kBadBaudText, "invalid interface speed"},
        {device::kBadProtocolText, "invalid protocol"},
        {device::kBadInputTypeText, "invalid input signal type"},
        {device::kBadFilterPeriodText, "invalid filter period"},
        {device::kBadArchivePeriodText, "invalid archive period"},
        {device::kBadDateText, "invalid date"},
        {device::kBadTimeText, "invalid time"},
        {device::kBadCorrectionText, "invalid clock correction, not -9 to 9"},
        {device::kClockSetText, "date and time set"},
        {device::kBadDecimalPointText, "invalid decimal point position"},
        {device::kCoefficientsReadText, "calibration coefficients read"},
        {device::kCoefficientsWrittenText, "coefficients written"},
        {device::kArchiveReadText, "archive read"},
        {device::kBadRecordCountText, "invalid number of records"},
    };
    constexpr std::array<std::string_view, device::kRangeCount> kRanges = {
        "invalid measuring range start", "invalid measuring range end", "invalid bar-graph start",
        "invalid bar-graph end"};
    for (size_t i = 0; i < kRanges.size(); ++i)
      t.push_back({device::kBadRangeTexts[i], kRanges[i]});
    constexpr std::array<std::string_view, device::kCoefficientGroupCount> kGroups = {
        "invalid output current coefficient", "invalid input current coefficient",
        "invalid 100 mV coefficient",         "invalid 1 V coefficient",
        "invalid resistance coefficient",     "invalid cold-junction coefficient"};
    for (size_t g = 0; g < kGroups.size(); ++g) {
      t.push_back({device::BadCoefficientText(static_cast<CoefficientGroup>(g)), kGroups[g]});
    }
    return t;
  }();
  return table;
}

// "Значение уставки 3 введено неверно" and "Значение зоны возврата 3 введено
// неверно" carry the setpoint's number.
std::string numbered(std::string_view russian) {
  constexpr std::string_view kHead = "Значение ";
  constexpr std::string_view kTail = " введено неверно";
  if (!russian.starts_with(kHead) || !russian.ends_with(kTail)) return {};
  const std::string_view middle =
      russian.substr(kHead.size(), russian.size() - kHead.size() - kTail.size());
  const size_t blank = middle.rfind(' ');
  if (blank == std::string_view::npos) return {};
  const std::string_view what = middle.substr(0, blank);
  const std::string number(middle.substr(blank + 1));
  if (what == "уставки") return "invalid value of setpoint " + number;
  if (what == "зоны возврата") return "invalid return zone of setpoint " + number;
  return {};
}

}  // namespace

std::string EnglishMessage(std::string_view russian) {
  std::string english = numbered(russian);
  for (const Translation& t : translations()) {
    if (t.russian == russian) english = t.english;
  }
  if (english.empty()) return std::string(russian);
  return english + " (" + std::string(russian) + ")";
}

}  // namespace cli
