#include "VaLogging.h"

Q_LOGGING_CATEGORY(lcVaSerial, "tq3.serial", QtInfoMsg)
Q_LOGGING_CATEGORY(lcVaNetwork, "tq3.network", QtInfoMsg)
