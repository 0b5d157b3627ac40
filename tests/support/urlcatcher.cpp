#include "tests/support/urlcatcher.h"

#include <QDesktopServices>

TUrlCatcher::TUrlCatcher(const QStringList& schemes)
    : schemes_(schemes)
{
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "Open");
}

TUrlCatcher::~TUrlCatcher()
{
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

TUrlRefuser::TUrlRefuser(const QStringList& schemes)
    : schemes_(schemes)
{
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "NoSuchMethod");
}

TUrlRefuser::~TUrlRefuser()
{
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}
