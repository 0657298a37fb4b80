// Choosing the serial port from the menu, and the search for the port the
// T596 answers on. User-interface thread only.
#pragma once

constexpr unsigned PORT_PING_WAIT_MS = 1000;

// IDM_COM1..IDM_COM8: port = command id - IDM_COM_BASE.
void selectPort(int port);
// IDM_AUTO_CONNECT.
void autoConnect();
// Opens COM1..COM8 in turn and pings each; returns the first port that
// answers, its link left open, or 0 with no link open. Shows nothing.
int searchPorts();
