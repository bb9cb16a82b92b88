#pragma once

// The PC's side of the line, written apart from the simulator's codec so that a fault in one
// is not hidden by the same fault in the other.

#include <QByteArray>

#include <vector>

namespace simtest {

inline QByteArray command(int code, const QByteArray& payload)
{
    QByteArray frame = QByteArray("M") + char(code) + char(payload.size()) + payload;
    int sum = 0;
    for (char c : frame)
        sum += quint8(c);
    return frame + char(sum & 0xFF);
}

struct Answer
{
    int type = -1;
    QByteArray payload;
    bool checksumOk = false;
};

// Answer frames back to back; `used` tells how far they reached.
inline std::vector<Answer> answers(const QByteArray& bytes, qsizetype* used = nullptr)
{
    std::vector<Answer> out;
    qsizetype at = 0;
    while (bytes.size() - at >= 4 && bytes[at] == 'm' && bytes.size() - at >= quint8(bytes[at + 2]) + 4) {
        const int length = quint8(bytes[at + 2]);
        int sum = 0;
        for (qsizetype i = at; i < at + 3 + length; ++i)
            sum += quint8(bytes[i]);
        out.push_back({quint8(bytes[at + 1]), bytes.mid(at + 3, length),
                       (sum & 0xFF) == quint8(bytes[at + 3 + length])});
        at += length + 4;
    }
    if (used)
        *used = at;
    return out;
}

// The first answer in the bytes, or type -1.
inline Answer first(const QByteArray& bytes)
{
    const std::vector<Answer> all = answers(bytes);
    return all.empty() ? Answer{} : all.front();
}

inline int le16(const QByteArray& bytes, int at)
{
    return quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8);
}

} // namespace simtest
