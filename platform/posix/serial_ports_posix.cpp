// COMn on a POSIX system: the device named by KORVEX_COMn, or else the n-th
// serial device present, USB adapters first because a desktop without a
// built-in port nearly always talks to the logger through one.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

#include "platform/serial_ports.h"

namespace {

constexpr int MAX_DEVICES_PER_KIND = 256;
const char* const DEVICE_KINDS[] = {"ttyUSB", "ttyACM", "ttyS"};

// A built-in UART node exists for every slot the kernel reserves; sysfs tells
// a real one by a port type other than 0 ("unknown"). Without sysfs every node
// counts.
bool uartPresent(int number) {
    char typePath[64];
    snprintf(typePath, sizeof typePath, "/sys/class/tty/ttyS%d/type", number);
    FILE* f = fopen(typePath, "re");
    if (f == nullptr)
        return true;
    int type = 0;
    int got = fscanf(f, "%d", &type);
    fclose(f);
    return got != 1 || type != 0;
}

// Parses "<kind><digits>" and returns the number, or -1.
int deviceNumber(const char* name, const char* kind) {
    size_t kindLength = strlen(kind);
    if (strncmp(name, kind, kindLength) != 0)
        return -1;
    const char* digits = name + kindLength;
    if (*digits == '\0' || strlen(digits) > 6)
        return -1;
    int number = 0;
    for (const char* c = digits; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return -1;
        number = number * 10 + (*c - '0');
    }
    return number;
}

// The numbers of the present devices of one kind, ascending.
int listDevices(const char* kind, int* numbers) {
    DIR* dev = opendir("/dev");
    if (dev == nullptr)
        return 0;
    int count = 0;
    bool isUart = strcmp(kind, "ttyS") == 0;
    while (dirent* entry = readdir(dev)) {
        int number = deviceNumber(entry->d_name, kind);
        if (number < 0 || count == MAX_DEVICES_PER_KIND)
            continue;
        if (isUart && !uartPresent(number))
            continue;
        numbers[count++] = number;
    }
    closedir(dev);
    std::sort(numbers, numbers + count);
    return count;
}

int writePath(char* path, size_t size, const char* text) {
    int needed = snprintf(path, size, "%s", text);
    return needed >= 0 && static_cast<size_t>(needed) < size ? 0 : ENAMETOOLONG;
}

} // namespace

int resolveSerialPort(int port, char* path, size_t size) {
    if (port < 1 || size == 0)
        return EINVAL;
    char variable[32];
    snprintf(variable, sizeof variable, "KORVEX_COM%d", port);
    const char* named = getenv(variable);
    if (named != nullptr && *named != '\0')
        return writePath(path, size, named);

    int remaining = port;
    for (const char* kind : DEVICE_KINDS) {
        int numbers[MAX_DEVICES_PER_KIND];
        int count = listDevices(kind, numbers);
        if (remaining <= count) {
            char device[64];
            snprintf(device, sizeof device, "/dev/%s%d", kind, numbers[remaining - 1]);
            return writePath(path, size, device);
        }
        remaining -= count;
    }
    return ENOENT;
}

// Asked with the user's own ids, as the open asks; a user just added to the
// device's group is still refused until the next login, and rightly told so.
bool serialDeviceDenied(const char* path) {
    return access(path, R_OK | W_OK) != 0 && errno == EACCES;
}
