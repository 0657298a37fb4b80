// Data acquisition > Transfer as the user sees it: the refusals while it runs,
// the silent retry, the acquisition dialog, the progress dialog and the
// charts on the result. The steps on the link are acquire/transfer_sequence.h.
// User-interface thread only.
#pragma once

// The retry after a first unanswered ping is armed; the span the acquisition
// dialog has checked.
extern bool retryArmed;
extern int selectedAmount;

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
