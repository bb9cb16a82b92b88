#include "config/DataFile.h"

#include "config/ConfigFile.h"
#include "link/UserPrompts.h"

#include <QFile>
#include <QSaveFile>

namespace tq3 {

bool LoadDataFile(const QString& path, const QByteArray& tag, QByteArray& buffer, UserPrompts& prompts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.Beep();
        prompts.Message(MessageKind::Error, QStringLiteral("Nie można otworzyć pliku"));
        return false;
    }
    const qint64 size = file.size();
    // The shared buffer holds no more, and no container is shorter than its
    // tag and check byte: such a file is not one of ours.
    if (size < ContainerMinSize || size > ContainerMaxSize) {
        buffer.clear();
        prompts.Message(MessageKind::Error, QStringLiteral("Zly format pliku"));
        return false;
    }
    buffer = file.read(size);
    if (buffer.size() != size) {
        prompts.Beep();
        prompts.Message(MessageKind::Error, QStringLiteral("Nie można odczytać pliku"));
        return false;
    }
    const ContainerCheck check = CheckContainer(buffer, tag);
    bool result = true;
    if (!check.tagOk) {
        prompts.Message(MessageKind::Error, QStringLiteral("Zly format pliku"));
        result = false;
    }
    if (!check.checkOk) {
        prompts.Beep();
        prompts.Message(MessageKind::Error, QStringLiteral("Bląd CRC pliku konfiguracji"));
        result = false;
    }
    return result;
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tq3
