#include "app/qttranslations.h"

#include "core/log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

std::unique_ptr<QTranslator> InstallQtTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(
            QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        Log(QStringLiteral("Qt translations qtbase_pl not found in ") + folder, 2);
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
