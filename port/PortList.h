#pragma once
// The serial ports offered to the user: COM1 to COM8 first, as the program always
// listed them, then every serial device present under a name that stays the same
// whichever order the adapters were plugged in. Shared by the window's port box and
// `tq3ctl ports`; only the enumeration comes from Qt, all input and output stays in
// our own serial component.

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace tq3 {

// A serial device as the system enumerates it.
struct FoundPort
{
    QString device; // its node, /dev/ttyUSB0
    QString manufacturer;
    QString description;
    QString serialNumber;
};

struct PortEntry
{
    QString name;   // what the user picks or types: COMn, a stable name, or a path
    QString device; // the node it opens
    QString manufacturer;
    QString description;
    QString serialNumber;
};

// Device node -> the stable name that points at it.
using StableNames = std::map<QString, QString>;

// The links under devRoot/serial/by-id, by the node each resolves to.
StableNames ReadStableNames(const QString& devRoot = QStringLiteral("/dev"));

std::vector<FoundPort> EnumerateSerialPorts();

// COM1..COM8 (the nodes /dev/ttyS0..7, described where the system found them), then the
// other devices found, under their stable names where they have one, in name order.
std::vector<PortEntry> ListPorts(const std::vector<FoundPort>& found, const StableNames& stable);

// Manufacturer, description and serial number, a line each where known, and the node.
QString PortToolTip(const PortEntry& entry);

// n for "COMn" (any case), nullopt for any other name.
std::optional<int> ComPortNumber(const QString& name);

// What the user picked or typed, as the node to open: COMn stays COMn (the serial
// component maps it), a stable name is followed to its node, a node's bare name is
// looked up under devRoot, anything else is taken as a path.
QString ResolvePortName(const QString& name, const QString& devRoot = QStringLiteral("/dev"));

} // namespace tq3
