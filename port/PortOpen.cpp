#include "port/PortOpen.h"

#include "port/PortList.h"

#include "VaComm.h"
#include "VaOs.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tq3 {

namespace {

// The group that may read and write the device, where it has one; Debian gives
// serial ports to dialout.
QString DeviceGroup(const QString& device)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(device).constData(), &st) == 0 &&
        (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP))
        if (const group* g = ::getgrgid(st.st_gid); g && g->gr_name && st.st_gid != 0)
            return QString::fromLocal8Bit(g->gr_name);
    return QStringLiteral("dialout");
}

QString UserName()
{
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("$USER");
}

} // namespace

void ChoosePort(TVaCustomComm& comm, const QString& name, const QString& devRoot)
{
    const QString target = ResolvePortName(name, devRoot);
    if (const std::optional<int> number = ComPortNumber(target)) {
        comm.SetDeviceName(QStringLiteral("COM%d"));
        comm.SetPortNum(*number);
        return;
    }
    // The component's device name is a format: a path's own % must stay one.
    comm.SetDeviceName(QString(target).replace(QLatin1Char('%'), QStringLiteral("%%")));
}

void SetNoFlowControl(TVaCustomComm& comm)
{
    TVaFlowControl flow;
    flow.SetOutCtsFlow(false);
    flow.SetOutDsrFlow(false);
    flow.SetXonXoffOut(false);
    flow.SetXonXoffIn(false);
    flow.SetDsrSensitivity(false);
    flow.SetTxContinueOnXoff(false);
    flow.SetControlDtr(dtrDisabled);
    flow.SetControlRts(rtsDisabled);
    comm.SetFlowControl(flow);
}

namespace {

QString NetFailureDetail(const VaOs::NetAddress& address, int osError, const QString& serverText)
{
    const QString server = address.Shown();
    switch (ClassifyOpenFailure(osError)) {
    case OpenFailure::Refused:
        return QCoreApplication::translate("PortOpen", "Serwer %1 odmówił połączenia.").arg(server);
    case OpenFailure::UnknownHost:
        return QCoreApplication::translate("PortOpen", "Nieznany host %1 (%2).")
            .arg(address.host, VaOs::ErrorText(osError));
    case OpenFailure::Unreachable:
        return QCoreApplication::translate("PortOpen", "Brak połączenia z %1 (brak trasy albo upłynął czas).")
            .arg(server);
    case OpenFailure::ServerSaid:
        if (serverText.isEmpty())
            return QCoreApplication::translate("PortOpen",
                                               "Serwer %1 odpowiedział błędem i zamknął połączenie.")
                .arg(server);
        return QCoreApplication::translate("PortOpen", "Serwer %1 odpowiedział: %2").arg(server, serverText);
    case OpenFailure::Dropped:
        return QCoreApplication::translate("PortOpen",
                                           "Serwer %1 zamknął połączenie zaraz po jego nawiązaniu.")
            .arg(server);
    default:
        return QCoreApplication::translate("PortOpen", "Połączenie z %1: %2")
            .arg(server, VaOs::ErrorText(osError));
    }
}

} // namespace

QString OpenFailureDetail(const QString& name, const EVaOpenError& failure)
{
    VaOs::NetAddress address;
    if (VaOs::ParseNetAddress(failure.Device(), address) && address.kind != VaOs::NetAddress::Kind::None)
        return NetFailureDetail(address, failure.OsError(), failure.ServerText());
    return OpenFailureDetail(name, failure.Device(), failure.OsError());
}

QString OpenFailureDetail(const QString& name, const QString& device, int osError)
{
    VaOs::NetAddress address;
    if (!VaOs::ParseNetAddress(device, address))
        return QCoreApplication::translate(
                   "PortOpen",
                   "Nieprawidłowy adres %1: oczekiwano socket://HOST:PORT albo rfc2217://HOST:PORT.")
            .arg(device);
    if (address.kind != VaOs::NetAddress::Kind::None)
        return NetFailureDetail(address, osError, {});
    const QString shown =
        name.isEmpty() || name == device ? device : QStringLiteral("%1 (%2)").arg(name, device);
    switch (ClassifyOpenFailure(osError)) {
    case OpenFailure::Missing:
        return QCoreApplication::translate(
                   "PortOpen",
                   "Urządzenie %1 nie istnieje: adapter nie jest podłączony albo port ma inną nazwę.")
            .arg(shown);
    case OpenFailure::Busy:
        return QCoreApplication::translate("PortOpen", "Urządzenie %1 jest zajęte: używa go inny program.")
            .arg(shown);
    case OpenFailure::NotAllowed: {
        const QString group = DeviceGroup(device);
        const QString user = UserName();
        return QCoreApplication::translate(
                   "PortOpen", "Brak uprawnień do urządzenia %1. Dodaj użytkownika %2 do grupy %3 "
                               "(sudo adduser %2 %3), a potem wyloguj się i zaloguj ponownie.")
            .arg(shown, user, group);
    }
    default:
        break;
    }
    return QCoreApplication::translate("PortOpen", "Urządzenie %1: %2").arg(shown, VaOs::ErrorText(osError));
}

} // namespace tq3
