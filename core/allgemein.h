#pragma once
// Start and orderly end of the program.

namespace Allgemein {

// The program's entry: refuses a second copy, loads the settings, writes the
// language table, brings up the windows and runs the event loop.
int Main(int argc, char *argv[]);

// The orderly end: saves the settings and unloads every window, ignoring errors.
void QuitProgram();

} // namespace Allgemein
