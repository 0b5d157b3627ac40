// vendaro-lab skin-info FILE
#include "tools/vendaro-lab/labcommand.h"

#include "skin/skinner.h"

#include <QColor>

#include <functional>

namespace {

void PrintPictures(const QString& title, const QStringList& names, const std::function<const TFFBitmap&(int)>& picture)
{
    LabPrint(QStringLiteral("%1: %2").arg(title).arg(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        const TFFBitmap& bitmap = picture(i);
        LabPrint(bitmap.IsEmpty()
                ? QStringLiteral("  %1 empty").arg(names[i])
                : QStringLiteral("  %1 %2x%3")
                      .arg(names[i], QString::number(bitmap.Width()), QString::number(bitmap.Height())));
    }
}

int RunSkinInfo(const QStringList& args)
{
    if (args.size() != 1)
        return LabFail(QStringLiteral("usage: vendaro-lab skin-info FILE"));
    TSkinner skinner;
    if (!skinner.LoadFromFile(args[0]))
        return LabFail(args[0] + ": " + skinner.FileFacts().error);
    const TSkinner::TFileFacts& facts = skinner.FileFacts();
    LabPrint(QStringLiteral("file: %1").arg(QLatin1String(TSkinner::kFileHeader)));
    LabPrint(QStringLiteral("colours: %1, scheme \"%2\"").arg(facts.colorBlockHeader, facts.schemeName));
    for (const char* name : kSkinColorNames) {
        const QColor color = skinner.GetColor(QLatin1String(name));
        LabPrint(QStringLiteral("%1=%2,%3,%4")
                     .arg(QLatin1String(name))
                     .arg(color.red())
                     .arg(color.green())
                     .arg(color.blue()));
    }
    PrintPictures(QStringLiteral("icons (%1)").arg(skinner.IconsTransparent() ? "transparent" : "opaque"),
        skinner.IconNames(), [&skinner](int i) -> const TFFBitmap& { return skinner.Icon(i); });
    PrintPictures(QStringLiteral("images"), skinner.ImageNames(),
        [&skinner](int i) -> const TFFBitmap& { return skinner.Image(i); });
    return 0;
}

const LabCommand command(QStringLiteral("skin-info"), QStringLiteral("skin-info FILE"),
    QStringLiteral("Shows a skin file: its headers, the ten colours as the program reads them\n"
                   "(name=R,G,B), and the names and sizes of its icons and images. A damaged\n"
                   "file gives the reason and exit status 1."),
    RunSkinInfo);

} // namespace
