#pragma once

#include <QDateTime>
#include <QString>

// The local time in ISO 8601 with its offset, as ulm5-cli writes it:
// "2026-12-08T14:07:09+01:00", "+00:00" rather than "Z".
QString LocalTimeText(const QDateTime& local);
