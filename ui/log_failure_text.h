#pragma once

#include <QString>

#include "oplog/log_failure.h"

// Why the line of a write is missing from the log, for the status bar.
QString LogFailureText(const oplog::LogFailure& failure);
