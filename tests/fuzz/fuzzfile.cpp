#include "tests/fuzz/fuzzfile.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {
// Qt's warnings (a QBuffer asked to seek past its end, say) are expected here and would only
// slow the fuzzer down.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) { }
const bool kQuiet = (qInstallMessageHandler(DropMessage), true);
} // namespace

QString WriteFuzzFile(const std::uint8_t* data, std::size_t size, const char* extension)
{
    const QString path
        = QDir::temp().filePath(QStringLiteral("vendaro-fuzz-%1.%2").arg(getpid()).arg(QLatin1String(extension)));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
