#include "order/privatefile.h"

#include <QSaveFile>

bool WritePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
