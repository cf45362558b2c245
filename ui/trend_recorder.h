#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>

#include "device/measurement_poll.h"
#include "trend/trend_samples.h"

// The last hour of the measurement poll for the trend window, kept whether
// the window is open or not: it only listens to the poll, stamping each
// outcome with the PC's clock.
class TrendRecorder : public QObject, public device::MeasurementListener {
  Q_OBJECT

 public:
  explicit TrendRecorder(QObject* parent = nullptr) : QObject(parent) {}

  const trend::TrendSamples& samples() const { return samples_; }

  // The PC's local clock unless replaced (a benchmark feeds an hour at speed).
  using Clock = std::function<QDateTime()>;
  void setClock(Clock clock) { clock_ = std::move(clock); }

  void measured(const device::CurrentData& data) override;
  void missed() override;
  // After a successful read (or write) of the setpoints.
  void setSetpointLevels(const trend::SetpointLevels& levels);

 signals:
  void changed();

 private:
  struct Stamp {
    int64_t timeMs;
    int32_t utcOffsetSeconds;
  };
  Stamp now() const;

  trend::TrendSamples samples_;
  Clock clock_;
};
