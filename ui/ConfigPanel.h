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
#include <optional>

class QLineEdit;
class QMainWindow;
class QWidget;
struct TMainForm;
namespace tq3 {
class DeviceLink;
}

class ConfigPanel : public QObject
{
    Q_OBJECT
public:
    ConfigPanel(TMainForm& form, tq3::DeviceLink& link, tq3::UserPrompts& prompts,
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

    // The window's fields that hold the item's value (two for the SMS limit
    // and the thresholds).
    QList<QWidget*> FieldsOf(const tq3::ConfigItem& item) const;

    // An answer of an even type 4..42.
    void ApplyItem(quint8 type, const QByteArray& payload);

    // The window's fields and the settings record, the one place where the
    // two meet: the fields as a record (with the access password for a file),
    // or nullopt with the message that says which field cannot go as it stands.
    std::optional<tq3::Settings> TakeSettings(bool withPassword, QString* problem) const;
    // The record into the fields, password included.
    void Restore(const tq3::Settings& settings);

    // The cyclic records' interval (minutes) and the alarm thresholds (raw) as the
    // fields hold them, once they came from the controller or a file: before that
    // the fields hold only the program's defaults.
    std::optional<int> KnownInterval() const;
    std::optional<std::pair<int, int>> KnownThresholds() const;

    void ReadAllItems();
    void WriteAllItems();
    void SaveConfigFile();
    void LoadConfigFile();

    // The dialogs' settings; the history export borrows SaveDialog and puts
    // back the name and filter below.
    tq3::FileDialogRequest OpenDialog;
    tq3::FileDialogRequest SaveDialog;

private:
    bool intervalKnown_ = false;
    bool thresholdsKnown_ = false;
    void SetProgressPanel(bool visible);
    // The edit field of a text item.
    QLineEdit* EditOf(const tq3::ConfigItem& item) const;
    void ShowItem(const tq3::ConfigItem& item, const tq3::Settings& settings);
    bool TakeItem(const tq3::ConfigItem& item, tq3::Settings& settings, QString* problem) const;
    bool TakeNumberItem(const tq3::ConfigItem& item, tq3::Settings& settings, QString* problem) const;

    TMainForm& form_;
    tq3::DeviceLink& link_;
    tq3::UserPrompts& prompts_;
    QByteArray& ContainerBuffer;
    QMainWindow* window_;
    std::function<void()> lock_;
    std::function<void()> unlock_;
};
