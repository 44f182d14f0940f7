#pragma once
// Start and orderly end of the program, and the list of its loaded windows.

#include <functional>

class QWidget;

namespace Allgemein {

// The program's entry: refuses a second copy, loads the settings, writes the
// language table, brings up the windows and runs the event loop.
int Main(int argc, char *argv[]);

// The orderly end: saves the settings and unloads every window, ignoring errors
// and showing no dialog.
void QuitProgram();

// A loaded window and what unloading it does (a tool window stores its place).
// Windows unload in the reverse order of loading.
void RegisterForm(QWidget *form, std::function<void()> unload);
void UnregisterForm(QWidget *form);
int LoadedFormCount();

// The lock that keeps a second copy from running: true when we hold it. The
// lock goes with the process, so a crashed run leaves nothing that blocks.
bool AcquireInstanceLock();

} // namespace Allgemein
