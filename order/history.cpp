#include "order/history.h"

#include "core/log.h"
#include "core/rect.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/jpegsave.h"
#include "lab/sdbmhash.h"
#include "order/historyfile.h"
#include "order/metadatareader.h"
#include "platform/appdir.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace {

QString HistoryFile(const QString& name, FileUse use)
{
    return AppPath(QStringLiteral("history/") + name, use);
}

} // namespace

void THistory::StartEntry(const QDateTime& now)
{
    TSDBMHash hash;
    hash.AddText(now.toString(QStringLiteral("yyMMddHHmmss")));
    id = hash.HashText();
    Log("history: Starting new history with id=" + id);
    pageCount = 0;
    BeginPage();
}

void THistory::BeginPage()
{
    Log(QStringLiteral("history: Starting new page ..."));
    cellX = kCellMargin;
    cellY = kCellMargin;
    page = QImage(kPageWidth, kPageHeight, QImage::Format_ARGB32);
    page.fill(Qt::white);
    ++pageCount;
}

void THistory::AddThumbnail(const QImage& image)
{
    const TRect cell { cellX, cellY, cellX + kCellSize, cellY + kCellSize };
    TRect fitted { 0, 0, image.width(), image.height() };
    FitRect(cell, fitted, true);
    CenterRect(cell, fitted);
    {
        QPainter painter(&page);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::white);
        painter.drawRect(QRect(cell.Left - 1, cell.Top - 1, kCellSize + 2, kCellSize + 2));
        if (fitted.Width() > 0 && fitted.Height() > 0)
            painter.drawImage(QPoint(fitted.Left, fitted.Top),
                image.scaled(fitted.Width(), fitted.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    cellX += kCellStep;
    if (cellX + kCellSize > kPageWidth) {
        cellY += kCellStep;
        cellX = kCellMargin;
        if (cellY + kCellSize > kPageHeight) {
            SavePage();
            BeginPage();
        }
    }
}

void THistory::SavePage()
{
    Log(QStringLiteral("History: saving page (%1) ...").arg(pageCount));
    SaveJpeg(page, PagePath(pageCount, true), kPageQuality);
}

QString THistory::EntryPath() const
{
    return HistoryFile(id + "_hist.dat", FileUse::Write);
}

QString THistory::PagePath(int n, bool forWriting) const
{
    return HistoryFile(
        id + u'_' + QString::number(n) + QStringLiteral(".jpg"), forWriting ? FileUse::Write : FileUse::Read);
}

bool THistory::SaveEntry() const
{
    QSaveFile file(EntryPath());
    return file.open(QIODevice::WriteOnly) && WriteHistoryEntry(file, { id, lines, pageCount }) && file.commit();
}

bool THistory::LoadEntry(const QString& path)
{
    Log("history: loading from file: " + QFileInfo(path).fileName());
    QFile file(path);
    THistoryEntryData entry;
    if (!file.open(QIODevice::ReadOnly) || !ReadHistoryEntry(file, entry))
        return false;
    id = entry.id;
    lines = entry.lines;
    pageCount = entry.pageCount;
    return true;
}

QString THistory::GetValue(const QString& key, int occurrence) const
{
    return MetadataValue(lines, key, occurrence);
}

bool THistory::LoadPage(int n, QImage& picture) const
{
    const QString path = PagePath(n);
    if (!QFile::exists(path))
        return false;
    if (LoadPhotoBitmap(path, picture, true))
        return true;
    picture = QImage(100, 100, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 100, 100), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Błąd !"));
    return false;
}
