#pragma once

#include <QChar>
#include <QLocale>
#include <QStringView>

// The system's time separator: the character that stands between the hour
// and the minute fields of a short time format ("HH:mm", "h.mm AP",
// "A h:mm"). A format that puts no single character there ("HH 'h' mm")
// gives ":".
QChar timeSeparatorOf(QStringView timeFormat);
QChar timeSeparator(const QLocale& locale = QLocale::system());
