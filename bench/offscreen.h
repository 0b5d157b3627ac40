#pragma once
// The benchmarks draw nothing on a screen: Qt's offscreen platform, unless the environment
// chooses another one. Call it before the application object is made.
#include <QByteArray>
#include <QtGlobal>

inline void PreferOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
