#pragma once
// The codes of the controller's commands; an awaited answer's type is the code
// of the command it answers.
#include <QtGlobal>

namespace tq3 {

inline constexpr quint8 CodeLogin = 1;
inline constexpr quint8 CodeLogout = 2;
inline constexpr quint8 CodePassword = 3;
// The settings: even codes 4..42 read, the odd code after each writes.
inline constexpr quint8 CodeFirstSetting = 4;
inline constexpr quint8 CodeLastSetting = 43;
inline constexpr quint8 CodeHistoryEnd = 70;
inline constexpr quint8 CodeHistoryRecord = 71;
inline constexpr quint8 CodeHistory = 73;
inline constexpr quint8 CodeClock = 74;
inline constexpr quint8 CodeHistoryStop = 75;
inline constexpr quint8 CodeErase = 76;
inline constexpr quint8 CodeStatus = 80;
inline constexpr quint8 CodeCounters = 81;
inline constexpr quint8 CodeRestart = 100;
inline constexpr quint8 CodeBlock = 101;
inline constexpr quint8 CodeClosing = 102;

} // namespace tq3
