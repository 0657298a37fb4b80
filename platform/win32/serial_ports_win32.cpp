// On Windows COMn is the system's own name for the device. The device
// namespace prefix lets CreateFileA reach COM10 and above as well.
#include <windows.h>

#include <cstdio>

#include "platform/serial_ports.h"

int resolveSerialPort(int port, char* path, size_t size) {
    if (port < 1)
        return ERROR_INVALID_PARAMETER;
    int needed = std::snprintf(path, size, "\\\\.\\COM%d", port);
    return needed >= 0 && size_t(needed) < size ? 0 : ERROR_INSUFFICIENT_BUFFER;
}

// Windows gives every user its serial ports; a port that cannot be opened is
// missing or held by another program, which the open's own error says.
bool serialDeviceDenied(const char*) {
    return false;
}
