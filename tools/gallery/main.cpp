// vendaro-gallery: shows every control of the shell, the glyph family and the dialogs under
// a skin. --png FILE writes the view to a picture without a display (offscreen platform);
// --export-glyphs DIR SIZE [--ink #rrggbb] writes the glyphs as PNG files, the starting
// point of a skin's icons.
#include "tools/gallery/galleryform.h"

#include "skin/skinner.h"
#include "ui/shellglyphs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "vendaro-gallery: %s\n", message.toUtf8().constData());
    return 1;
}

// "--skin grafit" looks in the build's skins folder; a path is taken as it is.
QString SkinPath(const QString& skin)
{
    if (skin.contains(u'/') || skin.endsWith(QLatin1String(".vdskin")))
        return skin;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../skins/%1.vdskin").arg(skin));
}

int ExportGlyphs(const QString& folder, int size, const QColor& ink)
{
    if (size <= 0 || !QDir().mkpath(folder))
        return Fail(QStringLiteral("cannot write glyphs of size %1 into %2").arg(size).arg(folder));
    for (const QString& name : ShellGlyphNames()) {
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        if (!ShellGlyph(name, size, ink).save(path))
            return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.contains(QLatin1String("--png")) || arguments.contains(QLatin1String("--export-glyphs")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vendaro"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the shell's controls, glyphs and dialogs under a skin."));
    parser.addHelpOption();
    const QCommandLineOption skinOption(
        QStringLiteral("skin"), QStringLiteral("Skin file or name."), QStringLiteral("skin"));
    const QCommandLineOption pngOption(
        QStringLiteral("png"), QStringLiteral("Write the view to FILE and exit."), QStringLiteral("FILE"));
    const QCommandLineOption exportOption(QStringLiteral("export-glyphs"),
        QStringLiteral("Write every glyph as DIR/NAME.png (with --size)."), QStringLiteral("DIR"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("Glyph size in pixels."), QStringLiteral("SIZE"), QStringLiteral("24"));
    const QCommandLineOption inkOption(
        QStringLiteral("ink"), QStringLiteral("Outline colour of exported glyphs."), QStringLiteral("#rrggbb"));
    parser.addOptions({ skinOption, pngOption, exportOption, sizeOption, inkOption });
    parser.process(app);

    if (parser.isSet(exportOption))
        return ExportGlyphs(
            parser.value(exportOption), parser.value(sizeOption).toInt(), QColor(parser.value(inkOption)));

    TSkinner skinner;
    if (parser.isSet(skinOption) && !skinner.LoadFromFile(SkinPath(parser.value(skinOption))))
        return Fail(QStringLiteral("%1: %2").arg(SkinPath(parser.value(skinOption)), skinner.FileFacts().error));

    TGalleryForm form(skinner);
    form.show();
    form.ShowStates();
    if (!parser.isSet(pngOption))
        return app.exec();
    QApplication::processEvents();
    if (!form.grab().save(parser.value(pngOption)))
        return Fail(QStringLiteral("cannot write %1").arg(parser.value(pngOption)));
    return 0;
}
