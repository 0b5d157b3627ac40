#include "skin/skinner.h"

#include "core/textutils.h"
#include "platform/binrecords.h"
#include "skin/syscolors.h"

#include <QFile>
#include <QtEndian>

#include <utility>

namespace {

// The desktop colours the ten colour names default to, in the order of kSkinColorNames.
constexpr std::array<TSysColor, 10> kDefaultColors = { TSysColor::BtnFace, TSysColor::BtnFace, TSysColor::Window,
    TSysColor::BtnHighlight, TSysColor::BtnShadow, TSysColor::WindowFrame, TSysColor::BtnShadow, TSysColor::HotLight,
    TSysColor::WindowText, TSysColor::HighlightText };

// Splits "name=value" at the first "=", trimming both; false without "=".
bool SplitSchemeLine(const QString& line, QString& name, QString& value)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    name = line.left(equals).trimmed();
    value = line.mid(equals + 1).trimmed();
    return true;
}

// A free string: a length of 1..1048575 is followed by its bytes (which must be there); any
// other length stands alone for an empty string.
bool ReadFreeString(QIODevice& file, QString& s)
{
    char bytes[4];
    if (file.peek(bytes, 4) != 4)
        return false;
    const qint32 length = qFromLittleEndian<qint32>(bytes);
    if (length >= 1 && length <= 1048575)
        return ReadLenStringCapped(file, s);
    s.clear();
    return file.skip(4) == 4;
}

bool ReadHeader(QIODevice& file, int maxLen, const char* expected)
{
    QString header;
    return ReadLenString(file, header, maxLen) && header == QLatin1String(expected);
}

// Reads `names`, then one picture record per name; `what` names the block in a failure.
QString ReadPictures(QIODevice& file, QStringList& names, std::vector<TFFBitmap>& pictures, const QString& what)
{
    if (!ReadStringList(file, true, names))
        return what + QStringLiteral(" names: the file ends early");
    pictures.resize(size_t(names.size()));
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (!pictures[i].Load(file))
            return QStringLiteral("%1 \"%2\": damaged picture record").arg(what, names[qsizetype(i)]);
    }
    return {};
}

int IndexOfLowered(const QStringList& names, const QString& name)
{
    return int(names.indexOf(name.toLower()));
}

} // namespace

QStringList TranslateVersion1ColorLine(const QString& line)
{
    static const std::pair<const char*, const char*> kNames[] = {
        { "bordertopcolor", "bordertop" },
        { "borderbottomcolor", "borderbottom" },
        { "backgroundcolor", "background" },
        { "color", "backgroundtext" },
        { "color", "color" },
        { "hotcolor", "hot" },
        { "selectedcolor", "selected" },
        { "fontcolor", "text" },
        { "fontcolor", "border" },
        { "selectedfontcolor", "selectedtext" },
    };
    QString name, value;
    QStringList lines;
    if (!SplitSchemeLine(line, name, value))
        return lines;
    name = name.toLower();
    for (const auto& [oldName, newName] : kNames) {
        if (name == QLatin1String(oldName))
            lines << QLatin1String(newName) + u'=' + value;
    }
    return lines;
}

TSkinner::TSkinner()
{
    SetDefaults();
}

void TSkinner::SetDefaults()
{
    ClearIcons();
    ClearImages();
    scheme_.clear();
    for (size_t i = 0; i < kSkinColorNames.size(); ++i)
        scheme_ << QLatin1String(kSkinColorNames[i]) + u'=' + ColorToText(ColorToColorRef(SysColor(kDefaultColors[i])));
}

void TSkinner::ClearIcons()
{
    iconNames_.clear();
    icons_.clear();
}

void TSkinner::ClearImages()
{
    imageNames_.clear();
    images_.clear();
}

QColor TSkinner::GetColor(const QString& name) const
{
    QString lineName, value;
    for (const QString& line : scheme_) {
        if (SplitSchemeLine(line, lineName, value) && lineName == name)
            return ColorRefToColor(TextToColor(value));
    }
    return SysColor(TSysColor::BtnFace);
}

bool TSkinner::Fail(const QString& reason)
{
    facts_.error = reason;
    return false;
}

bool TSkinner::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        facts_.error = QStringLiteral("cannot open the file");
        return false;
    }
    SetDefaults();
    facts_ = {};
    bool loaded = ReadHeader(file, 48, kFileHeader) || Fail(QStringLiteral("not a skin file"));
    loaded = loaded && ReadColorBlock(file) && ReadIconsBlock(file) && ReadImagesBlock(file);
    if (!loaded)
        SetDefaults();
    return loaded;
}

bool TSkinner::ReadColorBlock(QIODevice& file)
{
    scheme_.clear();
    QString& header = facts_.colorBlockHeader;
    if (!ReadLenString(file, header, 64))
        return Fail(QStringLiteral("colour block header missing"));
    const bool version2 = header == QLatin1String(kColorsV2Header);
    if (!version2 && header != QLatin1String(kColorsV1Header))
        return Fail(QStringLiteral("unknown colour block \"%1\"").arg(header));
    if (!ReadLenString(file, facts_.schemeName, 64))
        return Fail(QStringLiteral("scheme name missing"));
    if (version2)
        return ReadStringList(file, true, scheme_) || Fail(QStringLiteral("colour lines: the file ends early"));
    QStringList oldLines;
    if (!ReadStringList(file, true, oldLines))
        return Fail(QStringLiteral("colour lines: the file ends early"));
    for (const QString& line : std::as_const(oldLines))
        scheme_ << TranslateVersion1ColorLine(line);
    return true;
}

bool TSkinner::ReadIconsBlock(QIODevice& file)
{
    ClearIcons();
    qint32 transparent = 0;
    QString error;
    if (!ReadHeader(file, 48, kIconsHeader))
        error = QStringLiteral("icons block header missing");
    else if (!ReadFreeString(file, facts_.iconSetName) || !ReadInt32(file, transparent))
        error = QStringLiteral("icons block: the file ends early");
    else
        error = ReadPictures(file, iconNames_, icons_, QStringLiteral("icon"));
    if (!error.isEmpty()) {
        ClearIcons();
        return Fail(error);
    }
    iconsTransparent_ = transparent == 1;
    return true;
}

bool TSkinner::ReadImagesBlock(QIODevice& file)
{
    ClearImages();
    QString error;
    if (!ReadHeader(file, 48, kImagesHeader))
        error = QStringLiteral("images block header missing");
    else if (!ReadFreeString(file, facts_.imageSetName))
        error = QStringLiteral("images block: the file ends early");
    else
        error = ReadPictures(file, imageNames_, images_, QStringLiteral("image"));
    if (!error.isEmpty()) {
        ClearImages();
        return Fail(error);
    }
    return true;
}

int TSkinner::IconIndex(const QString& name) const
{
    return IndexOfLowered(iconNames_, name);
}

int TSkinner::ImageIndex(const QString& name) const
{
    return IndexOfLowered(imageNames_, name);
}

bool TSkinner::CopyIcon(const QString& name, QImage& target) const
{
    const int index = IconIndex(name);
    if (index < 0 || Icon(index).IsEmpty())
        return false;
    target = Icon(index).CopyTo24Bit();
    return true;
}

bool TSkinner::CopyImage(const QString& name, QImage& target) const
{
    const int index = ImageIndex(name);
    if (index < 0 || Image(index).IsEmpty())
        return false;
    target = Image(index).CopyTo24Bit();
    return true;
}
