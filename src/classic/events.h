#pragma once

namespace classic {
// Lets the pending window events run once, as the windows expect at their fixed points.
void DoEvents();

// Ends the program with code 0 once the procedures now running have returned: every event
// loop, the application's and the nested ones of modal windows, is left, and none starts
// again. Whatever windows are still open then go with the program.
void EndProgram();
// True once EndProgram has been called.
bool ProgramEnding();
} // namespace classic
