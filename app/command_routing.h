// The rules the routed commands share. The routing table itself is in
// command_routing.cpp; mainWindowCommand (app/main_window.h) runs it.
#pragma once

// A command that needs samples: true when there are some; otherwise shows
// message 45 under captionId and returns false, and the command does nothing.
bool commandHasData(int captionId);
// Save and the three exports: a nonzero result is shown as message 84 under
// caption 43 with the result as number.
void reportSaveResult(int result);

// The language commands: IDM_LANG_ENGLISH, IDM_LANG_GERMAN, IDM_LANG_DANISH.
void switchLanguage(int commandId);
