#pragma once
// Reading a data file container (configuration or firmware) into the shared
// buffer, with the checks and messages the user sees.
#include <QByteArray>
#include <QString>

namespace tq3 {
class UserPrompts;

// Reads the file whole into buffer and checks size, tag and check byte. False
// (with the messages shown) when the file is refused; the buffer then holds
// what was read, or nothing for a file of the wrong size.
bool LoadDataFile(const QString& path, const QByteArray& tag, QByteArray& buffer, UserPrompts& prompts);

// Writes the bytes atomically (a temporary file renamed over the target); false
// when the file could not be written, the old one then stays as it was.
bool SaveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tq3
