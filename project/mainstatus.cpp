#include "project/mainstatus.h"

#include "core/textutils.h"
#include "imaging/geometry.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "project/numbertext.h"
#include "project/uvdimage.h"

#include <QFileInfo>

QString FormatCaption(const TFormats& formats, int formatId)
{
    if (formats.IdToIndex(formatId) < 0)
        return QStringLiteral("Brak.");
    return PricedName(formats.GetName(formatId), formats.GetPrice(formatId));
}

TMainStatus ComputeMainStatus(TVDImage& project, const TFormats& formats, const TEngine& engine)
{
    TMainStatus status;
    const int count = project.Count();
    const int selectedCount = project.SelectedCount();
    const int focus = project.focus;
    const bool hasFocus = focus >= 0 && focus < count;

    status.count = FormatThousands(count) + u'(' + FormatThousands(project.TotalQuantity()) + u')';
    status.format = QStringLiteral("Brak.");
    if (hasFocus) {
        status.photo = QFileInfo(project.Photo(focus).name).fileName();
        int width = 0, height = 0;
        project.GetImageSize(focus, width, height);
        status.size = QStringLiteral("%1 x %2 px, %3 x %4 cm")
                          .arg(width)
                          .arg(height)
                          .arg(FormatFixed(PixelsToMm(width, engine.outputdpi) / 10.0, 1),
                              FormatFixed(PixelsToMm(height, engine.outputdpi) / 10.0, 1));
        status.format = FormatCaption(formats, project.Photo(focus).formatId);
    }
    const int value = project.PhotosValue();
    const int price = project.OrderPrice(true, false);
    status.price = FormatHundredths(value) + QStringLiteral(" zł (~ ") + FormatMoney(price) + u')';

    status.sendOrder = project.TotalQuantity() > 0;
    status.deleteSelected = selectedCount > 0;
    status.anyPhoto = count > 0;
    status.focused = hasFocus;
    status.selectAll = count >= 1 && selectedCount < count;
    status.selectNone = count > 0 && selectedCount > 0;
    return status;
}
