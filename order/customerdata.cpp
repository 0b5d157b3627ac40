#include "order/customerdata.h"

#include "core/log.h"
#include "order/privatefile.h"
#include "platform/appdir.h"
#include "platform/binrecords.h"
#include "platform/files.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace {

const QString kFileName = QStringLiteral("mydata.dat");
const QString kHeaderV1 = QStringLiteral("VD: saved my data");
const QString kHeaderV2 = QStringLiteral("VD: saved my data v2");

// The fields in file order; the older form ends after email.
std::array<QString TCustomerData::*, 7> Fields()
{
    return { &TCustomerData::name, &TCustomerData::city, &TCustomerData::street, &TCustomerData::phone,
        &TCustomerData::email, &TCustomerData::nip, &TCustomerData::company };
}

QString ReadItem(QIODevice& file)
{
    QString item;
    ReadLenStringCapped(file, item); // an empty field is stored as length 0 and reads as ""
    return item;
}

} // namespace

std::optional<TCustomerData> ReadCustomerData()
{
    QFile file(AppPath(kFileName, FileUse::Read));
    if (!file.exists())
        return std::nullopt;
    Log(QStringLiteral("Loading my data ..."));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString header = ReadItem(file);
    if (header != kHeaderV1 && header != kHeaderV2) {
        Log(QStringLiteral("mydata.dat has invalid format or is incompatible !"), 2);
        return std::nullopt;
    }
    TCustomerData data;
    data.hasVatData = header == kHeaderV2;
    const auto fields = Fields();
    const int count = data.hasVatData ? 7 : 5;
    for (int i = 0; i < count; ++i)
        data.*fields[i] = ReadItem(file);
    return data;
}

bool WriteCustomerData(const TCustomerData& data)
{
    return WritePrivateFile(AppPath(kFileName, FileUse::Write), [&](QIODevice& file) {
        const auto fields = Fields();
        return WriteLenString(file, kHeaderV2)
            && std::all_of(fields.begin(), fields.end(), [&](auto field) { return WriteLenString(file, data.*field); });
    });
}

bool DeleteCustomerData()
{
    return DeleteFileForced(AppPath(kFileName, FileUse::Write));
}
