// The main window's handlers. A front end calls them for the window system's
// events and carries out what they ask through ui/frontend.h.
#pragma once

// Window creation, before the window is shown: sets the start-up defaults
// (configuration all zero, COM1), reads the configuration, opens the port,
// attaches the menu with its check marks, starts both timers, creates the
// drawing objects and fills the span selector and hides the scroll bar.
// Returns 0.
int mainWindowCreate();
// Right after creation: the two reply events, ping then count.
void mainWindowCreateEvents();
// A menu command or control notification. Returns false for an id the
// program does not route, which the front end passes to default processing.
bool mainWindowCommand(int commandId, int notifyCode);
// The close box, system menu and Alt+F4: writes the configuration, stops the
// pump timer and destroys the window.
void mainWindowClose();
// The window is being destroyed: menu, link, events and drawing objects are
// released. The front end then ends its message loop with exit code 0.
// A second call finds everything released already and does nothing harmful.
void mainWindowDestroy();
// IDT_PUMP and IDT_PROGRESS ticks.
void mainWindowTimer(int timerId);

// Puts the span names of the active language into the span selector,
// keeping nothing selected; the caller selects.
void fillSpanSelector();
