#pragma once
// Driving modal windows from a test: the handler runs inside the window's own event loop as
// soon as it is the active modal window (a text input box, the open dialog, the format or
// preview window), and answers or closes it.
#include <QString>
#include <QStringList>
#include <Qt>

#include <functional>

class QWidget;

// Calls handle(window) once for the next modal window that opens; fails the test when none
// opens within a few seconds.
void OnNextModal(std::function<void(QWidget*)> handle);

// Answers the next text input box with text (OK), or cancels it when text is null. The box's
// caption and prompt are stored when the pointers are given.
void AnswerNextInput(const QString& text, QString* caption = nullptr, QString* prompt = nullptr);

// The keyboard as the customer uses it: key goes to the control that has the window's focus
// (to the window when none has), and from there on as Qt passes on a real key.
void PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The object names of the controls that Tab reaches from the focused one, in order, until it
// comes back round (at most 40 presses).
QStringList TabWalk(QWidget* window);

// What a customer without a mouse meets in a window: the control that has the focus when it
// opens, the Tab walk from there, and whether the keys pressed after the walk closed it.
struct TKeyboardVisit {
    QString focused;
    QStringList tabs;
    bool closed = false;
};
// Runs open(), which shows window modally; inside, records the visit and presses keys (the
// focus is back where the window opened). A window the keys left open is closed.
TKeyboardVisit VisitByKeyboard(QWidget* window, const std::function<void()>& open, const QList<int>& keys);

// Chooses files in the next open dialog (all in one folder), or cancels it for an empty list.
void AnswerNextFileDialog(const QStringList& files);
