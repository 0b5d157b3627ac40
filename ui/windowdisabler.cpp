#include "ui/windowdisabler.h"

#include <QApplication>

void TWindowDisabler::DisableOthers(const QWidget* self, const QWidget* owner)
{
    EnableAgain();
    const QWidget* ownerWindow = owner ? owner->window() : nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == self || window == ownerWindow || !window->isVisible() || !window->isEnabled())
            continue;
        window->setEnabled(false);
        disabled_.append(window);
    }
}

void TWindowDisabler::EnableAgain()
{
    for (const QPointer<QWidget>& window : std::as_const(disabled_))
        if (window)
            window->setEnabled(true);
    disabled_.clear();
}
