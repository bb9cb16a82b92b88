#pragma once
// The data file container (tag, data, XOR check byte) and the configuration
// file inside it. Pure byte work; the window reads and writes the files.
#include <QByteArray>
#include <array>
#include <optional>

namespace tq3 {

inline constexpr int ContainerMinSize = 4;      // tag and check byte
inline constexpr int ContainerMaxSize = 16385;  // the size of the shared buffer
inline constexpr int MaxStoredText = 255;       // a string's length byte

// XOR of the bytes, starting from 0.
quint8 XorCheck(const QByteArray& bytes);

struct ContainerCheck
{
    bool sizeOk = false; // 4 .. 16385 bytes
    bool tagOk = false;  // the first three bytes are the tag, exactly
    bool checkOk = false; // the last byte is the XOR of all before it
};
ContainerCheck CheckContainer(const QByteArray& file, const QByteArray& tag);

// The fields of a configuration file; texts as bytes (code page 1250).
struct ConfigFileFields
{
    QByteArray password;
    QByteArray pin;
    QByteArray smsCentre;
    std::array<QByteArray, 4> tel;
    QByteArray in1n, in2n, in1a, in2a, in3a;
    QByteArray out2zal;
    quint8 smsLimit = 0;   // limit + 128 with the filter
    quint8 voiceLimit = 0;
    quint8 tempMin = 132, tempMax = 138, korekta = 0;
    quint8 interval = 60;
    QByteArray in4a, in4n;
    quint8 callOnAlarm = 0; // 1 on, 0 off

    bool operator==(const ConfigFileFields&) const = default;
};

// The whole file, tag "tcf" to check byte. Every text must be at most
// MaxStoredText bytes long (the caller refuses longer ones).
QByteArray BuildConfigFile(const ConfigFileFields& fields);

// The fields of a container that has passed CheckContainer with "tcf";
// nullopt when a string runs into or past the check byte, or a field is missing.
std::optional<ConfigFileFields> ParseConfigFile(const QByteArray& container);

} // namespace tq3
