#pragma once

// The widget tests run twice: in the C locale and with LC_ALL=ru_RU.UTF-8, as
// on the Russian-language systems of this instrument's users. Expected texts
// are written out for both, taken by the environment of the run rather than
// by the locale functions the window itself uses.

#include <QString>
#include <QtGlobal>

inline bool runsInRussian() { return qgetenv("LC_ALL").startsWith("ru_RU"); }

// The text a Russian-language system shows (decimal comma), else the C one.
inline QString localeText(const char* russian, const char* c) {
  return QString::fromUtf8(runsInRussian() ? russian : c);
}
