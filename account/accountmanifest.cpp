#include "account/accountmanifest.h"

#include "core/textutils.h"
#include "core/valuelist.h"
#include "lab/listfile.h"
#include "lab/md5.h"

#include <QRegularExpression>

QString NormalizeAccountId(const QString& typed)
{
    return TrimText(typed).toUpper();
}

bool IsAccountManifestName(const QString& name)
{
    QString bare = name.trimmed();
    while (bare.endsWith(u'.') || bare.endsWith(u' '))
        bare.chop(1);
    static const QRegularExpression shortAlias(
        QStringLiteral("^accoun~[0-9]+\\.vds$"), QRegularExpression::CaseInsensitiveOption);
    return bare.compare(QLatin1String(kAccountManifestName), Qt::CaseInsensitive) == 0
        || shortAlias.match(bare).hasMatch();
}

bool IsValidAccountId(const QString& id)
{
    if (id.size() != 8)
        return false;
    for (const QChar c : id)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    return true;
}

TManifestRead ReadAccountManifest(const QString& path)
{
    TManifestRead read;
    std::optional<QStringList> lines = ReadListLines(path);
    if (!lines) {
        read.problem = QStringLiteral("cannot read the account manifest");
        return read;
    }
    TValueList values;
    values.lines = std::move(*lines);
    values.Rebuild();
    for (const char* key : { "id", "descr", "size", "pass" }) {
        if (!values.Contains(QLatin1String(key))) {
            read.status = TManifestStatus::Incomplete;
            read.problem = QStringLiteral("the account manifest has no \"%1\"").arg(QLatin1String(key));
            return read;
        }
    }
    const std::optional<int> size = ParseDecimalField(values.GetValue(QStringLiteral("size")), &read.problem);
    if (!size || *size < 0) {
        if (size)
            read.problem = QStringLiteral("the account size %1 is negative").arg(*size);
        return read;
    }
    read.status = TManifestStatus::Ok;
    read.manifest = { values.GetValue(QStringLiteral("id")), values.GetValue(QStringLiteral("descr")),
        *size * kBytesPerMiB, values.GetValue(QStringLiteral("pass")) };
    return read;
}

bool PasswordOpensAccount(const QString& passDigest, const QString& typed)
{
    return passDigest == MD5Hex(QStringLiteral("none")) || passDigest == MD5Hex(typed);
}
