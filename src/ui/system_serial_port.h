#pragma once

// The serial port object of this system: plain Win32 calls on Windows, QSerialPort elsewhere.
#ifdef _WIN32
#include "ui/win32_serial_port.h"
#else
#include "ui/qt_serial_port.h"
#endif

namespace zelar::ui {

#ifdef _WIN32
using SystemSerialPort = Win32SerialPort;
#else
using SystemSerialPort = QtSerialPort;
#endif

}  // namespace zelar::ui
