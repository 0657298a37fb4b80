// The command line and the console of a command-line tool, in the program's
// UTF-8: on Windows the arguments arrive in the ANSI code page and the console
// shows its own code page; elsewhere both already are what the system uses.
#pragma once

// Replaces *argv by the arguments in UTF-8 (kept for the whole run) and makes
// the console show UTF-8 output.
void consoleUseUtf8(int* argc, char*** argv);
