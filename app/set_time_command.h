// Data acquisition > Set time: the user enters a date and a time, and the
// whole store is stamped anew from it, forward from the first record (Start
// time) or backward from the last (End time).
#pragma once
#include <cstdint>

#include "data/time_entry.h"
#include "ui/frontend.h"

constexpr int SET_TIME_START = 1030;
constexpr int SET_TIME_END = 1031;
constexpr int SET_TIME_CANCEL = 2;

// What a dialog that ended with Start time or End time hands to the command;
// the dialog never reads it back.
extern TimeEntry timeEntry;

// The dialog's command handling: Start time or End time with the six entries
// as typed (day, month, year, hour, minute, second), or Cancel. Valid entries
// go into timeEntry and end the dialog with the button's id; invalid ones
// show message 44 over the dialog, which stays open. Cancel ends it with 2.
bool setTimeDialogCommand(int controlId, const char* const entries[SET_TIME_FIELDS], int* result);

// IDM_SET_TIME, once the command has found data: runs the dialog, opened on
// record 0's stamp, and restamps and repaints after Start time or End time.
void setTimeCommand();
