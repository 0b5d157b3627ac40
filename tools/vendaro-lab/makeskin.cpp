// vendaro-lab make-skin SRC_DIR OUT.vdskin
#include "tools/vendaro-lab/labcommand.h"

#include "skin/skinbuilder.h"
#include "skin/skinner.h"

namespace {

int RunMakeSkin(const QStringList& args)
{
    if (args.size() != 2)
        return LabFail(QStringLiteral("usage: vendaro-lab make-skin SRC_DIR OUT.vdskin"));
    TSkinSource source;
    QString error;
    if (!ReadSkinSource(args[0], source, error) || !WriteSkinFile(args[1], source, error))
        return LabFail(error);
    TSkinner check;
    if (!check.LoadFromFile(args[1]))
        return LabFail(args[1] + ": the written skin does not load: " + check.FileFacts().error);
    LabPrint(QStringLiteral("%1: %2 colours, %3 icons%4, %5 images")
                 .arg(args[1], QString::number(source.colorLines.size()), QString::number(source.icons.size()),
                     source.iconsTransparent ? QStringLiteral(" (transparent)") : QString(),
                     QString::number(source.images.size())));
    return 0;
}

const LabCommand command(QStringLiteral("make-skin"), QStringLiteral("make-skin SRC_DIR OUT.vdskin"),
    QStringLiteral("Builds a skin file from a source folder: colors.txt (name=R,G,B lines for the\n"
                   "ten colour names), icons/*.png named after the buttons they dress and\n"
                   "images/*.png named after the picture controls. See-through pixels need a\n"
                   "see-through bottom-left corner."),
    RunMakeSkin);

} // namespace
