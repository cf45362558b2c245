#include "ui/time_separator.h"

namespace {

constexpr QChar kQuote = u'\'';
constexpr QChar kFallback = u':';

bool isHourLetter(QChar c) { return c == u'h' || c == u'H'; }

}  // namespace

QChar timeSeparatorOf(QStringView format) {
  // Text in quotes is literal; the hour field is the first run of h or H outside them.
  qsizetype hour = 0;
  for (bool quoted = false; hour < format.size(); ++hour) {
    if (format[hour] == kQuote) quoted = !quoted;
    if (!quoted && isHourLetter(format[hour])) break;
  }
  qsizetype end = hour;
  while (end < format.size() && format[end] == format[hour]) ++end;
  const qsizetype minute = format.indexOf(u'm', end);
  if (hour == format.size() || minute != end + 1) return kFallback;
  const QChar between = format[end];
  return between.isLetterOrNumber() || between == kQuote ? kFallback : between;
}

QChar timeSeparator(const QLocale& locale) {
  return timeSeparatorOf(locale.timeFormat(QLocale::ShortFormat));
}
