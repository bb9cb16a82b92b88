#include "Device.h"

#include "CommandLine.h"
#include "Console.h"
#include "Terminal.h"
#include "VaClasses.h"
#include "VaComm.h"
#include "VaUtils.h"

#include <QCoreApplication>

namespace tq3ctl {

namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(tq3ctl::Device)
};

} // namespace

Device::Device(Console& console, std::chrono::milliseconds tick)
    : console_(console), tick_(tick), comm_(std::make_unique<TVaComm>())
{
    // A device that goes away shows as unanswered commands; nothing else to do here.
    VaSetApplicationExceptionHandler([](std::exception_ptr) {});
    SessionListener& listener = *this;
    session_ = std::make_unique<tq3::ControllerSession>(*comm_, console_, listener, this);
    session_->ApplyLineSettings();
    session_->StartTicking(tick_);
}

Device::~Device()
{
    session_.reset();
    comm_.reset();
    VaSetApplicationExceptionHandler(nullptr);
}

int Device::Open(const QString& port)
{
    try {
        session_->OpenPort(port);
    } catch (const EVaOpenError& e) {
        console_.Message(tq3::MessageKind::Error, Texts::tr("Port COM niedostępny"), tq3::MessageButtons::Ok,
                         session_->OpenFailureDetail(e));
        return ExitPort;
    } catch (const Exception& e) {
        comm_->Close();
        console_.Error(Texts::tr("Port COM niedostępny (%1)").arg(e.Message()));
        return ExitPort;
    }
    return ExitOk;
}

int Device::LogIn(const QByteArray& password)
{
    switch (session_->LogIn(password)) {
    case tq3::LoginResult::Accepted:
        return ExitOk;
    case tq3::LoginResult::Refused:
        console_.Error(Texts::tr("Błędne hasło"));
        return ExitPassword;
    case tq3::LoginResult::NoAnswer:
        break;
    }
    return ExitNoAnswer; // the link has said so
}

void Device::LogOut()
{
    // The window's ROZŁĄCZ: the state is logged out whatever the answer.
    if (session_->LoggedIn())
        session_->LogOut();
}

bool Device::WaitTicks(int n)
{
    const quint64 until = session_->Ticks() + quint64(qMax(n, 0));
    while (session_->Ticks() < until && !Interrupted())
        tq3::WaitForMessages();
    return !Interrupted();
}

} // namespace tq3ctl
