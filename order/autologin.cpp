#include "order/autologin.h"

#include "core/blowfish.h"
#include "core/log.h"
#include "core/textutils.h"
#include "order/privatefile.h"
#include "platform/appdir.h"
#include "platform/binrecords.h"
#include "platform/files.h"

#include <QFile>

namespace {

const QString kFileName = QStringLiteral("mylogin.dat");
const QString kHeader = QStringLiteral("VD: autologin file");
constexpr int kMaxItemBytes = 2000;

} // namespace

bool WriteAutologin(const TAutologin& login)
{
    const TBlowFish cipher(kLoginKey);
    const QString items[] = { kHeader, RandomHex(64), RandomHex(1024), cipher.EncodeText(login.user),
        cipher.EncodeText(login.password), RandomHex(1264), RandomHex(1264) };
    return WritePrivateFile(AppPath(kFileName, FileUse::Write), [&](QIODevice& file) {
        return std::all_of(
            std::begin(items), std::end(items), [&](const QString& item) { return WriteLenString(file, item); });
    });
}

std::optional<TAutologin> ReadAutologin()
{
    QFile file(AppPath(kFileName, FileUse::Read));
    if (!file.exists())
        return std::nullopt;
    Log(QStringLiteral("Loading autologin data ..."));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString items[5];
    for (QString& item : items) {
        if (!ReadLenString(file, item, kMaxItemBytes))
            return std::nullopt;
    }
    if (items[0] != kHeader)
        return std::nullopt;
    try {
        const TBlowFish cipher(kLoginKey);
        TAutologin login { cipher.DecodeText(items[3]), cipher.DecodeText(items[4]) };
        if (login.password.isEmpty())
            return std::nullopt;
        return login;
    } catch (const EInvalidData& error) {
        Log(QStringLiteral("Autologin data do not decipher: ") + error.what(), 2);
        return std::nullopt;
    }
}

bool DeleteAutologin()
{
    return DeleteFileForced(AppPath(kFileName, FileUse::Write));
}
