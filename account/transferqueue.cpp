#include "account/transferqueue.h"

#include "account/accountmanifest.h"
#include "core/textutils.h"
#include "net/ftplisting.h"
#include "order/orderupload.h"

#include <algorithm>

QString FileStateText(int state)
{
    switch (state) {
    case fsWaiting:
        return QStringLiteral("oczekuje");
    case fsUploading:
        return QStringLiteral("wgrywanie");
    case fsDownloading:
        return QStringLiteral("pobieranie");
    case fsDone:
        return QStringLiteral("OK");
    case fsFailed:
        return QStringLiteral("Błąd");
    default:
        return {};
    }
}

void TTransferQueue::Add(const QString& name, int64_t size)
{
    names_.append(name);
    sizes_.append(size);
    states_.append(fsWaiting);
}

void TTransferQueue::Clear()
{
    names_.clear();
    sizes_.clear();
    states_.clear();
}

void TTransferQueue::Remove(const QList<int>& rows)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (const int row : sorted) {
        if (row < 0 || row >= Count())
            continue;
        names_.removeAt(row);
        sizes_.removeAt(row);
        states_.removeAt(row);
    }
}

int64_t TTransferQueue::TotalBytes() const
{
    int64_t total = 0;
    for (const int64_t size : sizes_)
        total += size;
    return total;
}

bool TTransferQueue::AnyInState(int state) const
{
    return states_.contains(state);
}

QString UploadRefusal(const TTransferQueue& queue, int64_t free)
{
    if (queue.IsEmpty())
        return QStringLiteral("Dodaj pliki które chcesz wgrać !");
    const int64_t queueBytes = queue.TotalBytes();
    if (free < queueBytes)
        return QStringLiteral("Brak miejsca na tym koncie aby wgrać te pliki !\rWymagane ")
            + FormatByteSize(queueBytes, QStringLiteral("Tb")) + QStringLiteral("; dostępne ")
            + FormatByteSize(free, QStringLiteral("Tb"));
    if (queue.AnyInState(fsDone))
        return QStringLiteral(
            "Usuń pliki ze statusem OK z listy !\rNie można wgrywać plików które już istnieją na koncie !");
    return {};
}

bool UploadReplacesManifest(const QString& path)
{
    return IsAccountManifestName(UploadRemoteName(path));
}

QString ManifestClashWarning(const QStringList& fileNames)
{
    if (fileNames.isEmpty())
        return {};
    const QString manifest = QLatin1String(kAccountManifestName);
    const QString quoted = u'"' + fileNames.join(QStringLiteral("\", \"")) + u'"';
    if (fileNames.size() == 1)
        return "Nie można wgrać pliku " + quoted + " !\rNa koncie zastąpiłby on plik opisu konta \"" + manifest
            + "\". Zmień nazwę pliku i dodaj go ponownie.";
    return "Nie można wgrać plików " + quoted + " !\rNa koncie zastąpiłyby one plik opisu konta \"" + manifest
        + "\". Zmień nazwy plików i dodaj je ponownie.";
}

QString TrimTargetFolder(const QString& folder)
{
    QString trimmed = folder;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed;
}

QString DownloadTarget(const QString& folder, const QString& name)
{
    if (!IsPlainRemoteName(name))
        return {};
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

int TransferPercent(int64_t count, int64_t doneBytes, int64_t queueBytes)
{
    if (queueBytes <= 0)
        return 0;
    return int(std::clamp<int64_t>(MulDiv64(count + doneBytes, 100, queueBytes), 0, 100));
}

TTransferSummary TransferSummary(bool upload, bool cancelled, int errors)
{
    if (cancelled)
        return { TSummaryKind::Warning,
            upload ? QStringLiteral("Wgrywanie zostało przerwane !") : QStringLiteral("Pobieranie przerwane !") };
    if (errors == 0)
        return { TSummaryKind::Information,
            upload ? QStringLiteral("Wgrywanie zakończone !") : QStringLiteral("Pobieranie ukończone !") };
    return { TSummaryKind::Error,
        upload ? QStringLiteral("Nie wszystkie pliki udało się wgrać !")
               : QStringLiteral("Nie wszystkie pliki udało się pobrać !") };
}
