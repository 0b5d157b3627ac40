#include "tests/lab/labfiles.h"

#include "core/blowfish.h"
#include "lab/stamp.h"
#include "platform/cp1250.h"
#include "platform/inifile.h"
#include "tests/support/testsupport.h"

#include <QStringList>

namespace {

QString Protect(const QString& plain)
{
    return TBlowFish(QByteArrayView(kLabKey)).EncodeText(plain);
}

} // namespace

TIniValues LabIniValues()
{
    return {
        { "misc/progname", "Fotolab Test" },
        { "engine/formats", "file://formats.txt" },
        { "engine/shops", "file://shops.txt" },
        { "ftp/host", "127.0.0.1:2121" },
        { "ftp/user", Protect("labuser") },
        { "ftp/pass", Protect(QStringLiteral("tajne hasło")) },
        { "ftp/orderpath", "/orders" },
        { "ftp/virtual", "/virtual" },
        { "advanced/newsseed", "http://127.0.0.1/seeds/newsid.txt" },
        { "advanced/newspath", "http://127.0.0.1/news/" },
        { "advanced/updateseed", "http://127.0.0.1/seeds/npid.txt" },
        { "advanced/updatepath", "http://127.0.0.1/update/setup" },
        { "advanced/settings", "http://127.0.0.1/engine_set.ini" },
        { "advanced/authkey", Protect("AK-1234") },
    };
}

TIniValues SettingsValues()
{
    return {
        { "engine/outputdpi", "300" },
        { "engine/mindpi", "150" },
        { "engine/forceformat", "1" },
        { "engine/usenews", "1" },
        { "engine/orderid", "%data8%" },
        { "company/name", QStringLiteral("Fotolab Łódź") },
        { "company/city", "90-001 Łódź" },
        { "company/paycash", "1" },
        { "sendorder/pack", "1" },
        { "sendorder/delivery_price", "1200" },
    };
}

void WriteStampedIni(const QString& path, const TIniValues& values, const QString* stamp)
{
    QStringList sections;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString section = it.key().section(u'/', 0, 0);
        if (!sections.contains(section))
            sections.append(section);
    }
    QString text = QStringLiteral("; test lab file\r\n");
    for (const QString& section : sections) {
        text += "[" + section + "]\r\n";
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it.key().section(u'/', 0, 0) == section && it.value() != kAbsent)
                text += it.key().section(u'/', 1) + "=" + it.value() + "\r\n";
    }
    WriteFileBytes(path, ToCp1250(text));
    if (stamp)
        TIniFile(path).WriteString("digitalstamp", "stamp", *stamp);
    else
        WriteStamp(path);
}
