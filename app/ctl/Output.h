#pragma once
// What tq3ctl prints: settings, differences, status, history as CSV, the
// ports. Pure functions of their inputs, apart from the listing of the ports.
#include "config/ConfigItems.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

namespace tq3ctl {

// "Label: value" lines of the twenty settings, the password first.
QString SettingsText(const tq3::Settings& settings);
// {"password": ..., "settings": {key: value}}: texts as strings, numbers as
// numbers (degrees for the temperatures), switches as booleans.
QJsonObject SettingsJson(const tq3::Settings& settings);

// A setting that would go differently to the controller: what each side holds.
struct Difference
{
    const tq3::ConfigItem* item = nullptr;
    QString file;
    QString device;
};
// Compared as the controller receives them, so that what the window would
// write alike counts as equal (a call flag of 2 in a file goes as 0).
std::vector<Difference> Differences(const tq3::Settings& file, const tq3::Settings& device);
QString DifferencesText(const std::vector<Difference>& differences);

// The status answer and the version of the login answer, as lines of text or
// as JSON; fields the payload does not hold are left out.
QString StatusText(const QByteArray& status, const QString& version);
QJsonObject StatusJson(const QByteArray& status, const QString& version);

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& field);
QString HistoryCsvHeader();
// The record's row (ended by CR LF); nullopt where the log shows no line.
std::optional<QString> HistoryCsvRow(const QByteArray& record);

} // namespace tq3ctl
