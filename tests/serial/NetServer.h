#pragma once
// Small TCP servers on loopback for the network-line tests, in a thread of their own so
// that they answer while the component's open blocks: a converter that echoes, Telnet
// servers that agree or refuse and never answer a port command, and servers that turn the
// line down with a text or a close.

#include <QByteArray>
#include <QString>
#include <mutex>
#include <thread>

QByteArray Bytes(std::initializer_list<int> bytes);
// The data of a Telnet stream, read apart from the component's codec.
QByteArray TelnetData(const QByteArray& in);

// A listening socket on a free loopback port; its number in port.
int ListenOnLoopback(quint16& port, int backlog = 4);
quint16 FreeLoopbackPort();
// A connected client socket, or -1.
int ConnectToLoopback(quint16 port, bool nonBlocking = false);

class FakeServer
{
public:
    enum Kind
    {
        EchoRaw,       // a raw TCP converter: bytes back as they came
        TelnetQuiet,   // agrees to everything, answers no port command, echoes the data
        TelnetRefuses, // turns down COM-port control and binary, echoes the data
        ErrorText,     // ser2net with its port taken: a text, then the close
        CloseAtOnce,
    };
    explicit FakeServer(Kind kind);
    ~FakeServer();
    quint16 Port() const { return port_; }
    QString Name(const char* scheme) const;
    QByteArray Received() const;
    // Closes the client's connection, as a server that goes away does.
    void Drop();

private:
    void Run();
    void Greet(int client);
    void Echo(int client, const char* bytes, qsizetype n);

    const Kind kind_;
    quint16 port_ = 0;
    int listen_;
    int stop_, drop_;
    mutable std::mutex mutex_;
    QByteArray received_;
    QByteArray pending_; // Telnet bytes not yet echoed
    std::thread thread_;
};
