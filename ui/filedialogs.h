#pragma once
// The program's file and folder pickers, opened where the customer left off for the same
// purpose (core/dialogfolders.h) and remembering the folder chosen.
#include "core/dialogfolders.h"

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Runs the open dialog in the purpose's folder with nothing chosen (Enter never takes the
// files of the previous time again); the chosen files, or an empty list when cancelled.
QStringList ChooseFiles(QFileDialog& dialog, TDialogPurpose purpose);
// The platform's folder picker in the purpose's folder; the chosen folder or an empty string.
QString ChooseFolder(QWidget* owner, const QString& title, TDialogPurpose purpose);
