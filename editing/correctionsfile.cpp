#include "editing/correctionsfile.h"

#include "core/log.h"
#include "imaging/correctionsrecord.h"
#include "platform/appdir.h"
#include "platform/binrecords.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kHeader = QStringLiteral("VD: corrections file. DO NOT EDIT!");
constexpr int kHeaderReadMax = 128;

} // namespace

QString CorrectionsFolder()
{
    return AppPath(QStringLiteral("corrections"), FileUse::Write);
}

bool ReadCorrectionsFile(const QString& path, QString& name, Corrections& record)
{
    Log(QStringLiteral("Loading corrections from: ") + QFileInfo(path).fileName());
    QFile file(path);
    return OpenForRead(file) && ReadCorrectionsSet(file, name, record);
}

bool ReadCorrectionsSet(QIODevice& file, QString& name, Corrections& record)
{
    QString header, storedName;
    if (!ReadLenString(file, header, kHeaderReadMax) || header != kHeader)
        return false;
    if (!ReadLenString(file, storedName, kCorrectionSetNameMax))
        return false;
    CorrectionsRecordBytes bytes;
    if (file.read(reinterpret_cast<char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return false;
    record = CorrectionsFromBytes(bytes);
    name = storedName;
    return true;
}

QString WriteCorrectionsFile(const QString& name, const Corrections& record)
{
    if (!ForceDirs(CorrectionsFolder())) {
        Log(QStringLiteral("Corrections folder cannot be created: ") + CorrectionsFolder(), 3);
        return {};
    }
    const QString path = UniqueFileName(CorrectionsFolder() + QStringLiteral("/cor.dat"));
    Log(QStringLiteral("Saving corrections \"%1\" to: %2").arg(name, QFileInfo(path).fileName()));
    QSaveFile file(path);
    const CorrectionsRecordBytes body = CorrectionsToBytes(record);
    if (!file.open(QIODevice::WriteOnly) || !WriteLenString(file, kHeader) || !WriteLenString(file, name)
        || file.write(reinterpret_cast<const char*>(body.data()), qint64(body.size())) != qint64(body.size())
        || !file.commit()) {
        Log(QStringLiteral("Corrections not saved: ") + file.errorString(), 3);
        return {};
    }
    return path;
}

QString CorrectionSetName(const QString& text)
{
    const QString name = text.trimmed();
    return ToCp1250(name).size() <= kCorrectionSetNameMax ? name : QString();
}

void TStoredCorrections::Scan()
{
    QStringList files;
    ListFiles(CorrectionsFolder() + QStringLiteral("/*.dat"), 0, files);
    Log(QStringLiteral("Scan corrections: %1 item(s).").arg(files.size()));
    paths_.clear();
    names_.clear();
    for (const QString& path : files) {
        QString name;
        Corrections record;
        if (ReadCorrectionsFile(path, name, record))
            Append(path, name);
    }
}

void TStoredCorrections::Append(const QString& path, const QString& name)
{
    paths_ << path;
    names_ << name;
}
