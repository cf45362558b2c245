#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <optional>

#include "device/measurement_poll.h"
#include "trend/trend_samples.h"

// The last hour of the measurement poll for the trend window, kept whether
// the window is open or not: it only listens to the poll, stamping each
// outcome with the PC's clock as the exchange hands its reply over, which
// is within the exchange delay of the reply's arrival. A reply handed over
// more than one poll period after its request went out (a modal dialog held
// the exchange's wait) is too old to place and is left out.
class TrendRecorder : public QObject, public device::MeasurementListener {
  Q_OBJECT

 public:
  explicit TrendRecorder(QObject* parent = nullptr) : QObject(parent) {}

  const trend::TrendSamples& samples() const { return samples_; }

  // The PC's local clock unless replaced (a benchmark feeds an hour at speed).
  using Clock = std::function<QDateTime()>;
  void setClock(Clock clock) { clock_ = std::move(clock); }

  void requesting() override;
  void measured(const device::CurrentData& data) override;
  void missed() override;
  // After a successful read (or write) of the setpoints.
  void setSetpointLevels(const trend::SetpointLevels& levels);
  // Another instrument was found: the levels read are not its own.
  void clearSetpointLevels();

 signals:
  void changed();

 private:
  struct Stamp {
    int64_t timeMs;
    int32_t utcOffsetSeconds;
  };
  Stamp now() const;
  // Now, or nothing when the reply is too old to place.
  std::optional<Stamp> replyStamp();

  trend::TrendSamples samples_;
  Clock clock_;
  // TimerIzmer's period: a reply taken in later than this after its request is too old.
  static constexpr int64_t kPollPeriodMs = 2000;
  std::optional<int64_t> requestedMs_;
};
