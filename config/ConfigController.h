#pragma once
// The configuration on the window: received items into their fields, the
// transfer of all twenty to and from the controller with its progress panel,
// and the configuration file. The fields themselves are the store, except for
// the raw temperature bytes kept here.
#include "config/ConfigFile.h"
#include "link/UserPrompts.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QMainWindow;
struct TMainForm;
namespace tq3 {
class DeviceLink;
}

class ConfigController : public QObject
{
    Q_OBJECT
public:
    ConfigController(TMainForm& form, tq3::DeviceLink& link, tq3::UserPrompts& prompts,
                     QByteArray& containerBuffer, QMainWindow* window);

    // The window's lock states, used around a transfer.
    void SetLockFunctions(std::function<void()> lock, std::function<void()> unlock);

    // Raw temperature store, shown formatted in the read-only fields.
    quint8 TempMinRaw = 0;
    quint8 TempMaxRaw = 0;
    quint8 TempKorektaRaw = 0;
    void ShowTempMin();
    void ShowTempMax();
    void ShowTempKorekta();

    // An answer of an even type 4..42.
    void ApplyItem(quint8 type, const QByteArray& payload);
    // The payload the write of an item sends, from its field(s) as they stand.
    QByteArray ItemPayload(quint8 readCode) const;
    // Empty when every field can be sent or stored as it stands; otherwise the
    // message that says what stops it.
    QString CheckFields(bool forFile) const;

    void ReadAllItems();
    void WriteAllItems();
    void SaveConfigFile();
    void LoadConfigFile();

    // The fields as a configuration file holds them, and back.
    tq3::ConfigFileFields Snapshot() const;
    void Restore(const tq3::ConfigFileFields& fields);

    // The dialogs' settings; the history export borrows SaveDialog and puts
    // back the name and filter below.
    tq3::FileDialogRequest OpenDialog;
    tq3::FileDialogRequest SaveDialog;

private:
    void SetProgressPanel(bool visible);
    void SetText(const char* control, const QString& text);

    TMainForm& form_;
    tq3::DeviceLink& link_;
    tq3::UserPrompts& prompts_;
    QByteArray& ContainerBuffer;
    QMainWindow* window_;
    std::function<void()> lock_;
    std::function<void()> unlock_;
};
