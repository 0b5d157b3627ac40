#pragma once
// The main window over a fixture project, shown offscreen.
#include "tests/project/projectfixture.h"

#include "project/thumbview.h"
#include "project/umain.h"
#include "tests/support/testsupport.h"

#include <QStringList>

#include <initializer_list>

#include <memory>

class TMainWindowFixture {
public:
    TMainWindowFixture();
    ~TMainWindowFixture();

    // Adds n photos (w x h, JPEG) to the project directly; the window is refreshed.
    void AddPhotos(int n, int width = 160, int height = 120);
    // Focus and selection set directly, then the actions enabled as the window does.
    void Focus(int index);
    void Select(std::initializer_list<int> indices);
    // Centre of a photo's cell in draw's coordinates.
    QPoint CellCentre(int index) const;

    ScopedAppDir appDir; // closing the window saves the configuration there
    TProjectFixture f;
    TVDImage& project = *f.project;
    std::unique_ptr<Tfmain> window;
};
