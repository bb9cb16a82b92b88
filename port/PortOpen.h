#pragma once
// Opening the controller's port, shared by the window and tq3ctl: which device the
// serial component opens for a name from the port list, the line without flow
// control, and why a port would not open, told in one line.

#include <QString>

class TVaCustomComm;

namespace tq3 {

// COMn by its number (the component's "COM%d"), anything else as a device path.
void ChoosePort(TVaCustomComm& comm, const QString& name, const QString& devRoot = QStringLiteral("/dev"));

// No hardware or software flow control; DTR and RTS are the program's to set.
void SetNoFlowControl(TVaCustomComm& comm);

enum class OpenFailure
{
    Missing,
    Busy,
    NotAllowed,
    Other
};

OpenFailure ClassifyOpenFailure(int osError);

// The detail line under "Port COM niedostępny": the device and the cause, and for a
// refused one the remedy (membership of the group that may use the device).
QString OpenFailureDetail(const QString& name, const QString& device, int osError);

} // namespace tq3
