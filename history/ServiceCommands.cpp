#include "history/ServiceCommands.h"

#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"

namespace tq3 {

namespace {

constexpr quint8 CodePassword = 3;
constexpr quint8 CodeClock = 74;
constexpr quint8 CodeErase = 76;
constexpr quint8 CodeCounters = 81;
constexpr quint8 CodeRestart = 100;

} // namespace

bool ServiceCommands::EraseHistory()
{
    link_.SendCommand(CodeErase, QByteArrayLiteral("x"));
    return link_.WaitAnswer(110, CodeErase);
}

bool ServiceCommands::ChangePassword(const QByteArray& newPassword)
{
    link_.SendCommand(CodePassword, newPassword);
    return link_.WaitAnswer(10, CodePassword);
}

void ServiceCommands::SetClock(const QDateTime& localTime)
{
    link_.SendCommand(CodeClock, ClockPayload(localTime));
}

void ServiceCommands::Restart()
{
    link_.SendCommand(CodeRestart, QByteArrayLiteral("B"));
}

void ServiceCommands::ResetCounters()
{
    link_.SendCommand(CodeCounters, QByteArrayLiteral("G"));
}

} // namespace tq3
