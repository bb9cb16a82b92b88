#include "VaTelnet.h"

#include <utility>

namespace VaTelnet {

QByteArray Escape(QByteArrayView data)
{
    QByteArray out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out += c;
        if (quint8(c) == IAC)
            out += c;
    }
    return out;
}

qsizetype Covered(QByteArrayView data, qsizetype sent, bool* halfPair)
{
    *halfPair = false;
    qsizetype used = 0, n = 0;
    for (; n < data.size(); ++n) {
        const qsizetype width = quint8(data[n]) == IAC ? 2 : 1;
        if (used + width > sent) {
            *halfPair = used < sent;
            break;
        }
        used += width;
    }
    return n;
}

QByteArray Negotiation(quint8 verb, quint8 option)
{
    const char bytes[3] = {char(IAC), char(verb), char(option)};
    return QByteArray(bytes, 3);
}

QByteArray ComPortCommand(quint8 command, QByteArrayView value)
{
    const char head[4] = {char(IAC), char(SB), char(OptComPort), char(command)};
    const char end[2] = {char(IAC), char(SE)};
    return QByteArray(head, 4) + Escape(value) + QByteArray(end, 2);
}

QByteArray LineCommands(const Line& line)
{
    const char baud[4] = {char(line.baud >> 24), char(line.baud >> 16), char(line.baud >> 8),
                          char(line.baud)};
    return ComPortCommand(SetBaudrate, QByteArrayView(baud, 4)) +
           ComPortCommand(SetDatasize, QByteArray(1, char(line.dataSize))) +
           ComPortCommand(SetParity, QByteArray(1, char(line.parity))) +
           ComPortCommand(SetStopsize, QByteArray(1, char(line.stopSize))) +
           ComPortCommand(SetControl, QByteArray(1, char(line.flow)));
}

QByteArray Session::Start()
{
    us_[OptComPort] = us_[OptBinary] = us_[OptSuppressGoAhead] = Q::WantYes;
    him_[OptBinary] = him_[OptSuppressGoAhead] = Q::WantYes;
    return Negotiation(WILL, OptComPort) + Negotiation(WILL, OptBinary) + Negotiation(DO, OptBinary) +
           Negotiation(WILL, OptSuppressGoAhead) + Negotiation(DO, OptSuppressGoAhead);
}

QByteArray Session::Held(const QByteArray& commands)
{
    if (comPort_ == ComPort::Agreed)
        return commands;
    if (comPort_ == ComPort::Asked)
        held_ += commands;
    return {};
}

QByteArray Session::Release()
{
    return std::exchange(held_, {});
}

QByteArray Session::RequestLine(const Line& line)
{
    return Held(LineCommands(line));
}

QByteArray Session::RequestControl(quint8 value)
{
    return Held(ComPortCommand(SetControl, QByteArray(1, char(value))));
}

QByteArray Session::RequestPurge(quint8 value)
{
    return Held(ComPortCommand(PurgeData, QByteArray(1, char(value))));
}

void Session::Negotiate(quint8 verb, quint8 option, QByteArray& replies)
{
    // Options we take on our side, and the server's we accept; anything else is refused.
    const bool ours = option == OptComPort || option == OptBinary || option == OptSuppressGoAhead;
    const bool his = option == OptBinary || option == OptSuppressGoAhead;
    // A request of ours that the server answers is settled without a reply, so that
    // crossing offers never loop.
    switch (verb) {
    case WILL:
        if (him_[option] == Q::WantYes)
            him_[option] = Q::Yes;
        else if (him_[option] == Q::No) {
            him_[option] = his ? Q::Yes : Q::No;
            replies += Negotiation(his ? DO : DONT, option);
        }
        break;
    case WONT:
        if (him_[option] == Q::Yes)
            replies += Negotiation(DONT, option);
        him_[option] = Q::No;
        break;
    case DO:
        if (us_[option] == Q::No) {
            replies += Negotiation(ours ? WILL : WONT, option);
            if (!ours)
                break;
        }
        if (us_[option] != Q::Yes) {
            us_[option] = Q::Yes;
            if (option == OptComPort) {
                comPort_ = ComPort::Agreed;
                replies += Release();
            }
        }
        break;
    case DONT:
        if (us_[option] == Q::Yes)
            replies += Negotiation(WONT, option);
        us_[option] = Q::No;
        if (option == OptComPort) {
            comPort_ = ComPort::Refused;
            held_.clear();
        }
        break;
    default:
        break;
    }
}

void Session::SubNegotiation(const QByteArray& body)
{
    // The server's answers to our settings and its notifications change nothing here.
    if (body.size() >= 2 && quint8(body[0]) == OptComPort) {
        ++serverNotes_;
        lastNote_ = quint8(body[1]);
    }
}

Session::Output Session::Feed(QByteArrayView received)
{
    Output out;
    out.data.reserve(received.size());
    for (const char ch : received) {
        const quint8 c = quint8(ch);
        switch (state_) {
        case State::Data:
            if (c == IAC)
                state_ = State::Iac;
            else
                out.data += ch;
            break;
        case State::Iac:
            if (c == IAC) {
                out.data += ch;
                state_ = State::Data;
            } else if (c >= WILL && c <= DONT) {
                verb_ = c;
                state_ = State::Verb;
            } else if (c == SB) {
                sub_.clear();
                state_ = State::Sub;
            } else {
                state_ = State::Data; // NOP, GA, DM and the like carry nothing for us
            }
            break;
        case State::Verb:
            Negotiate(verb_, c, out.replies);
            state_ = State::Data;
            break;
        case State::Sub:
            if (c == IAC)
                state_ = State::SubIac;
            else if (sub_.size() < 256)
                sub_ += ch;
            break;
        case State::SubIac:
            if (c == IAC) {
                if (sub_.size() < 256)
                    sub_ += ch;
                state_ = State::Sub;
                break;
            }
            SubNegotiation(sub_);
            sub_.clear();
            // A subnegotiation cut short by another command still ends; the command counts.
            if (c == SE)
                state_ = State::Data;
            else if (c >= WILL && c <= DONT) {
                verb_ = c;
                state_ = State::Verb;
            } else if (c == SB)
                state_ = State::Sub;
            else
                state_ = State::Data;
            break;
        }
    }
    return out;
}

} // namespace VaTelnet
