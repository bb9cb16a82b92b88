#include "Ser2netServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>

#include <csignal>
#include <sys/prctl.h>

QString Ser2netPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                          QString::fromLocal8Bit(qgetenv("PATH")).split(u':') +
                                              QStringList{"/usr/sbin", "/sbin"});
}

bool Listening(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local =
        QByteArray("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() > 3 && f[1] == local && f[3] == "0A")
            return true;
    }
    return false;
}

QString Accepter::Name() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(telnet ? "rfc2217" : "socket").arg(port);
}

bool Ser2net::Start(const QList<Accepter>& accepters, const QString& option)
{
    QByteArray yaml;
    for (int i = 0; i < accepters.size(); ++i) {
        const Accepter& a = accepters[i];
        yaml += QStringLiteral("connection: &line%1\n"
                               "  accepter: %2tcp,127.0.0.1,%3\n"
                               "  connector: serialdev,%4,4800n81,local\n")
                    .arg(i)
                    .arg(a.telnet ? "telnet(rfc2217)," : "")
                    .arg(a.port)
                    .arg(a.device)
                    .toUtf8();
        if (!option.isEmpty())
            yaml += "  options:\n    " + option.toUtf8() + '\n';
    }
    const QString config = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly) || f.write(yaml) != yaml.size())
        return false;
    f.close();
    process_.setProgram(Ser2netPath());
    process_.setArguments({"-n", "-u", "-c", config});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A run that dies takes its server with it, so no ser2net outlives it.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start();
    if (!process_.waitForStarted(5000))
        return false;
    const QDeadlineTimer deadline(5000);
    while (!std::all_of(accepters.begin(), accepters.end(),
                        [](const Accepter& a) { return Listening(a.port); })) {
        if (deadline.hasExpired() || process_.state() != QProcess::Running)
            return false;
        QThread::msleep(5);
    }
    return true;
}

void Ser2net::Stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished();
    }
}
