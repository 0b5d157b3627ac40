#include "ui/browseforfolder.h"

QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder, QFileDialog::Options flags)
{
    return QFileDialog::getExistingDirectory(owner, title, startFolder, flags | QFileDialog::ShowDirsOnly);
}
