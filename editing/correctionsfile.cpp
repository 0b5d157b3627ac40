#include "editing/correctionsfile.h"

#include "core/log.h"
#include "platform/appdir.h"
#include "platform/binrecords.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QSaveFile>

#include <bit>
#include <cstring>

namespace {

const QString kHeader = QStringLiteral("VD: corrections file. DO NOT EDIT!");
constexpr int kHeaderReadMax = 128;

// The record is stored as it lies in memory: little-endian, packed.
static_assert(std::endian::native == std::endian::little);

} // namespace

QString CorrectionsFolder()
{
    return AppPath(QStringLiteral("corrections"), FileUse::Write);
}

bool ReadCorrectionsFile(const QString& path, QString& name, Corrections& record)
{
    Log(QStringLiteral("Loading corrections from: ") + QFileInfo(path).fileName());
    QFile file(path);
    if (!OpenForRead(file))
        return false;
    QString header, storedName;
    if (!ReadLenString(file, header, kHeaderReadMax) || header != kHeader)
        return false;
    if (!ReadLenString(file, storedName, kCorrectionSetNameMax))
        return false;
    const QByteArray bytes = file.read(qint64(sizeof(Corrections)));
    if (bytes.size() != qsizetype(sizeof(Corrections)))
        return false;
    std::memcpy(&record, bytes.constData(), sizeof(Corrections));
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
    const QByteArray body(reinterpret_cast<const char*>(&record), qsizetype(sizeof(Corrections)));
    if (!file.open(QIODevice::WriteOnly) || !WriteLenString(file, kHeader) || !WriteLenString(file, name)
        || file.write(body) != body.size() || !file.commit()) {
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
