#include "platform/console.h"

void consoleUseUtf8(int*, char***) {}
