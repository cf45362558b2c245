#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/calibration_observer.h"
#include "device/identification_block.h"

namespace device {

// How the instrument answered a calibration command.
enum class PointCommandOutcome {
  kConfirmed,    // the write echo: "Калибровка точки завершена"
  kNotSent,      // the port failed before the command went out
  kPortFailure,  // the port failed after the command went out
  kNoReply,
  kRefused,  // an exception reply
  kBadReply,
};

PointCommandOutcome PointCommandOutcomeOf(const modbus::ExchangeResult& reply);
// "Калибровка точки завершена", or "Ошибка калибровки: " and the cause.
std::string PointCommandOutcomeText(PointCommandOutcome outcome);

// The value word of a calibration command as the engineer typed it: A00..A04
// in microamperes ("4012 мкА"), A05 in tenths of a degree ("23,4 °C" with
// `separator`); empty for the points that take no value.
std::string PointValueText(int point, int16_t value, std::string_view separator);

// The calibration record of one instrument: what "Найти" showed of it, the
// coefficients as last read and as last written, and every calibration
// command sent, in order. Each entry carries the time `clock` gives when it
// is made.
class CalibrationRecord final : public CalibrationObserver {
 public:
  using Clock = std::function<std::string()>;

  struct Stamped {
    std::vector<std::string> texts;
    std::string time;
  };
  struct Group {
    std::optional<Stamped> read;
    std::optional<Stamped> written;
  };
  struct Point {
    int point = 0;
    int16_t value = 0;
    PointCommandOutcome outcome = PointCommandOutcome::kConfirmed;
    std::string time;
  };

  explicit CalibrationRecord(Clock clock);

  // An instrument shown by "Найти". One of another serial number than the
  // instrument already shown begins the record anew: its entries are not
  // that instrument's. Entries made before the first instrument was shown
  // stay: nothing else was on the line as far as the window knows.
  void instrumentFound(const IdentificationTexts& texts);

  const std::optional<IdentificationTexts>& instrument() const { return instrument_; }
  const Group& group(CoefficientGroup group) const;
  const std::vector<Point>& points() const { return points_; }

  void coefficientsRead(CoefficientGroup group, const std::vector<std::string>& texts) override;
  void coefficientsWritten(CoefficientGroup group, const std::vector<std::string>& texts) override;
  void pointCommandSent(int point, int16_t value, const modbus::ExchangeResult& reply) override;

 private:
  Clock clock_;
  std::optional<IdentificationTexts> instrument_;
  std::array<Group, kCoefficientGroupCount> groups_{};
  std::vector<Point> points_;
};

}  // namespace device
