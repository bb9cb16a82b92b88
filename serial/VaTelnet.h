#pragma once
// Telnet with the COM-port control option, as a network serial server speaks it: the
// data's escaping both ways, the option negotiation, and the port's line settings and
// modem lines as commands. No I/O: the caller feeds what arrived and sends what comes out.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace VaTelnet {

inline constexpr quint8 IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
inline constexpr quint8 OptBinary = 0, OptEcho = 1, OptSuppressGoAhead = 3, OptComPort = 44;

// Commands of the COM-port option, client to server; the server answers with each plus 100.
inline constexpr quint8 SetBaudrate = 1, SetDatasize = 2, SetParity = 3, SetStopsize = 4, SetControl = 5,
                        PurgeData = 12;
inline constexpr quint8 ServerOffset = 100;

// SET-CONTROL values.
inline constexpr quint8 FlowNone = 1, FlowXonXoff = 2, FlowHardware = 3;
inline constexpr quint8 DtrOn = 8, DtrOff = 9, RtsOn = 11, RtsOff = 12;
// SET-PARITY values.
inline constexpr quint8 ParityNone = 1, ParityOdd = 2, ParityEven = 3, ParityMark = 4, ParitySpace = 5;
// SET-STOPSIZE values.
inline constexpr quint8 Stop1 = 1, Stop2 = 2, Stop15 = 3;
// PURGE-DATA: both the server's receive and transmit buffers.
inline constexpr quint8 PurgeBoth = 3;

// The data with every IAC doubled.
QByteArray Escape(QByteArrayView data);
// How many data bytes the first `sent` bytes of Escape(data) carry whole, and whether the
// byte after them went out as the first half of its doubled IAC.
qsizetype Covered(QByteArrayView data, qsizetype sent, bool* halfPair);
QByteArray Negotiation(quint8 verb, quint8 option);
// IAC SB COM-PORT command value IAC SE, the value escaped.
QByteArray ComPortCommand(quint8 command, QByteArrayView value);

// The serial line the server is asked to run.
struct Line
{
    quint32 baud = 4800;
    quint8 dataSize = 8;
    quint8 parity = ParityNone;
    quint8 stopSize = Stop1;
    quint8 flow = FlowNone;
    bool operator==(const Line&) const = default;
};
QByteArray LineCommands(const Line& line);

// The client's side of a Telnet session with COM-port control. Commands for the port are
// held back until the server has agreed to the option, and then sent in the order asked;
// nothing here ever waits for an answer.
class Session
{
public:
    enum class ComPort
    {
        Asked,
        Agreed,
        Refused
    };

    // Our offers: COM-port control, binary both ways, no go-ahead both ways.
    QByteArray Start();
    // The commands now when the option is agreed, otherwise kept for then.
    QByteArray RequestLine(const Line& line);
    QByteArray RequestControl(quint8 value);
    QByteArray RequestPurge(quint8 value);

    struct Output
    {
        QByteArray data;    // the payload received, unescaped
        QByteArray replies; // to send back
    };
    // Any split of the stream gives the same result as the whole.
    Output Feed(QByteArrayView received);

    ComPort PortControl() const { return comPort_; }
    // The server's answers and notifications, dropped but counted for diagnostics.
    int ServerNotes() const { return serverNotes_; }
    quint8 LastNoteCommand() const { return lastNote_; }

private:
    enum class Q : quint8
    {
        No,
        Yes,
        WantYes
    };
    void Negotiate(quint8 verb, quint8 option, QByteArray& replies);
    void SubNegotiation(const QByteArray& body);
    QByteArray Held(const QByteArray& commands);
    QByteArray Release();

    Q us_[256] = {};
    Q him_[256] = {};
    ComPort comPort_ = ComPort::Asked;
    QByteArray held_;
    enum class State : quint8
    {
        Data,
        Iac,
        Verb,
        Sub,
        SubIac
    };
    State state_ = State::Data;
    quint8 verb_ = 0;
    QByteArray sub_;
    int serverNotes_ = 0;
    quint8 lastNote_ = 0;
};

} // namespace VaTelnet
