#include "ui/trend_recorder.h"

TrendRecorder::Stamp TrendRecorder::now() const {
  const QDateTime local = clock_ ? clock_() : QDateTime::currentDateTime();
  return {local.toMSecsSinceEpoch(), local.offsetFromUtc()};
}

void TrendRecorder::measured(const device::CurrentData& data) {
  const Stamp stamp = now();
  samples_.addAnswer(stamp.timeMs, stamp.utcOffsetSeconds, data);
  emit changed();
}

void TrendRecorder::missed() {
  const Stamp stamp = now();
  samples_.addMissed(stamp.timeMs, stamp.utcOffsetSeconds);
  emit changed();
}

void TrendRecorder::setSetpointLevels(const trend::SetpointLevels& levels) {
  samples_.setSetpointLevels(levels);
  emit changed();
}
