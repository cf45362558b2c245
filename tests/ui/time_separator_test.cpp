#include "ui/time_separator.h"

#include <gtest/gtest.h>

namespace {

// The character between the hour and the minute fields, wherever the day
// period stands; ":" when no single character stands there.
TEST(TimeSeparator, IsTheCharacterBetweenHoursAndMinutes) {
  const struct {
    const char* format;
    QChar separator;
  } cases[] = {
      {"HH:mm", u':'},     {"h:mm AP", u':'},  {"A h:mm", u':'},  {"AP h:mm", u':'},
      {"H.mm", u'.'},      {"HH.mm.ss", u'.'}, {"t HH:mm", u':'}, {"'h' H-mm", u'-'},
      {"HH 'h' mm", u':'}, {"HHmm", u':'},     {"mm:ss", u':'},   {"", u':'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(timeSeparatorOf(QString::fromLatin1(c.format)), c.separator) << c.format;
  }
}

TEST(TimeSeparator, FollowsTheLocalesOwnFormat) {
  EXPECT_EQ(timeSeparator(QLocale(QLocale::Russian, QLocale::Russia)), u':');
  EXPECT_EQ(timeSeparator(QLocale(QLocale::Korean, QLocale::SouthKorea)), u':');
  EXPECT_EQ(timeSeparator(QLocale(QLocale::Finnish, QLocale::Finland)), u'.');
}

}  // namespace
