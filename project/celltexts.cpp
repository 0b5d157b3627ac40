#include "project/celltexts.h"

#include "core/core.h"
#include "core/textutils.h"
#include "lab/formats.h"
#include "project/numbertext.h"
#include "project/uvdimage.h"

#include <QFileInfo>

QStringList CellTexts(const TVDImage& project, int index, const TConfig& config, const TFormats& formats)
{
    QStringList lines;
    const TPhoto& photo = project.Photo(index);
    const ImageInfo& info = photo.info;
    if (config.thumbresolution)
        lines << QStringLiteral("%1x%2").arg(info.width).arg(info.height);
    if (config.thumbsize)
        lines << FormatByteSize(std::int64_t(std::uint32_t(info.fileSize)), QStringLiteral("Tb"));
    if (config.thumbname)
        lines << QFileInfo(photo.name).fileName();
    if (config.thumbprice) {
        const int quantity = photo.quantity;
        const int unitPrice = formats.GetPrice(photo.formatId);
        lines << QStringLiteral("%1 * %2 = %3")
                     .arg(quantity)
                     .arg(FormatHundredths(unitPrice), FormatMoney(std::int64_t(quantity) * unitPrice));
    }
    return lines;
}
