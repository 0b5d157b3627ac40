#pragma once
// The program's run inside an existing application object: creates every window, shows the
// start-up window modally and, when the start-up succeeds, runs the main window's message
// loop until it closes. SIGTERM and SIGINT end the run through the normal shut-down.
int RunProgram();
