// The Transfer command, from the first ping to the stamped and displayed
// result: the acquisition dialog, the count handshake the pump confirms, the
// progress dialog and the completion. User-interface thread only.
#pragma once
#include <cstdint>

// State of the sequence, module-level.
extern bool retryArmed;
extern int selectedAmount;
extern bool transferActive;
extern uint32_t progressDivisor;

// Installs confirmCount as the pump's count confirmation. Every front end
// calls it once at start-up.
void transferInit();

void transferCommand();      // IDM_TRANSFER
void confirmCount();         // run by pumpTick once the queue is empty
void progressTick();         // IDT_PROGRESS
void transferAbortCommand(); // CMD_TRANSFER_ABORT
void progressAbortClicked(); // the progress dialog's Abort button

// From the Transfer command until the sequence ends by any path (a message,
// Cancel, completion, Abort).
bool transferRunning();
// While the sequence runs, Transfer (but for its own retries), Open, the port
// commands and Auto connect are refused: true for such a command now.
bool transferRefuses(int commandId);
// On a menu bar just built: greys those commands while the sequence runs.
void applyTransferMenuState();

// The acquisition dialog's command handling: a span click (1001..1014), Get
// (1) or Cancel (2). Returns true when the dialog ends, with *result 0 for
// Cancel or k + 1 for span k.
bool acquisitionDialogCommand(int id, int* result);
