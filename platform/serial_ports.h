// Which device stands for COMn on this system.
#pragma once
#include <cstddef>

constexpr int SERIAL_PORT_FIRST = 1;
constexpr int SERIAL_PORT_LAST = 8;

// Writes the device path of COMn into path. Returns 0, or an error number when
// no device stands for it.
int resolveSerialPort(int port, char* path, size_t size);

// True when the device is there but the user may not open it for lack of
// permission: not when it is missing, busy or fails otherwise.
bool serialDeviceDenied(const char* path);
