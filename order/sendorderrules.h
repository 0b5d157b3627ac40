#pragma once
// The send-order window's rules that need no window: the checks of its first two pages and
// the preview of a rendered photo.
#include "order/customerdata.h"

#include <QImage>
#include <QSize>
#include <QString>

// The first failing check of the customer data (trimmed texts), in the window's order: name
// at least 5 characters, city 10, street 5, phone 7, email 6. Empty when all pass.
QString CustomerDataWarning(const TCustomerData& data);

// The checks of the order details page, in order.
struct TOrderDetailsCheck {
    QString warning; // empty: the details are complete
    bool backToCustomerData = false; // the VAT data are missing: page 1 is shown after the warning
};
TOrderDetailsCheck CheckOrderDetails(
    int shopId, bool anyPayment, bool vatInvoice, const QString& nip, const QString& company);

// The preview control's picture: size, white, with rendered drawn whole, centred, enlarged or
// reduced to fit.
QImage OrderPreviewPicture(const QSize& size, const QImage& rendered);
