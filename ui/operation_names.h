#pragma once

#include <QString>

// What the status bar and the page "Измерения" call the operation a button
// starts ("чтение общих настроек"); empty for a button that starts none.
QString OperationName(const QString& buttonName);

// The measurement poll's own name there.
QString PollOperationName();
