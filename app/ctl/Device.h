#pragma once
// tq3ctl's front end on the controller session: the serial component it owns,
// and the console that says what the session reports.
#include "session/ControllerSession.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class TVaComm;

namespace tq3ctl {

class Console;

class Device : public QObject, private tq3::SessionListener
{
public:
    // One tick is 100 ms, as in the window; tests shorten it.
    Device(Console& console, std::chrono::milliseconds tick);
    ~Device() override;

    // Opens the port (COMn, a device path or a network line) as the window
    // connects. ExitOk, or ExitPort with the message shown.
    int Open(const QString& port);
    // ExitOk, ExitPassword or ExitNoAnswer, with the message shown.
    int LogIn(const QByteArray& password);
    // Logs out when the session is still logged in; says nothing on success.
    void LogOut();
    // Lets the last frames reach the line, then closes the port.
    void Close() { session_->ClosePort(); }

    tq3::ControllerSession& Session() { return *session_; }
    tq3::DeviceLink& Link() { return session_->Link(); }
    std::chrono::milliseconds Tick() const { return tick_; }
    // The firmware version of the login answer ("TQ-3 v 1.5"); empty before it.
    QString Version() const { return session_->Version(); }
    void EnterLoggedOut() { session_->EnterLoggedOut(); }

    // Runs the event loop for n ticks; returns early (false) on an interrupt.
    bool WaitTicks(int n);

private:
    Console& console_;
    std::chrono::milliseconds tick_;
    std::unique_ptr<TVaComm> comm_;
    std::unique_ptr<tq3::ControllerSession> session_;
};

} // namespace tq3ctl
