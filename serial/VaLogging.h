#pragma once
// The serial component's traces, off by default; a support call turns them on
// with QT_LOGGING_RULES="tq3.serial.debug=true" (or tq3.*.debug for every layer).
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVaSerial)
Q_DECLARE_LOGGING_CATEGORY(lcVaNetwork)
