#include "ui/filedialogs.h"

#include "core/coreobjects.h"
#include "ui/browseforfolder.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QLineEdit>

QStringList ChooseFiles(QFileDialog& dialog, TDialogPurpose purpose)
{
    dialog.setDirectory(DialogStartFolder(Core().config, purpose));
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->clear();
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>())
        view->clearSelection();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        RememberDialogFolder(Core().config, purpose, dialog.directory().absolutePath());
    return files;
}

QString ChooseFolder(QWidget* owner, const QString& title, TDialogPurpose purpose)
{
    const QString folder = BrowseForFolder(owner, title, DialogStartFolder(Core().config, purpose));
    RememberDialogFolder(Core().config, purpose, folder);
    return folder;
}
