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

// Who may read a file that a save creates; a file that is there keeps its own
// permissions.
enum class NewFileAccess
{
    Normal,   // as the user's umask allows
    OwnerOnly // 0600: the file holds the access password and the SIM PIN
};

// Writes the bytes whole. Where the folder allows it, a temporary file is
// renamed over the target, so that a failed save leaves the old file as it
// was. The file is written in place instead where the folder does not let the
// user create files, and where a replacement would break its hard links or
// change its owner or group; a failure part way then leaves it damaged. False
// when the file could not be written.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, NewFileAccess access);

} // namespace tq3
