// Every message box of the program, composed from the text table.
#pragma once
#include <cstdint>

// Shows message messageId under caption captionId, both in the active
// language, with ": <number>" appended when number is not 0, the information
// icon below message 70 and the stop icon from 70 up, owned by the main
// window. Returns when the user has closed the box.
void showMessage(int messageId, int captionId, int32_t number);
// The same box owned by the modal dialog that is open, for a dialog that
// refuses what was entered in it and stays open.
void showDialogMessage(int messageId, int captionId, int32_t number);
// The same with a caption the text table does not hold (UTF-8, as the added
// texts are).
void showMessageUnder(int messageId, const char* caption, int32_t number);
