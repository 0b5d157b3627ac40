#pragma once
// Fonts named by the window designs (Tahoma, MS Sans Serif, Lucida Console). Where the
// desktop lacks them, DejaVu takes their place.
#include <QFont>
#include <QString>

QFont DesignFont(const QString& family, int pointSize, bool bold = false);
