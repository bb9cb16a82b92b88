#include "port/PortList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <set>

namespace tq3 {

namespace {

constexpr int ComPorts = 8;

QString ComDevice(int n)
{
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

} // namespace

StableNames ReadStableNames(const QString& devRoot)
{
    StableNames names;
    const QDir byId(QDir(devRoot).filePath(QStringLiteral("serial/by-id")));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        const QString device = link.canonicalFilePath();
        // The first in name order wins where two links name one device.
        if (!device.isEmpty())
            names.emplace(device, link.fileName());
    }
    return names;
}

std::vector<FoundPort> EnumerateSerialPorts()
{
    std::vector<FoundPort> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        found.push_back(
            {info.systemLocation(), info.manufacturer(), info.description(), info.serialNumber()});
    return found;
}

std::vector<PortEntry> ListPorts(const std::vector<FoundPort>& found, const StableNames& stable)
{
    std::vector<PortEntry> ports;
    for (int n = 1; n <= ComPorts; ++n)
        ports.push_back({QStringLiteral("COM%1").arg(n), ComDevice(n), {}, {}, {}});

    std::vector<PortEntry> devices;
    std::set<QString> seen;
    for (const FoundPort& port : found) {
        if (!seen.insert(port.device).second)
            continue;
        auto com = std::find_if(ports.begin(), ports.end(),
                                [&](const PortEntry& entry) { return entry.device == port.device; });
        if (com != ports.end()) {
            com->manufacturer = port.manufacturer;
            com->description = port.description;
            com->serialNumber = port.serialNumber;
            continue;
        }
        const auto name = stable.find(port.device);
        devices.push_back({name != stable.end() ? name->second : port.device, port.device, port.manufacturer,
                           port.description, port.serialNumber});
    }
    std::sort(devices.begin(), devices.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.name < b.name; });
    ports.insert(ports.end(), devices.begin(), devices.end());
    return ports;
}

QString PortToolTip(const PortEntry& entry)
{
    QStringList lines;
    if (!entry.manufacturer.isEmpty())
        lines << QCoreApplication::translate("PortList", "Producent: %1").arg(entry.manufacturer);
    if (!entry.description.isEmpty())
        lines << QCoreApplication::translate("PortList", "Opis: %1").arg(entry.description);
    if (!entry.serialNumber.isEmpty())
        lines << QCoreApplication::translate("PortList", "Numer seryjny: %1").arg(entry.serialNumber);
    lines << QCoreApplication::translate("PortList", "Urządzenie: %1").arg(entry.device);
    return lines.join(QLatin1Char('\n'));
}

std::optional<int> ComPortNumber(const QString& name)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]{0,8})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(name);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt();
}

QString ResolvePortName(const QString& name, const QString& devRoot)
{
    const QString text = name.trimmed();
    if (ComPortNumber(text) || text.isEmpty() || text.contains(QLatin1Char('/')))
        return text;
    const QDir dev(devRoot);
    // A stable name opens the node it points at now, which is also what a failure names.
    const QFileInfo stable(dev.filePath(QStringLiteral("serial/by-id/") + text));
    if (stable.exists())
        return stable.canonicalFilePath();
    if (QFileInfo::exists(dev.filePath(text)))
        return dev.filePath(text);
    return text;
}

} // namespace tq3
