#include "platform/browseforfolder.h"

QString BrowseForFolder(QWidget* owner, const QString& title, QFileDialog::Options flags)
{
    return QFileDialog::getExistingDirectory(owner, title, QString(), flags | QFileDialog::ShowDirsOnly);
}
