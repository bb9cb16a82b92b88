#pragma once
// Network lines as ports: socket://HOST:PORT (raw TCP) and rfc2217://HOST:PORT
// (Telnet with the COM-port option). Both programs remember the last few that
// opened, so that the window's port box and `tq3ctl ports` offer them beside
// the local ports.
#include "port/PortList.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tq3 {

inline constexpr int RememberedNetworkPorts = 5;

// socket:// or rfc2217://, in any case.
bool IsNetworkPort(const QString& name);

// The network lines that opened, newest first.
QStringList RecentNetworkPorts();
// Puts a network line that opened at the front of the list; other names are not kept.
void RememberNetworkPort(const QString& name);
// The remembered lines as entries of the port list.
std::vector<PortEntry> RecentNetworkEntries();

} // namespace tq3
