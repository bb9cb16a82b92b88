#include "history/ServiceCommands.h"

#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"

namespace tq3 {

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
