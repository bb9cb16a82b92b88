#pragma once
// The data file container (tag, data, XOR check byte) and the configuration
// file inside it. Pure byte work; the window reads and writes the files.
#include "config/ConfigItems.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace tq3 {

inline constexpr int ContainerMinSize = 4;           // tag and check byte
inline constexpr int ContainerMaxSize = 16385;       // the size of the shared buffer
inline constexpr int MaxStoredText = MaxSettingText; // a string's length byte

// XOR of the bytes, starting from 0.
quint8 XorCheck(const QByteArray& bytes);

struct ContainerCheck
{
    bool sizeOk = false;  // 4 .. 16385 bytes
    bool tagOk = false;   // the first three bytes are the tag, exactly
    bool checkOk = false; // the last byte is the XOR of all before it
};
ContainerCheck CheckContainer(const QByteArray& file, const QByteArray& tag);

// The whole file, tag "tcf" to check byte. Every text must be at most
// MaxStoredText bytes long (the caller refuses longer ones).
QByteArray BuildConfigFile(const Settings& fields);

// The fields of a container that has passed CheckContainer with "tcf";
// nullopt when a string runs into or past the check byte, or a field is missing.
std::optional<Settings> ParseConfigFile(const QByteArray& container);

} // namespace tq3
