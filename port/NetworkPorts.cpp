#include "port/NetworkPorts.h"

#include <QCoreApplication>
#include <QSettings>

namespace tq3 {

namespace {

// In the user's configuration folder (~/.config/tq3-konfigurator/porty.ini):
// the programs keep nothing else between runs.
QSettings Store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tq3-konfigurator"),
                     QStringLiteral("porty"));
}

const QString Key = QStringLiteral("sieciowe");

} // namespace

bool IsNetworkPort(const QString& name)
{
    const QString n = name.trimmed();
    return n.startsWith(QLatin1String("socket://"), Qt::CaseInsensitive) ||
           n.startsWith(QLatin1String("rfc2217://"), Qt::CaseInsensitive);
}

QStringList RecentNetworkPorts()
{
    QStringList names;
    for (const QString& name : Store().value(Key).toStringList())
        if (IsNetworkPort(name) && !names.contains(name) && names.size() < RememberedNetworkPorts)
            names << name;
    return names;
}

void RememberNetworkPort(const QString& name)
{
    const QString n = name.trimmed();
    if (!IsNetworkPort(n))
        return;
    QStringList names = RecentNetworkPorts();
    if (names.value(0) == n)
        return;
    names.removeAll(n);
    names.prepend(n);
    while (names.size() > RememberedNetworkPorts)
        names.removeLast();
    QSettings store = Store();
    store.setValue(Key, names);
}

std::vector<PortEntry> RecentNetworkEntries()
{
    std::vector<PortEntry> entries;
    for (const QString& name : RecentNetworkPorts())
        entries.push_back({name,
                           name,
                           {},
                           QCoreApplication::translate("NetworkPorts", "linia sieciowa, ostatnio użyta"),
                           {}});
    return entries;
}

} // namespace tq3
