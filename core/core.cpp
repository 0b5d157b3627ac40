#include "core/core.h"

#include "core/blowfish.h"
#include "core/log.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/inikeys.h"

#include <QFileInfo>
#include <QFontMetrics>

namespace {

// clang-format off
// Every config.ini key, in the order Save writes them: built-in value, the value an existing
// file without the key gives (only the proxy port differs), and the ranges of the thumbnail
// numbers the program computes with (those the settings window offers; a hand-edited
// 2147483647 would overflow the cell arithmetic).
const TIniKey<TConfig> kConfigKeys[] = {
    IniFlag("flags", "fexit", &TConfig::fexit, true),
    IniFlag("flags", "fdelete", &TConfig::fdelete, true),
    IniFlag("flags", "fPickDefFormat", &TConfig::fPickDefFormat, true),
    IniFlag("flags", "fShowTip", &TConfig::fShowTip, true),
    IniNumber("editor", "cropalpha", &TConfig::cropalpha, 64),
    IniNumber("editor", "cropbackground", &TConfig::cropbackground, -1),
    IniFlag("net", "passive", &TConfig::passive, false),
    IniNumber("net", "timout", &TConfig::timout, TConfig::kBuiltInTimeout),
    IniFlag("net", "useproxy", &TConfig::useproxy, false),
    IniText("net", "proxy_host", &TConfig::proxy_host),
    IniText("net", "proxy_port", &TConfig::proxy_port, "0", ""),
    IniEnciphered("net", "proxy_login", &TConfig::proxy_login),
    IniEnciphered("net", "proxy_pass", &TConfig::proxy_pass),
    IniNumber("net", "proxy_ftp_type", &TConfig::proxy_ftp_type, 0),
    IniText("va", "savepath", &TConfig::savepath),
    IniText("va", "loadpath", &TConfig::loadpath),
    IniText("va", "id", &TConfig::id),
    IniNumber("thumbs", "thumbborder", &TConfig::thumbborder, 5, 0, 10),
    IniNumber("thumbs", "thumbbitmapwidth", &TConfig::thumbbitmapwidth, 140, 100, 180),
    IniNumber("thumbs", "thumbbitmapheight", &TConfig::thumbbitmapheight, 140, 100, 180),
    IniNumber("thumbs", "thumbspace", &TConfig::thumbspace, 5, 0, 100),
    IniFlag("thumbs", "thumbname", &TConfig::thumbname, true),
    IniFlag("thumbs", "thumbprice", &TConfig::thumbprice, true),
    IniFlag("thumbs", "thumbsize", &TConfig::thumbsize, false),
    IniFlag("thumbs", "thumbresolution", &TConfig::thumbresolution, false),
    IniNumber("window", "windowleft", &TConfig::windowleft, 0),
    IniNumber("window", "windowtop", &TConfig::windowtop, 0),
    IniNumber("window", "windowwidth", &TConfig::windowwidth, 0, 0, 100000),
    IniNumber("window", "windowheight", &TConfig::windowheight, 0, 0, 100000),
    IniFlag("window", "windowmaximized", &TConfig::windowmaximized, false),
    IniText("folders", "photofolder", &TConfig::photofolder),
    IniText("folders", "accountfolder", &TConfig::accountfolder),
    IniText("folders", "savefolder", &TConfig::savefolder),
};
// clang-format on

// A protected value that is damaged keeps its built-in (empty) value.
QString Unprotect(const TIniKey<TConfig>& row, const QString& stored)
{
    try {
        return TBlowFish(QByteArrayView(kConfigKey)).DecodeText(stored);
    } catch (const EInvalidData& e) {
        Log(QStringLiteral("Config: protected value %1/%2 cannot be decoded (%3); the built-in value is kept")
                .arg(row.section, row.key, e.what()),
            3);
        return {};
    }
}

void LogOutOfRange(const TIniKey<TConfig>& row, int stored)
{
    Log(QStringLiteral("Config: %1/%2=%3 is outside %4..%5; %6 used")
            .arg(row.section, row.key)
            .arg(stored)
            .arg(row.lowest)
            .arg(row.highest)
            .arg(row.number),
        2);
}

QString Protect(const QString& plain)
{
    return TBlowFish(QByteArrayView(kConfigKey)).EncodeText(plain);
}

QString SkinIniPath(FileUse use)
{
    return AppPath(QStringLiteral("config/skin.ini"), use);
}

const QString kConfigIni = QStringLiteral("config/config.ini");

} // namespace

QString TConfig::FileName()
{
    return AppPath(kConfigIni);
}

TConfig::TConfig()
{
    SetBuiltIns<TConfig>(kConfigKeys, *this);
}

void TConfig::Load(const QFont& surfaceFont)
{
    const TIniFile ini(FileName());
    if (!ini.FileExisted())
        return;
    ReadIniKeys<TConfig>(ini, kConfigKeys, *this, Unprotect, LogOutOfRange);
    InitThumbSizes(surfaceFont);
}

bool TConfig::Save() const
{
    TIniFile ini(AppPath(kConfigIni, FileUse::Write), TIniFile::Access::Private);
    SetIniKeys<TConfig>(ini, kConfigKeys, *this, Protect);
    const bool ok = ini.UpdateFile();
    if (!ok)
        Log("Config: cannot write " + ini.FileName(), 3);
    return ok;
}

int TConfig::NetworkTimeout() const
{
    if (timout > 0)
        return timout;
    Log(QStringLiteral("Config: net/timout=%1 is not a time-out; %2 ms used").arg(timout).arg(kBuiltInTimeout), 2);
    return kBuiltInTimeout;
}

void TConfig::InitThumbSizes(const QFont& surfaceFont)
{
    Log(QStringLiteral("Initializing thumb sizes ..."), 0);
    const int lines = int(thumbname) + int(thumbsize) + int(thumbresolution) + int(thumbprice);
    const QSize cell = ThumbCellSize(thumbbitmapwidth, thumbbitmapheight, thumbborder, lines, surfaceFont);
    cellWidth = cell.width();
    cellHeight = cell.height();
}

QSize TConfig::ThumbCellSize(int pictureWidth, int pictureHeight, int border, int lines, const QFont& font)
{
    const int textHeight = QFontMetrics(font).size(Qt::TextSingleLine, QStringLiteral("^_")).height();
    return { pictureWidth + 2 * border, pictureHeight + 2 * border + (lines > 0 ? textHeight * lines + 2 : 0) };
}

QString TConfig::SelectedSkinName()
{
    const QString name = TIniFile(SkinIniPath(FileUse::Read)).ReadString("skin", "selected", "domyslna");
    // A name, never a path: a hand-edited value cannot point outside the skins folder.
    return QFileInfo(QString(name).replace(u'\\', u'/')).fileName();
}

bool TConfig::SetSelectedSkinName(const QString& name)
{
    return TIniFile(SkinIniPath(FileUse::Write)).WriteString("skin", "selected", name);
}

QString TConfig::SelectedSkinFile()
{
    return SkinFile(SelectedSkinName());
}

QString TConfig::SkinFile(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'*') || name.contains(u'?'))
        return {};
    const QString path = AppPath("skins/" + name + ".vdskin");
    if (QFileInfo(path).isFile())
        return path;
    // Names are compared as Windows does, so a name written in other letters finds its file.
    QStringList files;
    ListFiles(AppPath(QStringLiteral("skins")) + "/" + name + ".vdskin", 0, files);
    return files.isEmpty() ? QString() : files.first();
}
