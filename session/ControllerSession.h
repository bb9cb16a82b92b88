#pragma once
// One controller on one line, for every front end: the serial component with
// its port and line settings, the device link and its tick, logging in and
// out and the poll's permission, the routing of every answer (the version, the
// status, the settings, the history to the download in hand) and the wait for
// a history stream. A front end implements SessionListener, gives the session
// its prompts and shows what it hears; it owns no wiring of its own.
//
// Main thread only, as the component's events and the link are.
#include "link/DeviceLink.h"
#include "link/Session.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

class EVaOpenError;
class TVaCustomComm;

namespace tq3 {

class HistoryDownload;

// What the front end hears of the session. Every call comes on the main thread.
class SessionListener
{
public:
    virtual ~SessionListener() = default;
    // The login answer's firmware version, as the window shows it ("TQ-3 v 1.5").
    virtual void VersionReceived(const QString& /*version*/) {}
    virtual void StatusReceived(const QByteArray& /*payload*/) {}
    // A setting's value, by its read code (even, 4..42).
    virtual void SettingReceived(quint8 /*readCode*/, const QByteArray& /*payload*/) {}
    // The session is logged out: by the user, after an unanswered command, or
    // because the line went away.
    virtual void LoggedOut() {}
    // The line went away (an adapter pulled out, a network connection
    // dropped): the port is closed, and the next open opens it afresh.
    virtual void LineLost() {}
};

class ControllerSession : public QObject, private LinkHost
{
    Q_OBJECT
public:
    // The session works the front end's component; it binds the component's
    // received-characters, transmit-empty and error events.
    ControllerSession(TVaCustomComm& comm, UserPrompts& prompts, SessionListener& listener,
                      QObject* parent = nullptr);
    ~ControllerSession() override;

    // 4800 baud, 8 data bits, no parity, one stop bit, no flow control.
    void ApplyLineSettings();
    // Opens the named port (COMn, a path, a stable name, a network line) when
    // it is not open, then raises DTR and lowers RTS. A port that cannot be
    // opened raises what the component raises (EConvertError).
    void OpenPort(const QString& name, const QString& devRoot = QStringLiteral("/dev"));
    // The detail line of a failed open of the port last tried.
    QString OpenFailureDetail(const EVaOpenError& error) const;
    // Lets the last frames reach the line (a command that is not answered,
    // such as a restart, must be on it), then closes the port.
    void ClosePort();

    // The access password; logged in when accepted.
    LoginResult LogIn(const QByteArray& password);
    // Logged out at once, then the logout is sent; true when answered.
    bool LogOut();
    // The logged-out state, however it comes (an unanswered command, the line
    // lost, a stalled history); the listener hears it.
    void EnterLoggedOut() override;
    // The same state, for a front end that shows it itself: the listener is not called.
    void MarkLoggedOut();
    bool LoggedIn() const { return link_->LoggedIn(); }
    // The status poll runs only while the front end's commands are unlocked.
    void SetUnlocked(bool unlocked) { link_->SetControlsUnlocked(unlocked); }
    // The firmware version of the last login answer; empty before one.
    const QString& Version() const { return version_; }

    // One tick of the front end's timer (100 ms in the program).
    void Tick();
    quint64 Ticks() const { return ticks_; }
    // A timer of the session's own, for a front end without one.
    void StartTicking(std::chrono::milliseconds tick);
    // The component's received-characters event: what has arrived goes to the link.
    void ReceiveChars();

    // The history answers go to this download while it is set.
    void SetHistory(HistoryDownload* download) { history_ = download; }
    enum class HistoryEnd
    {
        Finished, // the end or the stopped answer came
        Stalled,  // nothing of the stream came for the stall time, or the line went away
    };
    // Runs the event loop until the download has finished. beforeEachWait runs
    // once a pass (a front end asks for a stop there). A stalled stream logs out.
    HistoryEnd AwaitHistory(HistoryDownload& download, int stallTicks,
                            const std::function<void()>& beforeEachWait);

    DeviceLink& Link() { return *link_; }
    TVaCustomComm& Comm() { return comm_; }

    // Every valid answer, as the link hands it over: routed by its type.
    void DispatchAnswer(quint8 type, const QByteArray& payload) override;

private:
    void OnLineLost();

    TVaCustomComm& comm_;
    SessionListener& listener_;
    std::unique_ptr<DeviceLink> link_;
    QTimer* timer_ = nullptr;
    quint64 ticks_ = 0;
    QString version_;
    QString openingPort_; // the name the last open tried, for its failure's detail
    HistoryDownload* history_ = nullptr;
    quint64 lastHistoryAnswer_ = 0;
    bool lineLost_ = false; // since the port last opened
    // For the drain before closing: when the last frame went to the port, how
    // long it is, and whether the port has reported its write queue empty since.
    std::chrono::steady_clock::time_point lastWrite_{};
    qsizetype lastWriteBytes_ = 0;
    bool txEmpty_ = true;
    bool heardSinceWrite_ = false;
};

} // namespace tq3
