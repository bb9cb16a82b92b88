#include "link/Session.h"

#include "link/DeviceLink.h"

namespace tq3 {

namespace {

constexpr quint16 SessionTicks = 10;

} // namespace

LoginResult LogIn(DeviceLink& link, const QByteArray& password)
{
    link.SendCommand(CodeLogin, password);
    if (!link.WaitAnswer(SessionTicks, CodeLogin))
        return LoginResult::NoAnswer;
    return link.AnswerData().startsWith('T') ? LoginResult::Accepted : LoginResult::Refused;
}

bool LogOut(DeviceLink& link)
{
    link.SendCommand(CodeLogout, QByteArrayLiteral("W"));
    return link.WaitAnswer(SessionTicks, CodeLogout);
}

std::optional<QByteArray> ReadStatus(DeviceLink& link)
{
    if (!link.SendAndWait(CodeStatus, QByteArrayLiteral("G"), SessionTicks))
        return std::nullopt;
    return link.AnswerData();
}

} // namespace tq3
