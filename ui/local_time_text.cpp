#include "ui/local_time_text.h"

QString LocalTimeText(const QDateTime& local) {
  const int offset = local.offsetFromUtc() / 60;
  const int magnitude = offset < 0 ? -offset : offset;
  return local.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
         QStringLiteral("%1:%2")
             .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
             .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}
