// The virtual account's manifest as the login reads it from the server, and the account ID
// rule on the same bytes.
#include "account/accountmanifest.h"
#include "core/log.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = QDir::temp().filePath(QStringLiteral("vendaro-fuzz-am-%1.vds").arg(getpid()));
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
    }
    const TManifestRead read = ReadAccountManifest(path);
    if (read.status == TManifestStatus::Ok)
        PasswordOpensAccount(read.manifest.passDigest, read.manifest.description);
    IsValidAccountId(NormalizeAccountId(QString::fromLatin1(bytes.left(16))));
    LogStore().Clear();
    return 0;
}
