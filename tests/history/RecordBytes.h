#pragma once
// A history record's eight bytes, as the controller sends them.
#include <QByteArray>

inline QByteArray Record(int year, int month, int kind, int day, int hour, int minute, int second, int raw = 0)
{
    const int bytes[] = {year, kind << 4 | month, day, hour, minute, second, raw & 0xFF, raw >> 8};
    QByteArray record;
    for (int b : bytes)
        record.append(static_cast<char>(b));
    return record;
}
