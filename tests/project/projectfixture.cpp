#include "tests/project/projectfixture.h"

#include "core/coreobjects.h"
#include "imaging/jpegsave.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLocale>

TProjectFixture::TProjectFixture()
    : previousCache_(qgetenv("XDG_CACHE_HOME"))
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(temp_.path()));
    QLocale::setDefault(QLocale::c()); // "." in amounts, whatever the machine's language
    config.InitThumbSizes(QFont());
    formats.Add({ .id = kFormat10x15, .name = QStringLiteral("10x15"), .price = 50, .widthMm = 102, .heightMm = 152 });
    formats.Add({ .id = kFormat13x18, .name = QStringLiteral("13x18"), .price = 120, .widthMm = 127, .heightMm = 178 });
    formats.Add(
        { .id = kFormat30x45, .name = QStringLiteral("30x45"), .price = 1500, .widthMm = 305, .heightMm = 457 });
    engine.outputdpi = 300;
    engine.min_price = -1;
    engine.open_price = 0;
    engine.delivery_price = -1;
    engine.delivery_pricepre = -1;
    engine.minphotos = -1;
    project = std::make_unique<TVDImage>(TProjectSettings { &config, &formats, &engine });
    Core() = { &config, project.get(), &formats, &engine, &skinner };
}

TProjectFixture::~TProjectFixture()
{
    project.reset();
    Core() = {};
    if (previousCache_.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", previousCache_);
}

QString TProjectFixture::PhotoPath(const QString& name) const
{
    return photos_.filePath(name);
}

QString TProjectFixture::WritePhoto(const QString& name, int width, int height) const
{
    const QString path = PhotoPath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QImage picture = TestPicture(width, height);
    const QString suffix = QFileInfo(name).suffix().toLower();
    const bool ok = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? SaveJpeg(picture, path, 95)
                                                                                      : picture.save(path);
    return ok ? path : QString();
}

QImage TestPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = x * 255 / std::max(width - 1, 1);
            const int g = y * 255 / std::max(height - 1, 1);
            const int b = ((x / 7 + y / 5) % 2) * 200 + (x * y) % 56;
            row[x] = qRgb(r, g, b);
        }
    }
    return picture;
}
