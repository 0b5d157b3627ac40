#pragma once
// TProjectEvents: the photo project's change notices, one object per process like the project
// itself. A window that changes the project says so here; the windows that show the project
// subscribe, so no window calls another to refresh it.
#include <QObject>

class TProjectEvents : public QObject {
    Q_OBJECT
Q_SIGNALS:
    // Formats, quantities or prices changed: what is shown about the project must be read again.
    void Changed();
    // Some photos were marked thumbPending: their thumbnails are to be remade.
    void ThumbnailsPending();
};

TProjectEvents& ProjectEvents();
