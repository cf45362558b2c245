#include "ui/trend_recorder.h"

#include <utility>

TrendRecorder::Stamp TrendRecorder::now() const {
  const QDateTime local = clock_ ? clock_() : QDateTime::currentDateTime();
  return {local.toMSecsSinceEpoch(), local.offsetFromUtc()};
}

std::optional<TrendRecorder::Stamp> TrendRecorder::replyStamp() {
  const Stamp stamp = now();
  // The request's time judges its own reply only.
  const std::optional<int64_t> requested = std::exchange(requestedMs_, std::nullopt);
  if (requested && stamp.timeMs - *requested > kPollPeriodMs) return std::nullopt;
  return stamp;
}

void TrendRecorder::requesting() { requestedMs_ = now().timeMs; }

void TrendRecorder::measured(const device::CurrentData& data) {
  const auto stamp = replyStamp();
  if (!stamp) return;
  samples_.addAnswer(stamp->timeMs, stamp->utcOffsetSeconds, data);
  emit changed();
}

void TrendRecorder::missed() {
  const auto stamp = replyStamp();
  if (!stamp) return;
  samples_.addMissed(stamp->timeMs, stamp->utcOffsetSeconds);
  emit changed();
}

void TrendRecorder::setSetpointLevels(const trend::SetpointLevels& levels) {
  samples_.setSetpointLevels(levels);
  emit changed();
}

void TrendRecorder::clearSetpointLevels() {
  samples_.clearSetpointLevels();
  emit changed();
}
