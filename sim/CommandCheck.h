#pragma once

#include <QByteArrayView>
#include <QString>

namespace tq3sim {

// What is wrong with a command as the controller's firmware would judge it before acting:
// an unknown code, or a payload that its code does not take. Empty when the command is good.
// `password` is the controller's own, which a login may carry whatever its form (the password
// command takes any text).
QString commandProblem(quint8 code, QByteArrayView payload, QByteArrayView password);

} // namespace tq3sim
