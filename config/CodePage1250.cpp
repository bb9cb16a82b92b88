#include "config/CodePage1250.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tq3 {

namespace {

// Bytes 0x80..0xFF; 0x00..0x7F are ASCII. The undefined positions hold
// U+F700 + byte, private-use characters no keyboard produces.
constexpr std::array<char16_t, 128> UpperHalf = {
    // 0x80
    0x20AC, 0xF781, 0x201A, 0xF783, 0x201E, 0x2026, 0x2020, 0x2021, //
    0xF788, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, //
    // 0x90
    0xF790, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0xF798, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, //
    // 0xA0
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, //
    // 0xB0
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, //
    // 0xC0
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, //
    // 0xD0
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, //
    // 0xE0
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, //
    // 0xF0
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, //
};

using Reverse = std::array<std::pair<char16_t, quint8>, 128>;

// The upper half sorted by character, for a binary search on the way back.
constexpr Reverse MakeReverse()
{
    Reverse out{};
    for (int i = 0; i < 128; ++i)
        out[static_cast<size_t>(i)] = {UpperHalf[static_cast<size_t>(i)], static_cast<quint8>(0x80 + i)};
    std::sort(out.begin(), out.end());
    return out;
}

constexpr Reverse ReverseHalf = MakeReverse();

// The byte of c, or -1 when the code page has none.
int ByteOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u;
    const auto it = std::lower_bound(ReverseHalf.begin(), ReverseHalf.end(), u,
                                     [](const auto& entry, char16_t key) { return entry.first < key; });
    if (it == ReverseHalf.end() || it->first != u)
        return -1;
    return it->second;
}

} // namespace

QString FromCp1250(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<quint8>(ch);
        *to++ = b < 0x80 ? QChar(b) : QChar(UpperHalf[b - 0x80u]);
    }
    return out;
}

QByteArray ToCp1250(const QString& text, bool* ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (const QChar c : text) {
        const int b = ByteOf(c);
        if (b < 0)
            all = false;
        else
            out.append(static_cast<char>(b));
    }
    if (ok)
        *ok = all;
    return out;
}

bool IsCp1250(QChar c)
{
    return ByteOf(c) >= 0;
}

} // namespace tq3
