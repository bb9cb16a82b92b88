#pragma once
// tq3ctl's end of the line: the serial port, the device link on it, the tick
// that counts its time-outs, and the session (login, logout) over them. The
// link's host is here too: it keeps the firmware version of the login answer
// and hands the history answers to a running download.
#include "link/DeviceLink.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

class TVaComm;
namespace tq3 {
class HistoryDownload;
}

namespace tq3ctl {

class Console;

class Device : public QObject, public tq3::LinkHost
{
public:
    // One tick is 100 ms, as in the window; tests shorten it.
    Device(Console& console, std::chrono::milliseconds tick);
    ~Device() override;

    // Opens the port (COMn or a device path) as the window connects: 4800 8N1,
    // DTR raised, RTS lowered. ExitOk, or ExitPort with the message shown.
    int Open(const QString& port);
    // ExitOk, ExitPassword or ExitNoAnswer, with the message shown.
    int LogIn(const QByteArray& password);
    // Logs out when the session is still logged in; says nothing on success.
    void LogOut();
    // Lets the last frames reach the line, then closes the port.
    void Close();

    tq3::DeviceLink& Link() { return *link_; }
    bool LoggedIn() const { return loggedIn_; }
    std::chrono::milliseconds Tick() const { return tick_; }
    // The firmware version of the login answer ("TQ-3 v 1.5"); empty before it.
    QString Version() const { return version_; }

    // Runs the event loop for n ticks; returns early (false) on an interrupt.
    bool WaitTicks(int n);
    quint64 Ticks() const { return ticks_; }

    // The history answers (70, 71, 73, 75) go to the download while one is set,
    // and each of them counts as a sign of life.
    void SetHistory(tq3::HistoryDownload* download) { history_ = download; }
    quint64 LastHistoryAnswerTick() const { return lastHistoryAnswer_; }

    // LinkHost
    void DispatchAnswer(quint8 type, const QByteArray& payload) override;
    void EnterLoggedOut() override;

private:
    void OnTick();

    Console& console_;
    std::chrono::milliseconds tick_;
    std::unique_ptr<TVaComm> comm_;
    std::unique_ptr<tq3::DeviceLink> link_;
    QTimer timer_;
    quint64 ticks_ = 0;
    bool loggedIn_ = false;
    QString version_;
    tq3::HistoryDownload* history_ = nullptr;
    quint64 lastHistoryAnswer_ = 0;
    // For the drain before closing: when the last frame went to the port, how
    // long it is, and whether the port has reported its write queue empty since.
    std::chrono::steady_clock::time_point lastWrite_{};
    qsizetype lastWriteBytes_ = 0;
    bool txEmpty_ = true;
    bool heardSinceWrite_ = false;
};

} // namespace tq3ctl
