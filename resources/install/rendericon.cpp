// vendaro-render-icon SVG FOLDER SIZE...: renders the program's icon as FOLDER/SIZExSIZE/apps/vendaro.png
// for each size, for the icon theme folders of the install.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QSvgRenderer svg(args.value(0));
    if (args.size() < 3 || !svg.isValid()) {
        std::fprintf(stderr, "usage: vendaro-render-icon SVG FOLDER SIZE...\n");
        return 1;
    }
    for (const QString& sizeText : args.mid(2)) {
        const int size = sizeText.toInt();
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = args[1] + QStringLiteral("/%1x%1/apps").arg(size);
        if (size <= 0 || !QDir().mkpath(folder) || !icon.save(folder + "/vendaro.png")) {
            std::fprintf(stderr, "vendaro-render-icon: cannot write %s/vendaro.png\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
