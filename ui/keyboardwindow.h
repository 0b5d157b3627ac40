#pragma once
// Keyboard use of a window whose controls stand at fixed positions. Every time the window
// opens (not when it is restored from minimised), its Tab order is rebuilt from where its
// controls stand: rows from top to bottom, left to right within a row, a row made of columns
// (stacked links beside a row of buttons) column by column, and the controls that lie inside
// a frame or panel kept together in the same way. Then `first` takes the focus,
// or, without one, the first control of that order: a window opens the same way every time,
// whatever had the focus when it was last closed. A window's own showEvent may still move the
// focus.
#include <QList>

#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QKeyEvent;
class QWidget;

void UseFromKeyboard(QWidget* window, QWidget* first = nullptr);

// The Tab stops of window in the order that UseFromKeyboard gives them.
QList<QWidget*> TabStopsByLayout(QWidget* window);

// Return or Enter (the keypad's too) without Shift, Ctrl or Alt: the key that presses a control.
bool IsEnterKey(const QKeyEvent& event);

// Enter on list calls accept and goes no further: a list's Enter chooses its line, it does
// not press the window's default button too.
void AcceptOnEnter(QAbstractItemView* list, std::function<void()> accept);

// The window's default buttons: Enter that no control of the window takes (a focused button
// takes its own) presses the first of buttons that is shown and enabled, so a window of
// several pages has one default button on each.
void SetDefaultButtons(QWidget* window, QList<QAbstractButton*> buttons);
