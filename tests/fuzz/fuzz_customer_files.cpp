// What the order windows read from outside: the login script's answer, the autologin file
// and the customer-data file, each from the same bytes.
#include "core/log.h"
#include "order/autologin.h"
#include "order/customerdata.h"
#include "order/loginanswer.h"
#include "platform/appdir.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

// A program folder of this process's own, so the readers find the files where they look.
const QString& FuzzAppDir()
{
    static const QString dir = [] {
        const QString path = QDir::temp().filePath(QStringLiteral("vendaro-fuzz-app-%1").arg(getpid()));
        QDir().mkpath(path);
        SetAppDir(path);
        return path;
    }();
    return dir;
}

void WriteAppFile(const QString& name, const QByteArray& bytes)
{
    QFile file(FuzzAppDir() + "/" + name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    TLoginAnswer answer;
    ParseLoginAnswer(bytes, answer);
    WriteAppFile(QStringLiteral("mylogin.dat"), bytes);
    ReadAutologin();
    WriteAppFile(QStringLiteral("mydata.dat"), bytes);
    ReadCustomerData();
    LogStore().Clear();
    return 0;
}
