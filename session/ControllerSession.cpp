#include "session/ControllerSession.h"

#include "VaClasses.h"
#include "VaComm.h"
#include "VaConst.h"
#include "history/HistoryDownload.h"
#include "link/DeviceStatus.h"
#include "port/NetworkPorts.h"
#include "port/PortOpen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <thread>

namespace tq3 {

namespace {

Q_LOGGING_CATEGORY(lcSession, "tq3.session", QtInfoMsg)

constexpr int LineBaud = 4800;
constexpr int BitsPerByte = 10;
// However long the port takes to report its queue written, no close waits longer.
constexpr int DrainLimitMs = 2000;

bool IsHistoryAnswer(quint8 type)
{
    return type == CodeHistoryEnd || type == CodeHistoryRecord || type == CodeHistory ||
           type == CodeHistoryStop;
}

} // namespace

ControllerSession::ControllerSession(TVaCustomComm& comm, UserPrompts& prompts, SessionListener& listener,
                                     QObject* parent)
    : QObject(parent), comm_(comm), listener_(listener)
{
    comm_.OnRxChar = [this](QObject*, qint32) { ReceiveChars(); };
    comm_.OnTxEmpty = [this](QObject*) { txEmpty_ = true; };
    comm_.OnError = [this](QObject*, quint32 errors) {
        if (errors & VaConst::CE_IOE)
            OnLineLost();
    };

    LinkHost& host = *this;
    link_ = std::make_unique<DeviceLink>(host, prompts, this);
    link_->SetWriter([this](const QByteArray& frame) {
        lastWrite_ = std::chrono::steady_clock::now();
        lastWriteBytes_ = frame.size();
        txEmpty_ = false;
        heardSinceWrite_ = false;
        return comm_.WriteString(frame);
    });
}

ControllerSession::~ControllerSession()
{
    // The component may outlive the session (the window owns it): its events
    // must not reach a session that is gone.
    comm_.OnRxChar = nullptr;
    comm_.OnTxEmpty = nullptr;
    comm_.OnError = nullptr;
}

void ControllerSession::ApplyLineSettings()
{
    comm_.SetBaudrate(br4800);
    comm_.SetParity(paNone);
    comm_.SetDatabits(db8);
    comm_.SetStopbits(sb1);
    SetNoFlowControl(comm_);
}

void ControllerSession::OpenPort(const QString& name, const QString& devRoot)
{
    if (!comm_.IsOpen()) {
        openingPort_ = name.trimmed();
        qCDebug(lcSession) << "opening" << openingPort_;
        ChoosePort(comm_, openingPort_, devRoot);
        comm_.Open(); // raises EConvertError when the device cannot be opened
        lineLost_ = false;
        // Written while the first frame is on the line, not before it goes out.
        QMetaObject::invokeMethod(
            this, [name = openingPort_] { RememberNetworkPort(name); }, Qt::QueuedConnection);
    }
    comm_.SetDtrLine(true);
    comm_.SetRtsLine(false);
}

QString ControllerSession::OpenFailureDetail(const EVaOpenError& error) const
{
    return tq3::OpenFailureDetail(openingPort_, error);
}

void ControllerSession::ClosePort()
{
    if (!comm_.IsOpen())
        return;
    // Closing drops what the port has not sent yet. An answer heard since the
    // last frame went out says that it has.
    QElapsedTimer waited;
    waited.start();
    while (!txEmpty_ && waited.elapsed() < DrainLimitMs)
        WaitForMessages();
    const auto lineTime =
        std::chrono::microseconds(qint64(lastWriteBytes_) * BitsPerByte * 1'000'000 / LineBaud);
    const auto sent = lastWrite_ + lineTime + std::chrono::milliseconds(20);
    if (lastWriteBytes_ > 0 && !heardSinceWrite_ && std::chrono::steady_clock::now() < sent)
        std::this_thread::sleep_until(sent);
    comm_.Close();
}

LoginResult ControllerSession::LogIn(const QByteArray& password)
{
    const LoginResult result = tq3::LogIn(*link_, password);
    qCDebug(lcSession) << "login"
                       << (result == LoginResult::Accepted  ? "accepted"
                           : result == LoginResult::Refused ? "refused"
                                                            : "unanswered");
    if (result == LoginResult::Accepted) {
        link_->SetPollTicks(0);
        link_->SetLoggedIn(true);
    }
    return result;
}

bool ControllerSession::LogOut()
{
    MarkLoggedOut();
    return tq3::LogOut(*link_);
}

void ControllerSession::MarkLoggedOut()
{
    link_->SetControlsUnlocked(false);
    link_->SetLoggedIn(false);
}

void ControllerSession::EnterLoggedOut()
{
    qCDebug(lcSession) << "logged out";
    MarkLoggedOut();
    listener_.LoggedOut();
}

void ControllerSession::OnLineLost()
{
    qCDebug(lcSession) << "line lost";
    lineLost_ = true;
    listener_.LineLost();
    if (link_->LoggedIn())
        EnterLoggedOut();
}

void ControllerSession::Tick()
{
    ++ticks_;
    link_->Tick();
}

void ControllerSession::StartTicking(std::chrono::milliseconds tick)
{
    if (!timer_) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, &ControllerSession::Tick);
    }
    timer_->setInterval(tick);
    timer_->start();
}

void ControllerSession::ReceiveChars()
{
    heardSinceWrite_ = true;
    link_->ReceiveChars(comm_.ReadString());
}

ControllerSession::HistoryEnd ControllerSession::AwaitHistory(HistoryDownload& download, int stallTicks,
                                                              const std::function<void()>& beforeEachWait)
{
    const quint64 started = ticks_;
    while (!download.Finished()) {
        if (beforeEachWait)
            beforeEachWait();
        const quint64 lastSign = qMax(started, lastHistoryAnswer_);
        if (lineLost_ || ticks_ - lastSign >= quint64(stallTicks)) {
            qCDebug(lcSession) << "history stream stalled after" << ticks_ - lastSign << "ticks";
            EnterLoggedOut();
            return HistoryEnd::Stalled;
        }
        WaitForMessages();
    }
    return HistoryEnd::Finished;
}

void ControllerSession::DispatchAnswer(quint8 type, const QByteArray& payload)
{
    // Clicks wait for the normal loop: a dialog opened from inside a dispatch
    // would hold up every answer behind it.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (type == CodeLogin) {
        if (const auto text = VersionText(payload)) {
            version_ = *text;
            listener_.VersionReceived(*text);
        }
    } else if (type == CodeStatus) {
        listener_.StatusReceived(payload);
    } else if (IsHistoryAnswer(type)) {
        lastHistoryAnswer_ = ticks_;
        if (history_)
            history_->Answer(type, payload);
    } else if (type >= CodeFirstSetting && type < CodeLastSetting && type % 2 == 0) {
        listener_.SettingReceived(type, payload);
    }
}

} // namespace tq3
