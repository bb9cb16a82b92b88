#pragma once
// Types of the serial-port library: line settings, event sets, the device-control
// record and the callbacks the component raises.

#include <QtGlobal>
#include <cstdint>
#include <functional>

class QObject;

enum TVaBaudrate
{
    brUser,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TVaParity
{
    paNone,
    paOdd,
    paEven,
    paMark,
    paSpace
};
enum TVaDatabits
{
    db4,
    db5,
    db6,
    db7,
    db8
};
enum TVaStopbits
{
    sb1,
    sb15,
    sb2
};
enum TVaControlDtr
{
    dtrDisabled,
    dtrEnabled,
    dtrHandshake
};
enum TVaControlRts
{
    rtsDisabled,
    rtsEnabled,
    rtsHandshake,
    rtsToggle
};
enum TVaCommEvent
{
    ceBreak,
    ceCts,
    ceDsr,
    ceError,
    ceRing,
    ceRlsd,
    ceRxChar,
    ceTxEmpty,
    ceRxFlag,
    cePErr,
    ceRx80Full,
    ceEvent1,
    ceEvent2
};
enum TVaCommOption
{
    coErrorChar,
    coNullStrip
};
enum TThreadPriority
{
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// A small set of enumeration values, one bit per ordinal, like the Pascal sets
// the library's settings are made of.
template <typename E, typename Bits> class TVaSet
{
public:
    constexpr TVaSet() = default;
    constexpr TVaSet(std::initializer_list<E> values)
    {
        for (E v : values)
            bits_ |= Bit(v);
    }
    static constexpr TVaSet FromBits(Bits b)
    {
        TVaSet s;
        s.bits_ = b;
        return s;
    }
    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr TVaSet& Include(E v)
    {
        bits_ |= Bit(v);
        return *this;
    }
    constexpr TVaSet& Exclude(E v)
    {
        bits_ &= static_cast<Bits>(~Bit(v));
        return *this;
    }
    constexpr bool IsEmpty() const { return bits_ == 0; }
    constexpr Bits ToBits() const { return bits_; }
    constexpr bool operator==(const TVaSet&) const = default;

private:
    static constexpr Bits Bit(E v) { return static_cast<Bits>(Bits(1) << static_cast<int>(v)); }
    Bits bits_ = 0;
};

using TVaCommEvents = TVaSet<TVaCommEvent, quint16>;
using TVaCommOptions = TVaSet<TVaCommOption, quint8>;

using TVaIntW = qint32;    // 0..2147483647
using TVaPortInt = qint32; // 0..2147483647

enum TVaWaitResult
{
    waitSignaled,
    waitTimeout,
    waitAbandoned,
    waitFailed
};

// The device-control record handed to the operating system, with the field names and
// the values of the Win32 record it stands for; the POSIX backend maps it onto termios.
struct TVaDcb
{
    quint32 BaudRate = 0;
    quint8 fBinary = 0;
    quint8 fParity = 0;
    quint8 fOutxCtsFlow = 0;
    quint8 fOutxDsrFlow = 0;
    quint8 fDtrControl = 0;
    quint8 fDsrSensitivity = 0;
    quint8 fTXContinueOnXoff = 0;
    quint8 fOutX = 0;
    quint8 fInX = 0;
    quint8 fErrorChar = 0;
    quint8 fNull = 0;
    quint8 fRtsControl = 0;
    quint8 fAbortOnError = 0;
    quint16 XonLim = 0;
    quint16 XoffLim = 0;
    quint8 ByteSize = 0;
    quint8 Parity = 0;
    quint8 StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    bool operator==(const TVaDcb&) const = default;
};

// Queue status of an open port, as the operating system reports it.
struct TVaComStat
{
    quint32 cbInQue = 0;
    quint32 cbOutQue = 0;
};

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TVaCommErrorEvent = std::function<void(QObject* Sender, quint32 Errors)>;
using TVaCommRxCharEvent = std::function<void(QObject* Sender, qint32 Count)>;
