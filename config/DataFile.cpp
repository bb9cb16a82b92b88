#include "config/DataFile.h"

#include "config/ConfigFile.h"
#include "link/UserPrompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tq3 {

namespace {

constexpr QFileDevice::Permissions OwnerOnlyPermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// 0666, less the umask when a file is created with it.
constexpr QFileDevice::Permissions NormalPermissions = OwnerOnlyPermissions | QFileDevice::ReadGroup |
                                                       QFileDevice::WriteGroup | QFileDevice::ReadOther |
                                                       QFileDevice::WriteOther;

// What a replacement of the file could lose.
struct FileNode
{
    bool regular = false;
    quint64 links = 1;
    quint64 owner = 0;
    quint64 group = 0;
};

#if defined(Q_OS_UNIX)
FileNode NodeFrom(const struct stat& st)
{
    return {S_ISREG(st.st_mode), quint64(st.st_nlink), quint64(st.st_uid), quint64(st.st_gid)};
}

// The file a path names, its links followed.
std::optional<FileNode> NodeOf(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return NodeFrom(st);
}

std::optional<FileNode> NodeOf(int fd)
{
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return std::nullopt;
    return NodeFrom(st);
}
#else
// Elsewhere a file is always replaced; only whether it is there matters.
std::optional<FileNode> NodeOf(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return FileNode{QFileInfo(path).isFile()};
}

std::optional<FileNode> NodeOf(int)
{
    return std::nullopt;
}
#endif

// Truncates the file and writes it; what a failure part way leaves is damaged.
bool WriteInPlace(const QString& path, const QByteArray& bytes, QFileDevice::Permissions created)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, created))
        return false;
    bool written = file.write(bytes) == bytes.size() && file.flush();
#if defined(Q_OS_UNIX)
    // As a replacement is synced before its rename; special files cannot be.
    written = written && (::fsync(file.handle()) == 0 || errno == EINVAL);
#endif
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace

bool LoadDataFile(const QString& path, const QByteArray& tag, QByteArray& buffer, UserPrompts& prompts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.Beep();
        prompts.Message(MessageKind::Error,
                        QCoreApplication::translate("DataFile", "Nie można otworzyć pliku"));
        return false;
    }
    const qint64 size = file.size();
    // The shared buffer holds no more, and no container is shorter than its
    // tag and check byte: such a file is not one of ours.
    if (size < ContainerMinSize || size > ContainerMaxSize) {
        buffer.clear();
        prompts.Message(MessageKind::Error, QCoreApplication::translate("DataFile", "Zly format pliku"));
        return false;
    }
    buffer = file.read(size);
    if (buffer.size() != size) {
        prompts.Beep();
        prompts.Message(MessageKind::Error,
                        QCoreApplication::translate("DataFile", "Nie można odczytać pliku"));
        return false;
    }
    const ContainerCheck check = CheckContainer(buffer, tag);
    bool result = true;
    if (!check.tagOk) {
        prompts.Message(MessageKind::Error, QCoreApplication::translate("DataFile", "Zly format pliku"));
        result = false;
    }
    if (!check.checkOk) {
        prompts.Beep();
        prompts.Message(MessageKind::Error,
                        QCoreApplication::translate("DataFile", "Bląd CRC pliku konfiguracji"));
        result = false;
    }
    return result;
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes, NewFileAccess access)
{
    const QFileDevice::Permissions created =
        access == NewFileAccess::OwnerOnly ? OwnerOnlyPermissions : NormalPermissions;
    const std::optional<FileNode> existing = NodeOf(path);
    // Other names of the file would keep the old contents.
    if (existing && existing->regular && existing->links > 1)
        return WriteInPlace(path, bytes, created);

    QSaveFile file(path);
    // A writable file in a folder the user may not write to is still the user's to save.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (existing && existing->regular) {
        // The copy belongs to whoever saves, not to the owner and group of the file it replaces.
        const std::optional<FileNode> opened = NodeOf(file.handle());
        if (opened && (opened->owner != existing->owner || opened->group != existing->group)) {
            file.cancelWriting();
            return WriteInPlace(path, bytes, created);
        }
    }
    if (!existing && access == NewFileAccess::OwnerOnly && !file.setPermissions(OwnerOnlyPermissions)) {
        file.cancelWriting();
        return false;
    }
    // Written in place, commit() does not see a failed write: check it here.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tq3
