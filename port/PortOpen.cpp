#include "port/PortOpen.h"

#include "port/PortList.h"

#include "VaComm.h"
#include "VaOs.h"

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

OpenFailure ClassifyOpenFailure(int osError)
{
    switch (osError) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO: // a ttyS node with no port behind it
        return OpenFailure::Missing;
    case EBUSY:
    case EAGAIN:
        return OpenFailure::Busy;
    case EACCES:
    case EPERM:
    case EROFS:
        return OpenFailure::NotAllowed;
    default:
        return OpenFailure::Other;
    }
}

QString OpenFailureDetail(const QString& name, const QString& device, int osError)
{
    const QString shown =
        name.isEmpty() || name == device ? device : QStringLiteral("%1 (%2)").arg(name, device);
    switch (ClassifyOpenFailure(osError)) {
    case OpenFailure::Missing:
        return QStringLiteral(
                   "Urządzenie %1 nie istnieje: adapter nie jest podłączony albo port ma inną nazwę.")
            .arg(shown);
    case OpenFailure::Busy:
        return QStringLiteral("Urządzenie %1 jest zajęte: używa go inny program.").arg(shown);
    case OpenFailure::NotAllowed: {
        const QString group = DeviceGroup(device);
        const QString user = UserName();
        return QStringLiteral("Brak uprawnień do urządzenia %1. Dodaj użytkownika %2 do grupy %3 "
                              "(sudo adduser %2 %3), a potem wyloguj się i zaloguj ponownie.")
            .arg(shown, user, group);
    }
    case OpenFailure::Other:
        break;
    }
    return QStringLiteral("Urządzenie %1: %2").arg(shown, VaOs::ErrorText(osError));
}

} // namespace tq3
