#include "tests/project/mainwindowfixture.h"

#include <QTest>

#include <gtest/gtest.h>

TMainWindowFixture::TMainWindowFixture()
    : window(std::make_unique<Tfmain>())
{
    f.config.InitThumbSizes(window->font());
    window->resize(708, 526);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

TMainWindowFixture::~TMainWindowFixture()
{
    window.reset();
}

void TMainWindowFixture::AddPhotos(int n, int width, int height)
{
    for (int i = 0; i < n; ++i)
        EXPECT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("IMG_%1.JPG").arg(project.Count()), width, height)));
    window->UpdateScrollRange();
    window->RepaintGrid();
    window->UpdateStatus();
}

QPoint TMainWindowFixture::CellCentre(int index) const
{
    return window->draw->Grid().CellRect(index, window->draw->Columns()).center();
}

void TMainWindowFixture::Focus(int index)
{
    project.focus = index;
    window->UpdateStatus();
}

void TMainWindowFixture::Select(std::initializer_list<int> indices)
{
    for (int index : indices)
        project.Photo(index).selected = true;
    window->UpdateStatus();
}
