#include "ui/pictures.h"

#include "core/log.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <map>

namespace {

struct CursorSpec {
    int slot;
    const char* name;
    QPoint hotSpot; // in the 32 x 32 drawing
};

constexpr int kCursorSize = 32;
const CursorSpec kCursors[] = {
    { 5, "handdrag", { 16, 16 } },
    { 6, "wait", { 16, 16 } },
    { 7, "zoom", { 12, 12 } },
    { 8, "zoomout", { 12, 12 } },
    { 9, "rot90", { 16, 16 } },
    { 10, "rot180", { 16, 16 } },
    { 11, "rot270", { 16, 16 } },
    { 12, "bw", { 1, 1 } },
};

std::map<int, QCursor>& CursorTable()
{
    static std::map<int, QCursor> table;
    return table;
}

// An SVG resource drawn at size on a transparent or white ground; null when it is missing.
QImage RenderSvg(const QString& path, QSize size, bool opaque)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSvgRenderer renderer(file.readAll());
    if (!renderer.isValid())
        return {};
    if (!size.isValid())
        size = renderer.defaultSize();
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return picture.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
}

} // namespace

// The resources live in a static library, so they are registered by hand (outside any
// namespace, as the registration function is global).
static void EnsureProgramResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(program);
        return true;
    }();
    Q_UNUSED(loaded);
}

QImage ProgramPicture(const QString& name)
{
    EnsureProgramResources();
    return RenderSvg(QStringLiteral(":/pictures/%1.svg").arg(name), QSize(), true);
}

void LoadCursors()
{
    EnsureProgramResources();
    for (const CursorSpec& spec : kCursors) {
        const QImage image = RenderSvg(
            QStringLiteral(":/cursors/%1.svg").arg(QLatin1String(spec.name)), QSize(kCursorSize, kCursorSize), false);
        if (image.isNull()) {
            Log(QStringLiteral("Can't make cursor !"), 3);
            continue;
        }
        CursorTable()[spec.slot] = QCursor(QPixmap::fromImage(image), spec.hotSpot.x(), spec.hotSpot.y());
    }
}

QCursor CursorForSlot(int slot)
{
    const auto it = CursorTable().find(slot);
    return it == CursorTable().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

namespace {

QImage& StoredSplash()
{
    static QImage splash;
    return splash;
}

} // namespace

void SetSplashPicture(const QImage& picture)
{
    StoredSplash() = picture;
}

QImage SplashPicture()
{
    return StoredSplash();
}
