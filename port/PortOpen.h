#pragma once
// Opening the controller's port, shared by the window and tq3ctl: which device the
// serial component opens for a name from the port list, the line without flow
// control, and why a port would not open, told in one line.

#include "VaOs.h"

#include <QString>

class TVaCustomComm;
class EVaOpenError;

namespace tq3 {

// COMn by its number (the component's "COM%d"), anything else (a device path, or a network
// line socket://HOST:PORT or rfc2217://HOST:PORT) as its name.
void ChoosePort(TVaCustomComm& comm, const QString& name, const QString& devRoot = QStringLiteral("/dev"));

// No hardware or software flow control; DTR and RTS are the program's to set.
void SetNoFlowControl(TVaCustomComm& comm);

// The serial component's own classification of a failed open.
using OpenFailure = VaOs::OpenFailure;
using VaOs::ClassifyOpenFailure;

// The detail line under "Port COM niedostępny": the device and the cause, and for a
// refused one the remedy (membership of the group that may use the device). For a
// network line, the server and why it could not be had.
QString OpenFailureDetail(const QString& name, const QString& device, int osError);
// The same with the server's own error text, where it sent one.
QString OpenFailureDetail(const QString& name, const EVaOpenError& failure);

} // namespace tq3
