#include "project/celltexts.h"

#include "core/core.h"
#include "core/textutils.h"
#include "lab/formats.h"
#include "project/numbertext.h"
#include "project/uvdimage.h"

#include <QFileInfo>

QStringList CellTexts(const TCellFacts& facts, const TCellLines& lines)
{
    QStringList texts;
    if (lines.resolution)
        texts << QStringLiteral("%1x%2").arg(facts.width).arg(facts.height);
    if (lines.size)
        texts << FormatByteSize(facts.fileSize, QStringLiteral("Tb"));
    if (lines.name)
        texts << facts.fileName;
    if (lines.price)
        texts << QStringLiteral("%1 * %2 = %3")
                     .arg(facts.quantity)
                     .arg(FormatHundredths(facts.unitPrice),
                         FormatMoney(std::int64_t(facts.quantity) * facts.unitPrice));
    return texts;
}

QStringList CellTexts(const TVDImage& project, int index, const TConfig& config, const TFormats& formats)
{
    const TPhoto& photo = project.Photo(index);
    const ImageInfo& info = photo.info;
    const TCellFacts facts { info.width, info.height, std::int64_t(std::uint32_t(info.fileSize)),
        QFileInfo(photo.name).fileName(), photo.quantity, formats.GetPrice(photo.formatId) };
    return CellTexts(facts, { config.thumbresolution, config.thumbsize, config.thumbname, config.thumbprice });
}
