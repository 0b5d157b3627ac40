#pragma once
// Disables every visible, enabled top-level window except the ones a progress window keeps
// usable, and enables exactly those again later (also when it is destroyed).
#include <QList>
#include <QPointer>
#include <QWidget>

class TWindowDisabler {
public:
    TWindowDisabler() = default;
    ~TWindowDisabler() { EnableAgain(); }
    TWindowDisabler(const TWindowDisabler&) = delete;
    TWindowDisabler& operator=(const TWindowDisabler&) = delete;

    // Disables the others; self and owner's window stay enabled.
    void DisableOthers(const QWidget* self, const QWidget* owner);
    void EnableAgain();

private:
    QList<QPointer<QWidget>> disabled_;
};
