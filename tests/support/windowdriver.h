#pragma once
// Driving modal windows from a test: the handler runs inside the window's own event loop as
// soon as it is the active modal window (a text input box, the open dialog, the format or
// preview window), and answers or closes it.
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Calls handle(window) once for the next modal window that opens; fails the test when none
// opens within a few seconds.
void OnNextModal(std::function<void(QWidget*)> handle);

// Answers the next text input box with text (OK), or cancels it when text is null. The box's
// caption and prompt are stored when the pointers are given.
void AnswerNextInput(const QString& text, QString* caption = nullptr, QString* prompt = nullptr);

// Chooses files in the next open dialog (all in one folder), or cancels it for an empty list.
void AnswerNextFileDialog(const QStringList& files);
