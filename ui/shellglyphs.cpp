#include "ui/shellglyphs.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// The outline colour every glyph is drawn with.
constexpr char kInk[] = "#263445";

} // namespace

// The resources live in a static library, so they are registered by hand (outside any
// namespace, as the registration function is global).
static void EnsureResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(shell);
        return true;
    }();
    Q_UNUSED(loaded);
}

QImage ShellGlyph(const QString& name, int size, const QColor& ink)
{
    EnsureResources();
    QFile file(QStringLiteral(":/glyphs/%1.svg").arg(name));
    if (size <= 0 || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    if (ink.isValid())
        svg.replace(kInk, ink.name().toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QStringList ShellGlyphNames()
{
    EnsureResources();
    QStringList names;
    for (const QString& file :
        QDir(QStringLiteral(":/glyphs")).entryList({ QStringLiteral("*.svg") }, QDir::Files, QDir::Name))
        names << file.chopped(4);
    return names;
}

const std::array<TTopBarButton, 12>& TopBarButtons()
{
    static const std::array<TTopBarButton, 12> buttons { {
        { "anewproject", "tp_newproject", "newproject" },
        { "areset", "tp_reset", "reset" },
        { "aexit", "tp_exit", "exit" },
        { "apreview", "tp_preview", "preview" },
        { "afullscreen", "tp_fullscreen", "fullscreen" },
        { "aprovider", "tp_provider", "provider" },
        { "asettings", "tp_settings", "settings" },
        { "ahistory", "tp_history", "history" },
        { "avirtual", "tp_virtual", "virtual" },
        { "atip", "tp_tip", "tip" },
        { "aabout", "tp_about", "about" },
        { "alog", "tp_log", "log" },
    } };
    return buttons;
}
