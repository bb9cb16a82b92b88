#pragma once
// Debian's ser2net run in the foreground on a configuration of its own, in front of
// local devices, on loopback; stopped by its process id. Used by the integration
// tests and the benchmarks of network lines.
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// ser2net's path, or empty when it is not installed.
QString Ser2netPath();

// Whether something listens on 127.0.0.1:port, from the kernel's table: a probe
// connection would open the device behind ser2net.
bool Listening(quint16 port);

struct Accepter
{
    bool telnet = false; // RFC 2217 over Telnet, else a raw TCP stream
    quint16 port = 0;
    QString device;
    QString Name() const;
};

class Ser2net
{
public:
    ~Ser2net() { Stop(); }
    // Starts ser2net and waits until every accepter listens. The option, if any, is a
    // line of every connection's "options:", e.g. "chardelay: false".
    bool Start(const QList<Accepter>& accepters, const QString& option = {});
    void Stop();

private:
    QTemporaryDir dir_;
    QProcess process_;
};
