#include "order/sendorderrules.h"

#include "core/rect.h"
#include "imaging/geometry.h"

#include <QPainter>

QString CustomerDataWarning(const TCustomerData& data)
{
    const struct {
        const QString& text;
        int minimum;
        const char16_t* warning;
    } checks[] = {
        { data.name, 5, u"Podaj imię i nazwisko !" },
        { data.city, 10, u"Podaj kod pocztowy i miasto !" },
        { data.street, 5, u"Podaj ulice i nr domu/mieszkania !" },
        { data.phone, 7, u"Podaj nr telefonu kontaktowego !" },
        { data.email, 6, u"Podaj adres email !" },
    };
    for (const auto& check : checks) {
        if (check.text.size() < check.minimum)
            return QString::fromUtf16(check.warning);
    }
    return {};
}

TOrderDetailsCheck CheckOrderDetails(
    int shopId, bool anyPayment, bool vatInvoice, const QString& nip, const QString& company)
{
    if (shopId == 0)
        return { QStringLiteral("Wybierz punkt usługowy !") };
    if (!anyPayment)
        return { QStringLiteral("Wybierz formę płatności !") };
    if (vatInvoice && (nip.isEmpty() || company.isEmpty()))
        return { QStringLiteral("Podaj nip/nazwę firmy aby otrzymać fakturę VAT !"), true };
    return {};
}

QImage OrderPreviewPicture(const QSize& size, const QImage& rendered)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const TRect box { 0, 0, size.width(), size.height() };
    TRect place { 0, 0, rendered.width(), rendered.height() };
    if (FitRect(box, place, true) <= 0)
        return picture;
    CenterRect(box, place);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(place.Left, place.Top, place.Width(), place.Height()), rendered);
    return picture;
}
