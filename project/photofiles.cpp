#include "project/photofiles.h"

#include "platform/files.h"

#include <QCollator>
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
    {"Wszystkie obrazy",
     "*.jpg;*.jpeg;*.bmp;*.psd;*.tif;*.tiff;*.dib;*.png;*.fax;*.bw;*.rgb;*.rgba;*.sgi;*.cel;*.pic;*.tga;*.vst;*.icb;"
     "*.vda;*.win;*.pcx;*.pcc;*.scr;*.pcd;*.pdd;*.psd;*.rle;*.rla;*.rpf;*.ppm;*.pgm;*.pbm"},
    {"Jpeg (*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
    {"Windows(OS/2) Bitmap (*.bmp;*.dib;*.rle)", "*.bmp;*.dib;*.rle"},
    {"Tiff (*.tiff;*.tif)", "*.tiff;*.tif"},
    {"Adobe Photoshop (*.psd;*.pdd;*.psp)", "*.psd;*.pdd;*.psp"},
    {"GFI Fax (*.fax)", "*.fax"},
    {"Autodesk (*.cel;*.pic)", "*.cel;*.pic"},
    {"Truevision Images (*.tga;*.vst;*.icb;*.vda;*.win)", "*.tga;*.vst;*.icb;*.vda;*.win"},
    {"Kodak PhotoCD (*.pcd)", "*.pcd"},
    {"Portable network graphic (*.png)", "*.png"},
    {"SGI Wavefront images (*.rla;*.rpf)", "*.rla;*.rpf"},
    {"Compuserve images (*.gif)", "*.gif"},
    {"Portable pixel/gray map images (*.ppm;*.pgm;*.pbm)", "*.ppm;*.pgm;*.pbm"},
    {"ZSoft Paint brush (*.pcs)", "*.pcx"},
    {"Wszystkie pliki", "*.*"},
};

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
    QCollator natural;
    natural.setNumericMode(true);
    natural.setCaseSensitivity(Qt::CaseInsensitive);
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
            std::sort(found.begin(), found.end(),
                      [&](const QString& a, const QString& b) { return natural.compare(a, b) < 0; });
            files << found;
        }
    }
    return files;
}
