#pragma once

namespace platform {
// Lets answers to the command line reach the user who typed it. On Windows a windowed program
// starts without a console: its standard output and error are joined to the console of the
// program that started it (a command prompt), unless they already lead somewhere (a pipe, a
// file). Elsewhere they are the terminal already and nothing changes.
void ConnectParentConsole();
} // namespace platform
