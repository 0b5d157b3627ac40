#include "account/accountmanifest.h"

#include "core/textutils.h"
#include "core/valuelist.h"
#include "lab/listfile.h"
#include "lab/md5.h"

QString NormalizeAccountId(const QString& typed)
{
    return TrimText(typed).toUpper();
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
