#include "core/core.h"

#include "core/log.h"
#include "lab/blowfish.h"
#include "platform/appdir.h"
#include "platform/inifile.h"

#include <QFileInfo>
#include <QFontMetrics>

namespace {

const QString kFlags = QStringLiteral("flags");
const QString kEditor = QStringLiteral("editor");
const QString kNet = QStringLiteral("net");
const QString kVa = QStringLiteral("va");
const QString kThumbs = QStringLiteral("thumbs");

// Both protected values are empty when built in, and stay so when the stored text is damaged.
QString ReadProtected(const TIniFile& ini, const QString& key)
{
    const QString stored = ini.ReadString(kNet, key, QString());
    try {
        return TBlowFish(QByteArrayView(kConfigKey)).DecodeText(stored);
    } catch (const EInvalidData& e) {
        Log("Config: protected value " + kNet + "/" + key + " cannot be decoded (" + e.what()
                + "); the built-in value is kept",
            3);
        return {};
    }
}

// A number the program computes with (thumbnail geometry) outside the range the settings window
// offers takes its built-in value: a hand-edited 2147483647 would overflow the cell arithmetic.
int ReadInRange(const TIniFile& ini, const QString& key, int builtIn, int lowest, int highest)
{
    const int value = ini.ReadInteger(kThumbs, key, builtIn);
    if (value >= lowest && value <= highest)
        return value;
    Log(QStringLiteral("Config: %1/%2=%3 is outside %4..%5; %6 used")
            .arg(kThumbs, key)
            .arg(value)
            .arg(lowest)
            .arg(highest)
            .arg(builtIn),
        2);
    return builtIn;
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

void TConfig::Load(const QFont& surfaceFont)
{
    const TIniFile ini(FileName());
    if (!ini.FileExisted())
        return;
    fexit = ini.ReadBool(kFlags, "fexit", true);
    fdelete = ini.ReadBool(kFlags, "fdelete", true);
    fPickDefFormat = ini.ReadBool(kFlags, "fPickDefFormat", true);
    fShowTip = ini.ReadBool(kFlags, "fShowTip", true);

    cropalpha = ini.ReadInteger(kEditor, "cropalpha", 64);
    cropbackground = ini.ReadInteger(kEditor, "cropbackground", -1);

    passive = ini.ReadBool(kNet, "passive", false);
    timout = ini.ReadInteger(kNet, "timout", 30000);
    useproxy = ini.ReadBool(kNet, "useproxy", false);
    proxy_host = ini.ReadString(kNet, "proxy_host", "");
    proxy_port = ini.ReadString(kNet, "proxy_port", "");
    proxy_login = ReadProtected(ini, "proxy_login");
    proxy_pass = ReadProtected(ini, "proxy_pass");
    proxy_ftp_type = ini.ReadInteger(kNet, "proxy_ftp_type", 0);

    savepath = ini.ReadString(kVa, "savepath", "");
    loadpath = ini.ReadString(kVa, "loadpath", "");
    id = ini.ReadString(kVa, "id", "");

    thumbborder = ReadInRange(ini, "thumbborder", 5, 0, 10);
    thumbbitmapwidth = ReadInRange(ini, "thumbbitmapwidth", 140, 100, 180);
    thumbbitmapheight = ReadInRange(ini, "thumbbitmapheight", 140, 100, 180);
    thumbspace = ReadInRange(ini, "thumbspace", 5, 0, 100);
    thumbname = ini.ReadBool(kThumbs, "thumbname", true);
    thumbprice = ini.ReadBool(kThumbs, "thumbprice", true);
    thumbsize = ini.ReadBool(kThumbs, "thumbsize", false);
    thumbresolution = ini.ReadBool(kThumbs, "thumbresolution", false);

    InitThumbSizes(surfaceFont);
}

bool TConfig::Save() const
{
    TIniFile ini(AppPath(kConfigIni, FileUse::Write), TIniFile::Access::Private);
    const bool ok = ini.WriteBool(kFlags, "fexit", fexit) && ini.WriteBool(kFlags, "fdelete", fdelete)
        && ini.WriteBool(kFlags, "fPickDefFormat", fPickDefFormat) && ini.WriteBool(kFlags, "fShowTip", fShowTip)
        && ini.WriteInteger(kEditor, "cropalpha", cropalpha) && ini.WriteInteger(kEditor, "cropbackground", cropbackground)
        && ini.WriteBool(kNet, "passive", passive) && ini.WriteInteger(kNet, "timout", timout)
        && ini.WriteBool(kNet, "useproxy", useproxy) && ini.WriteString(kNet, "proxy_host", proxy_host)
        && ini.WriteString(kNet, "proxy_port", proxy_port) && ini.WriteString(kNet, "proxy_login", Protect(proxy_login))
        && ini.WriteString(kNet, "proxy_pass", Protect(proxy_pass))
        && ini.WriteInteger(kNet, "proxy_ftp_type", proxy_ftp_type) && ini.WriteString(kVa, "savepath", savepath)
        && ini.WriteString(kVa, "loadpath", loadpath) && ini.WriteString(kVa, "id", id)
        && ini.WriteInteger(kThumbs, "thumbborder", thumbborder)
        && ini.WriteInteger(kThumbs, "thumbbitmapwidth", thumbbitmapwidth)
        && ini.WriteInteger(kThumbs, "thumbbitmapheight", thumbbitmapheight)
        && ini.WriteInteger(kThumbs, "thumbspace", thumbspace) && ini.WriteBool(kThumbs, "thumbname", thumbname)
        && ini.WriteBool(kThumbs, "thumbprice", thumbprice) && ini.WriteBool(kThumbs, "thumbsize", thumbsize)
        && ini.WriteBool(kThumbs, "thumbresolution", thumbresolution);
    if (!ok)
        Log("Config: cannot write " + ini.FileName(), 3);
    return ok;
}

int TConfig::NetworkTimeout() const
{
    if (timout > 0)
        return timout;
    Log(QStringLiteral("Config: %1/timout=%2 is not a time-out; %3 ms used").arg(kNet).arg(timout).arg(kBuiltInTimeout),
        2);
    return kBuiltInTimeout;
}

void TConfig::InitThumbSizes(const QFont& surfaceFont)
{
    Log(QStringLiteral("Initializing thumb sizes ..."), 0);
    cellWidth = thumbbitmapwidth + 2 * thumbborder;
    const int textHeight = QFontMetrics(surfaceFont).size(Qt::TextSingleLine, QStringLiteral("^_")).height();
    const int lines = int(thumbname) + int(thumbsize) + int(thumbresolution) + int(thumbprice);
    cellHeight = thumbbitmapheight + 2 * thumbborder + (lines > 0 ? textHeight * lines + 2 : 0);
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
    const QString name = SelectedSkinName();
    if (name.isEmpty())
        return {};
    const QString path = AppPath("skins/" + name + ".vdskin");
    return QFileInfo(path).isFile() ? path : QString();
}
