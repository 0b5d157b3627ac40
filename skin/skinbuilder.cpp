#include "skin/skinbuilder.h"

#include "core/textutils.h"
#include "platform/binrecords.h"
#include "skin/skinner.h"
#include "skin/syscolors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

bool IsColorName(const QString& name)
{
    for (const char* known : kSkinColorNames) {
        if (name == QLatin1String(known))
            return true;
    }
    return false;
}

// One component: empty, a decimal 0..255, or a two-digit hexadecimal byte.
bool IsColorText(const QString& value)
{
    static const QRegularExpression pattern(
        QStringLiteral("^((25[0-5]|2[0-4]\\d|1?\\d?\\d)|[A-Fa-f][0-9A-Fa-f])?"
                       "(,((25[0-5]|2[0-4]\\d|1?\\d?\\d)|[A-Fa-f][0-9A-Fa-f])?){2}$"));
    return pattern.match(value).hasMatch();
}

bool ReadColors(const QString& path, QStringList& lines, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("%1: cannot be read").arg(path);
        return false;
    }
    int number = 0;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
        ++number;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (equals < 0 || !IsColorName(name)) {
            error = QStringLiteral("%1:%2: unknown colour name \"%3\"")
                        .arg(path, QString::number(number), line.left(equals));
            return false;
        }
        if (!IsColorText(value)) {
            error = QStringLiteral("%1:%2: \"%3\" is not a colour (R,G,B)").arg(path, QString::number(number), value);
            return false;
        }
        lines << name + u'=' + value;
    }
    return true;
}

// The colour a colour line gives, or button face when the line is missing.
QColor SchemeColor(const QStringList& lines, const char* name)
{
    const QString prefix = QLatin1String(name) + u'=';
    for (const QString& line : lines) {
        if (line.startsWith(prefix))
            return ColorRefToColor(TextToColor(line.mid(prefix.size())));
    }
    return SysColor(TSysColor::BtnFace);
}

bool ReadPictures(const QString& folder, const QColor& face, std::vector<std::pair<QString, TFFBitmap>>& pictures,
    bool& anySeeThrough, QString& error)
{
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList({ QStringLiteral("*.png") }, QDir::Files, QDir::Name)) {
        QImageReader reader(info.filePath());
        const QImage picture = reader.read();
        if (picture.isNull()) {
            error = QStringLiteral("%1: %2").arg(info.filePath(), reader.errorString());
            return false;
        }
        if (picture.width() > TFFBitmap::kMaxSide || picture.height() > TFFBitmap::kMaxSide) {
            error = QStringLiteral("%1: larger than %2 pixels")
                        .arg(info.filePath(), QString::number(TFFBitmap::kMaxSide));
            return false;
        }
        bool seeThrough = false;
        const QImage flat = FlattenForSkin(picture, face, seeThrough);
        if (seeThrough && flat.pixel(0, flat.height() - 1) != kSkinKeyColor) {
            error = QStringLiteral("%1: has see-through pixels but an opaque bottom-left corner").arg(info.filePath());
            return false;
        }
        anySeeThrough = anySeeThrough || seeThrough;
        pictures.emplace_back(info.completeBaseName().toLower(), TFFBitmap::FromImage(flat));
    }
    return true;
}

bool WritePictures(QIODevice& file, const std::vector<std::pair<QString, TFFBitmap>>& pictures)
{
    QStringList names;
    for (const auto& picture : pictures)
        names << picture.first;
    if (!WriteStringList(file, names))
        return false;
    for (const auto& picture : pictures) {
        if (!picture.second.Save(file))
            return false;
    }
    return true;
}

} // namespace

QImage FlattenForSkin(const QImage& picture, const QColor& face, bool& hadSeeThrough)
{
    QImage flat = picture.convertToFormat(QImage::Format_ARGB32);
    hadSeeThrough = false;
    for (int y = 0; y < flat.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < flat.width(); ++x) {
            const int alpha = qAlpha(row[x]);
            if (alpha == 255)
                continue;
            hadSeeThrough = true;
            if (alpha < 128) {
                row[x] = kSkinKeyColor;
                continue;
            }
            const auto blend
                = [alpha](int over, int under) { return (over * alpha + under * (255 - alpha) + 127) / 255; };
            row[x] = qRgb(blend(qRed(row[x]), face.red()), blend(qGreen(row[x]), face.green()),
                blend(qBlue(row[x]), face.blue()));
        }
    }
    return flat.convertToFormat(QImage::Format_RGB32);
}

bool ReadSkinSource(const QString& folder, TSkinSource& source, QString& error)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        error = QStringLiteral("%1: no such folder").arg(folder);
        return false;
    }
    source = {};
    source.schemeName = source.iconSetName = source.imageSetName = QFileInfo(dir.absolutePath()).fileName();
    if (!ReadColors(dir.filePath(QStringLiteral("colors.txt")), source.colorLines, error))
        return false;
    bool imagesSeeThrough = false;
    return ReadPictures(dir.filePath(QStringLiteral("icons")), SchemeColor(source.colorLines, "color"), source.icons,
               source.iconsTransparent, error)
        && ReadPictures(dir.filePath(QStringLiteral("images")), SchemeColor(source.colorLines, "background"),
            source.images, imagesSeeThrough, error);
}

bool WriteSkinFile(const QString& path, const TSkinSource& source, QString& error)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && WriteLenString(file, QLatin1String(TSkinner::kFileHeader))
        && WriteLenString(file, QLatin1String(TSkinner::kColorsV2Header)) && WriteLenString(file, source.schemeName)
        && WriteStringList(file, source.colorLines) && WriteLenString(file, QLatin1String(TSkinner::kIconsHeader))
        && WriteLenString(file, source.iconSetName) && WriteInt32(file, source.iconsTransparent ? 1 : 0)
        && WritePictures(file, source.icons) && WriteLenString(file, QLatin1String(TSkinner::kImagesHeader))
        && WriteLenString(file, source.imageSetName) && WritePictures(file, source.images) && file.commit();
    if (!written)
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return written;
}
