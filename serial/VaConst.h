#pragma once
// Constants of the serial-port library: message texts, event bits, device-control
// values, line functions and line-error flags. The message texts are the library's
// own, in English; they are raised through QCoreApplication::translate("VaConst"),
// so that a catalogue can give them in the language the program speaks.

#include <QtGlobal>

namespace VaConst {

inline constexpr const char* sPortOpen =
    QT_TRANSLATE_NOOP("VaConst", "Can't perform this operation while port is open");
inline constexpr const char* sWriteDcb = QT_TRANSLATE_NOOP("VaConst", "Error writing dcb (%d), %s");
inline constexpr const char* sInitBuffers =
    QT_TRANSLATE_NOOP("VaConst", "Error initializing buffers (%d), %s");
inline constexpr const char* sSetTimeouts = QT_TRANSLATE_NOOP("VaConst", "Error setting timeouts (%d), %s");
inline constexpr const char* sSetEventMask =
    QT_TRANSLATE_NOOP("VaConst", " Error setting EventMask (%d), %s");
inline constexpr const char* sCommFunction =
    QT_TRANSLATE_NOOP("VaConst", "Error calling comm function (%d), %s");
inline constexpr const char* sDtrHandshake =
    QT_TRANSLATE_NOOP("VaConst", "DTR line updates not allowed when flowcontrol is set to Handshake.");
inline constexpr const char* sRtsHandshake = QT_TRANSLATE_NOOP(
    "VaConst", "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.");
inline constexpr const char* sBufferFull =
    QT_TRANSLATE_NOOP("VaConst", "Output buffer is full. Please check comm status.");
inline constexpr const char* sWriteError = QT_TRANSLATE_NOOP("VaConst", "Write error (%d), %s");
inline constexpr const char* sReadError = QT_TRANSLATE_NOOP("VaConst", "Read error (%d), %s");
inline constexpr const char* sStatistics =
    QT_TRANSLATE_NOOP("VaConst", "Error retrieving statistics (%d), %s");
inline constexpr const char* sOpenFailed =
    QT_TRANSLATE_NOOP("VaConst", "Cannot open the serial device (%d), %s");

// Line events.
inline constexpr quint32 EV_RXCHAR = 0x0001;
inline constexpr quint32 EV_RXFLAG = 0x0002;
inline constexpr quint32 EV_TXEMPTY = 0x0004;
inline constexpr quint32 EV_CTS = 0x0008;
inline constexpr quint32 EV_DSR = 0x0010;
inline constexpr quint32 EV_RLSD = 0x0020;
inline constexpr quint32 EV_BREAK = 0x0040;
inline constexpr quint32 EV_ERR = 0x0080;
inline constexpr quint32 EV_RING = 0x0100;
inline constexpr quint32 EV_PERR = 0x0200;
inline constexpr quint32 EV_RX80FULL = 0x0400;
inline constexpr quint32 EV_EVENT1 = 0x0800;
inline constexpr quint32 EV_EVENT2 = 0x1000;

// Device-control values.
inline constexpr quint8 DTR_CONTROL_DISABLE = 0;
inline constexpr quint8 DTR_CONTROL_ENABLE = 1;
inline constexpr quint8 DTR_CONTROL_HANDSHAKE = 2;
inline constexpr quint8 RTS_CONTROL_DISABLE = 0;
inline constexpr quint8 RTS_CONTROL_ENABLE = 1;
inline constexpr quint8 RTS_CONTROL_HANDSHAKE = 2;
inline constexpr quint8 RTS_CONTROL_TOGGLE = 3;
inline constexpr quint8 NOPARITY = 0;
inline constexpr quint8 ODDPARITY = 1;
inline constexpr quint8 EVENPARITY = 2;
inline constexpr quint8 MARKPARITY = 3;
inline constexpr quint8 SPACEPARITY = 4;
inline constexpr quint8 ONESTOPBIT = 0;
inline constexpr quint8 ONE5STOPBITS = 1;
inline constexpr quint8 TWOSTOPBITS = 2;

// Line functions.
inline constexpr int SETRTS = 3;
inline constexpr int CLRRTS = 4;
inline constexpr int SETDTR = 5;
inline constexpr int CLRDTR = 6;

// Line-error flags.
inline constexpr quint32 CE_RXOVER = 0x0001;
inline constexpr quint32 CE_OVERRUN = 0x0002;
inline constexpr quint32 CE_RXPARITY = 0x0004;
inline constexpr quint32 CE_FRAME = 0x0008;
inline constexpr quint32 CE_BREAK = 0x0010;
inline constexpr quint32 CE_TXFULL = 0x0100;
// The device has gone (hang-up, unplugged adapter, write refused for good).
inline constexpr quint32 CE_IOE = 0x0400;

} // namespace VaConst
