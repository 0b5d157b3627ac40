#pragma once
// Photos the program is asked to open: those on its own command line and those later launches
// hand over through the instance channel. They are added to the main window as a drop is, in
// the order asked, once it shows and nothing modal (a window, the adding itself) is running.
#include <QStringList>

class Tfmain;

// Queues the program's own paths and listens for later launches; called once this process
// holds the instance lock. A failure to listen is logged: the program runs without it.
void ListenForOpenRequests(const QStringList& ownPaths);

// From now on, queued and arriving photos go to main (nullptr: they wait).
void DeliverOpenRequestsTo(Tfmain* main);

// Stops listening and forgets what still waits (the program's run ends).
void StopOpenRequests();
