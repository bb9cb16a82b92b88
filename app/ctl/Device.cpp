#include "Device.h"

#include "CommandLine.h"
#include "Console.h"
#include "Terminal.h"
#include "VaClasses.h"
#include "VaComm.h"
#include "VaUtils.h"
#include "history/HistoryDownload.h"
#include "link/DeviceStatus.h"
#include "link/Session.h"
#include "port/PortOpen.h"

#include <QElapsedTimer>
#include <thread>

namespace tq3ctl {

namespace {

constexpr int LineBaud = 4800;
constexpr int BitsPerByte = 10;
// However long the port takes to report its queue written, no close waits longer.
constexpr int DrainLimitMs = 2000;

bool IsHistoryAnswer(quint8 type)
{
    return type == 70 || type == 71 || type == 73 || type == 75;
}

} // namespace

Device::Device(Console& console, std::chrono::milliseconds tick)
    : console_(console), tick_(tick), comm_(std::make_unique<TVaComm>())
{
    // The line as the window sets it.
    comm_->SetBaudrate(br4800);
    comm_->SetParity(paNone);
    comm_->SetDatabits(db8);
    comm_->SetStopbits(sb1);
    tq3::SetNoFlowControl(*comm_);
    comm_->OnRxChar = [this](QObject*, qint32) {
        heardSinceWrite_ = true;
        link_->ReceiveChars(comm_->ReadString());
    };
    comm_->OnTxEmpty = [this](QObject*) { txEmpty_ = true; };
    // A device that goes away shows as unanswered commands; nothing else to do here.
    VaSetApplicationExceptionHandler([](std::exception_ptr) {});

    LinkHost& host = *this;
    link_ = std::make_unique<tq3::DeviceLink>(host, console_, this);
    link_->SetWriter([this](const QByteArray& frame) {
        lastWrite_ = std::chrono::steady_clock::now();
        lastWriteBytes_ = frame.size();
        txEmpty_ = false;
        heardSinceWrite_ = false;
        return comm_->WriteString(frame);
    });

    timer_.setInterval(tick_);
    connect(&timer_, &QTimer::timeout, this, &Device::OnTick);
    timer_.start();
}

Device::~Device()
{
    timer_.stop();
    comm_->OnRxChar = nullptr;
    comm_->OnTxEmpty = nullptr;
    comm_.reset();
    VaSetApplicationExceptionHandler(nullptr);
}

int Device::Open(const QString& port)
{
    const QString name = port.trimmed();
    tq3::ChoosePort(*comm_, name);
    try {
        comm_->Open();
        comm_->SetDtrLine(true);
        comm_->SetRtsLine(false);
    } catch (const EVaOpenError& e) {
        console_.Message(tq3::MessageKind::Error, QStringLiteral("Port COM niedostępny"),
                         tq3::MessageButtons::Ok, tq3::OpenFailureDetail(name, e.Device(), e.OsError()));
        return ExitPort;
    } catch (const Exception& e) {
        comm_->Close();
        console_.Error(QStringLiteral("Port COM niedostępny (%1)").arg(e.Message()));
        return ExitPort;
    }
    return ExitOk;
}

int Device::LogIn(const QByteArray& password)
{
    switch (tq3::LogIn(*link_, password)) {
    case tq3::LoginResult::Accepted:
        loggedIn_ = true;
        link_->SetLoggedIn(true);
        return ExitOk;
    case tq3::LoginResult::Refused:
        console_.Error(QStringLiteral("Błędne hasło"));
        return ExitPassword;
    case tq3::LoginResult::NoAnswer:
        break;
    }
    return ExitNoAnswer; // the link has said so
}

void Device::LogOut()
{
    if (!loggedIn_)
        return;
    // The window's ROZŁĄCZ: the state is logged out whatever the answer.
    EnterLoggedOut();
    tq3::LogOut(*link_);
}

void Device::Close()
{
    if (!comm_->IsOpen())
        return;
    // Closing drops what the port has not sent yet: a command that waits for
    // no answer (restart) must be on the line first. An answer heard since the
    // last frame went out says that it has.
    QElapsedTimer waited;
    waited.start();
    while (!txEmpty_ && waited.elapsed() < DrainLimitMs)
        tq3::WaitForMessages();
    const auto lineTime =
        std::chrono::microseconds(qint64(lastWriteBytes_) * BitsPerByte * 1'000'000 / LineBaud);
    const auto sent = lastWrite_ + lineTime + std::chrono::milliseconds(20);
    if (lastWriteBytes_ > 0 && !heardSinceWrite_ && std::chrono::steady_clock::now() < sent)
        std::this_thread::sleep_until(sent);
    comm_->Close();
}

bool Device::WaitTicks(int n)
{
    const quint64 until = ticks_ + quint64(qMax(n, 0));
    while (ticks_ < until && !Interrupted())
        tq3::WaitForMessages();
    return !Interrupted();
}

void Device::OnTick()
{
    ++ticks_;
    link_->Tick();
}

void Device::DispatchAnswer(quint8 type, const QByteArray& payload)
{
    if (type == tq3::CodeLogin) {
        if (const auto version = tq3::VersionText(payload))
            version_ = *version;
    } else if (IsHistoryAnswer(type) && history_) {
        lastHistoryAnswer_ = ticks_;
        history_->Answer(type, payload);
    }
}

void Device::EnterLoggedOut()
{
    loggedIn_ = false;
    link_->SetLoggedIn(false);
    link_->SetControlsUnlocked(false);
}

} // namespace tq3ctl
