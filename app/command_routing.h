// The rules the routed commands share. The routing table itself is in
// command_routing.cpp; mainWindowCommand (app/main_window.h) runs it.
#pragma once

// A command that needs samples: true when there are some; otherwise shows
// message 45 under captionId and returns false, and the command does nothing.
bool commandHasData(int captionId);

// The language commands: IDM_LANG_ENGLISH, IDM_LANG_GERMAN, IDM_LANG_DANISH.
void switchLanguage(int commandId);
