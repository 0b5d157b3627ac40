#include "order/loginanswer.h"

#include "core/log.h"
#include "core/textutils.h"
#include "lab/md5.h"
#include "platform/cp1250.h"

#include <QFile>

#include <algorithm>
#include <iterator>

void ParseLoginAnswer(const QByteArray& body, TLoginAnswer& answer)
{
    answer.loggedIn = false;
    answer.errormsg.clear();
    TCustomerData& customer = answer.customer;
    QString* const fields[] = { &customer.name, &customer.city, &customer.phone, &customer.street, &customer.email,
        &customer.nip, &customer.company, &answer.errormsg };
    static const char* const keys[] = { "name", "city", "phone", "street", "email", "nip", "company", "errormsg" };
    for (const QString& line : SplitTextLines(FromCp1250(body))) {
        if (TrimText(line).toLower() == QLatin1String("ok"))
            answer.loggedIn = true;
        const NameValue pair = SplitNameValue(line);
        if (!pair.ok)
            continue;
        const QString key = pair.name.toLower();
        const auto known
            = std::find_if(std::begin(keys), std::end(keys), [&](const char* k) { return key == QLatin1String(k); });
        if (known == std::end(keys))
            Log("got invalid value name \"" + key + "\" !", 2);
        else
            *fields[known - std::begin(keys)] = pair.value;
    }
}

void ReadLoginAnswer(const QString& path, TLoginAnswer& answer)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        answer.loggedIn = false;
        return;
    }
    ParseLoginAnswer(file.readAll(), answer);
    if (file.error() != QFileDevice::NoError)
        answer.loggedIn = false;
}

QString LoginUrl(const QString& script, const QString& user, const QString& password)
{
    return script + "?u=" + QString::fromLatin1(ToCp1250(user).toPercentEncoding()) + "&p=" + MD5Hex(password);
}
