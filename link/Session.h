#pragma once
// Logging in and out, and one status read: the exchanges of a session with the
// controller. The port is the front end's to open; these only talk over it.
#include <QByteArray>
#include <optional>

namespace tq3 {

class DeviceLink;

enum class LoginResult
{
    Accepted, // the controller took the password
    Refused,  // it answered with anything but "T"
    NoAnswer, // not answered after the resends (the link has told the user)
};

// Sends the access password and waits for its answer. The answer's version
// reaches the front end through the link's dispatch as well.
LoginResult LogIn(DeviceLink& link, const QByteArray& password);
// Logs out; true when the controller answered.
bool LogOut(DeviceLink& link);
// One status request; the status payload, or nullopt when unanswered.
std::optional<QByteArray> ReadStatus(DeviceLink& link);

} // namespace tq3
