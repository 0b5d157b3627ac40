#include "editing/savenaming.h"

#include "core/textutils.h"
#include "platform/paths.h"

#include <QFileInfo>

std::optional<std::int64_t> WholeNumberIn(const QString& text, std::int64_t min, std::int64_t max)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

QString DatedFolderName(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh_mm_ss"));
}

TSaveTargets::TSaveTargets(const TSaveOptions& options, const QDateTime& start, const QStringList& sources)
    : options_(options)
    , start_(start)
    , counter_(options.countStart - 1)
{
    for (const QString& source : sources) {
        const QString canonical = QFileInfo(source).canonicalFilePath();
        if (!canonical.isEmpty())
            sources_.insert(canonical);
    }
}

QString TSaveTargets::TargetFolder(const QString& namePath) const
{
    if (!options_.chosenFolder)
        return SplitFileName(namePath).folder;
    const QString folder = StripTrailingBackslash(options_.folder);
    return options_.datedFolder ? folder + u'/' + DatedFolderName(start_) : folder;
}

TSaveTarget TSaveTargets::TargetPath(const QString& folder, const QString& namePath)
{
    QString name = ReplaceExt(QFileInfo(namePath).fileName(), QStringLiteral(".jpg"));
    if (options_.numbered)
        name = ZeroPad(++counter_, options_.countAlign) + QStringLiteral(".jpg");
    TSaveTarget target { folder + u'/' + name };
    const QFileInfo existing(target.path);
    if (!existing.exists())
        return target;
    const bool source = sources_.contains(existing.canonicalFilePath());
    switch (source ? TExistingFiles::Rename : options_.existing) {
    case TExistingFiles::Skip:
        target.skip = true;
        break;
    case TExistingFiles::Rename:
        target.path = UniqueFileName(target.path);
        break;
    case TExistingFiles::Overwrite:
        break;
    }
    return target;
}
