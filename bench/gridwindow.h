#pragma once
// The main window as the grid benchmarks show it (large thumbnails, 1280 x 900, offscreen) and
// one frame of its grid while it scrolls: a scroll by 40 pixels and the painting of the
// visible band of the grid, as the window shows it.
#include "core/core.h"
#include "project/thumbview.h"
#include "project/umain.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <memory>

class TGridWindow {
public:
    // The thumbnail settings are chosen before the window is made; photos added from then on
    // get thumbnails of their sizes.
    explicit TGridWindow(TConfig& config)
    {
        config.thumbresolution = config.thumbsize = true;
        window = std::make_unique<Tfmain>();
        config.InitThumbSizes(window->font());
        window->resize(1280, 900);
        window->show();
        QCoreApplication::processEvents();
        window->UpdateScrollRange();
    }

    // Scrolls 40 pixels further (from the top again past the end) and paints what shows.
    QPixmap Frame()
    {
        QScrollBar* bar = window->ScrollBox1->verticalScrollBar();
        position_ = (position_ + 40) % std::max(bar->maximum(), 1);
        bar->setValue(position_);
        return window->draw->grab(QRect(QPoint(0, position_), window->ScrollBox1->viewport()->size()));
    }

    std::unique_ptr<Tfmain> window;

private:
    int position_ = 0;
};
