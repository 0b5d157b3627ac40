#include "project/photofiles.h"

#include "platform/files.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {

struct TFilter {
    const char* description;
    const char* patterns;
};

// The dialog's filter list. "ZSoft Paint brush (*.pcs)" offers "*.pcx": the description has
// always read so.
constexpr TFilter kFilters[] = {
    { "Wszystkie obrazy",
        "*.jpg;*.jpeg;*.bmp;*.psd;*.tif;*.tiff;*.dib;*.png;*.fax;*.bw;*.rgb;*.rgba;*.sgi;*.cel;*.pic;*.tga;*.vst;*.icb;"
        "*.vda;*.win;*.pcx;*.pcc;*.scr;*.pcd;*.pdd;*.psd;*.rle;*.rla;*.rpf;*.ppm;*.pgm;*.pbm;"
        "*.heic;*.heif;*.avif;*.webp" },
    { "Jpeg (*.jpg;*.jpeg)", "*.jpg;*.jpeg" },
    { "Zdjęcia HEIF, AVIF i WebP (*.heic;*.heif;*.avif;*.webp)", "*.heic;*.heif;*.avif;*.webp" },
    { "Windows(OS/2) Bitmap (*.bmp;*.dib;*.rle)", "*.bmp;*.dib;*.rle" },
    { "Tiff (*.tiff;*.tif)", "*.tiff;*.tif" },
    { "Adobe Photoshop (*.psd;*.pdd;*.psp)", "*.psd;*.pdd;*.psp" },
    { "GFI Fax (*.fax)", "*.fax" },
    { "Autodesk (*.cel;*.pic)", "*.cel;*.pic" },
    { "Truevision Images (*.tga;*.vst;*.icb;*.vda;*.win)", "*.tga;*.vst;*.icb;*.vda;*.win" },
    { "Kodak PhotoCD (*.pcd)", "*.pcd" },
    { "Portable network graphic (*.png)", "*.png" },
    { "SGI Wavefront images (*.rla;*.rpf)", "*.rla;*.rpf" },
    { "Compuserve images (*.gif)", "*.gif" },
    { "Portable pixel/gray map images (*.ppm;*.pgm;*.pbm)", "*.ppm;*.pgm;*.pbm" },
    { "ZSoft Paint brush (*.pcs)", "*.pcx" },
    { "Wszystkie pliki", "*.*" },
};

// Natural order: runs of digits compare as numbers (img2 before img10), letters ignore case.
bool NaturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            // Without leading zeros the longer run is the larger number.
            QStringView numberA = QStringView(a).sliced(startA, i - startA);
            QStringView numberB = QStringView(b).sliced(startB, j - startB);
            while (numberA.size() > 1 && numberA.front() == u'0')
                numberA = numberA.sliced(1);
            while (numberB.size() > 1 && numberB.front() == u'0')
                numberB = numberB.sliced(1);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (const int order = numberA.compare(numberB); order != 0)
                return order < 0;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y)
            return x < y;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QStringList PhotoFileFilters()
{
    QStringList filters;
    for (const TFilter& filter : kFilters) {
        // QFileDialog reads the patterns from the last parentheses and wants them spaced.
        const QString patterns = QString::fromLatin1(filter.patterns).replace(u';', u' ');
        filters << QString::fromUtf8(filter.description) + QStringLiteral(" (") + patterns + u')';
    }
    return filters;
}

const QStringList& PhotoFilePatterns()
{
    static const QStringList patterns = QString::fromLatin1(kFilters[0].patterns).split(u';');
    return patterns;
}

bool IsPhotoFileName(const QString& fileName)
{
    return std::any_of(PhotoFilePatterns().begin(), PhotoFilePatterns().end(),
        [&](const QString& pattern) { return MatchesMask(fileName, pattern); });
}

QStringList ExpandDroppedPaths(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isFile()) {
            files << info.absoluteFilePath();
        } else if (info.isDir()) {
            QStringList found;
            QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                if (IsPhotoFileName(it.fileName()))
                    found << file;
            }
            std::sort(found.begin(), found.end(), NaturalLess);
            files << found;
        }
    }
    return files;
}
