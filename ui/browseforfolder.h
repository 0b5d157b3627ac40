#pragma once
// The platform's folder picker.
#include <QFileDialog>
#include <QString>

class QWidget;

// Shows the folder picker with title, opened in startFolder; returns the chosen folder or an
// empty string when cancelled.
QString BrowseForFolder(
    QWidget* owner, const QString& title, const QString& startFolder, QFileDialog::Options flags = {});
