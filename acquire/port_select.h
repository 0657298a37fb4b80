// Choosing the serial port from the menu, and the search for the port the
// T596 answers on. User-interface thread only.
#pragma once

constexpr unsigned PORT_PING_WAIT_MS = 1000;

// IDM_COM1..IDM_COM8: port = command id - IDM_COM_BASE.
void selectPort(int port);
// IDM_AUTO_CONNECT.
void autoConnect();
// Closes the link when its device has gone away (an adapter pulled out), so
// that the device is free again for the adapter when it comes back; the
// chosen port then carries the failed mark. Returns true when it closed one.
bool closeLostLink();
// Before a command that needs the link: when no link is open on the chosen
// port (its device went away, or opening it failed), opens it once more. The
// failed mark follows the outcome; nothing is shown.
void reopenChosenPort();
// Opens COM1..COM8 in turn and pings each; returns the first port that
// answers, its link left open, or 0 with no link open. Shows nothing.
int searchPorts();
