// Print > Printer.
#pragma once

// Once the routing has found samples: the print dialog, then the page of the
// current view; failures are shown as messages 79 and 83.
void printCommand();
