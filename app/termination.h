#pragma once
// SIGTERM and SIGINT end the program through its normal shut-down path: the signal handler
// only writes to a pipe, and the main thread acts on it from its event loop.
#include <functional>

// Installs the handlers once; later calls change only what is done on a signal.
void WatchTerminationSignals(std::function<void()> onTerminate);

// True once a signal asked the program to end.
bool TerminationRequested();
