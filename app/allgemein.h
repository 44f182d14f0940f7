#pragma once
// Start and orderly end of the program: the one place that wires the windows
// together, and the list of the loaded top-level windows.

#include <functional>

class QWidget;
class frmDraw;

namespace Allgemein {

// The program's entry: refuses a second copy, loads the settings, writes the
// language table, brings up the windows and runs the event loop.
int Main(int argc, char *argv[]);

// What Main does once the application object exists, up to its event loop: the
// settings, the language, the start screen and the main window loaded behind it.
// False when no window is left to run (a start-up step was cancelled).
bool StartUp();

// The orderly end: saves the settings and unloads every window, ignoring errors
// and showing no dialog.
void QuitProgram();

// The main window, loaded on first use and wired to the program: the quit
// routine unloads it, and its Quit button ends the program through QuitProgram.
frmDraw &MainWindow();

// A loaded window and what unloading it does. Windows unload in the reverse
// order of loading; a window unloads the tool windows it owns itself.
void RegisterForm(QWidget *form, std::function<void()> unload);
void UnregisterForm(QWidget *form);
int LoadedFormCount();

} // namespace Allgemein
