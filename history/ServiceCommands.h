#pragma once
// The one-shot service commands: erase the history, set the clock, restart,
// reset the day's counters, change the access password.
#include <QByteArray>
#include <QDateTime>

namespace tq3 {

class DeviceLink;

class ServiceCommands
{
public:
    explicit ServiceCommands(DeviceLink& link) : link_(link) {}

    // Waits for the controller to confirm; false when it never did (reported
    // by the link, logged out).
    bool EraseHistory();
    bool ChangePassword(const QByteArray& newPassword);
    // Sent without an answer to wait for.
    void SetClock(const QDateTime& localTime);
    void Restart();
    void ResetCounters();

private:
    DeviceLink& link_;
};

} // namespace tq3
