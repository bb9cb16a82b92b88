#include "CommandCheck.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace tq3sim {

namespace {

constexpr qsizetype NumberLength = 13;
// A text the controller could not give back in one answer is refused when written.
constexpr qsizetype TextLength = 100;

bool onlyOf(QByteArrayView payload, QByteArrayView allowed)
{
    return std::all_of(payload.begin(), payload.end(), [&](char c) { return allowed.contains(c); });
}

QString exactly(QByteArrayView payload, const char* text)
{
    if (payload == QByteArrayView(text))
        return {};
    return QStringLiteral("expected \"%1\"").arg(QLatin1String(text));
}

QString oneByte(QByteArrayView payload)
{
    return payload.size() == 1 ? QString() : QStringLiteral("expected 1 byte");
}

QString settingProblem(int readCode, QByteArrayView payload)
{
    switch (readCode) {
    case 4: // PIN
        return payload.size() <= 4 && onlyOf(payload, "0123456789")
                   ? QString()
                   : QStringLiteral("expected up to 4 digits");
    case 6: // SMS centre
    case 8:
    case 10:
    case 12:
    case 14: // telephone numbers
        return payload.size() <= NumberLength && onlyOf(payload, "+0123456789")
                   ? QString()
                   : QStringLiteral("expected up to 13 characters of \"+0123456789\"");
    case 26: // status query
        return payload.size() <= 4 && !payload.contains(' ')
                   ? QString()
                   : QStringLiteral("expected up to 4 characters without a blank");
    case 28: // SMS limit and filter
    case 32: // correction
    case 34: // logging interval
    case 42: // voice-call limit
        return oneByte(payload);
    case 30: // thresholds
        return payload.size() == 2 ? QString() : QStringLiteral("expected 2 bytes");
    case 40: // call on alarm
        return payload.size() == 1 && quint8(payload[0]) <= 1 ? QString() : QStringLiteral("expected 0 or 1");
    default: // the SMS texts
        return payload.size() <= TextLength ? QString() : QStringLiteral("expected at most 100 bytes");
    }
}

QString clockProblem(QByteArrayView payload)
{
    if (payload.size() != 6)
        return QStringLiteral("expected 6 bytes");
    auto b = [&](int i) { return int(quint8(payload[i])); };
    if (!QDate::isValid(2000 + b(0), b(1), b(2)) || !QTime::isValid(b(3), b(4), b(5)))
        return QStringLiteral("expected a date and time");
    return {};
}

} // namespace

QString commandProblem(quint8 code, QByteArrayView payload, QByteArrayView password)
{
    if (code >= 4 && code <= 43)
        return code % 2 == 0 ? exactly(payload, "G") : settingProblem(code - 1, payload);
    switch (code) {
    case 1:
        if (payload == password || (payload.size() == 4 && onlyOf(payload, "0123456789")))
            return {};
        return QStringLiteral("expected 4 digits or the password");
    case 2:
        return exactly(payload, "W");
    case 3:
        return payload.isEmpty() ? QStringLiteral("expected a new password") : QString();
    case 73:
        return exactly(payload, "h");
    case 74:
        return clockProblem(payload);
    case 75:
    case 76:
        return exactly(payload, "x");
    case 80:
    case 81:
        return exactly(payload, "G");
    case 100:
        return exactly(payload, "B");
    case 101:
        return payload.size() == 129 ? QString() : QStringLiteral("expected a block number and 128 bytes");
    case 102:
        return exactly(payload, "K");
    default:
        return QStringLiteral("unknown code");
    }
}

} // namespace tq3sim
