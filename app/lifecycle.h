#pragma once
// Building and tearing down the process-wide core objects, and the program's shut-down.

// Creates the history folder, builds the core objects in their order (configuration, photo
// project, formats, engine with its shop list, skin engine) and loads the cursors. False,
// with whatever was built destroyed again, when something fails.
bool CoreInit();

// Deletes the run's temporary files (unless "-keeptmp") and destroys the core objects in
// the order they were built; an object that does not exist is skipped.
void CoreDeinit();

// Starts keeping the project file (project/projectsaver.h); called once the start-up has read
// the lab's configuration, which names the per-user data folder. The core's teardown writes
// the last change and stops it.
void StartProjectSaver();

// The main window's close: saves the user configuration, writes the session log with
// "-savelog" and destroys the core. Runs once per start.
void ShutDown();
