// A tool interrupted while it writes its output (Ctrl-C, a terminal that hung
// up, a kill) abandons the file it was writing, so that the chosen name keeps
// what it held and no half-written file stays behind, and then ends by that
// signal as it would have without this.
#pragma once

// From now on until the tool ends.
void abandonOutputOnInterrupt();
