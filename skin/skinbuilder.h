#pragma once
// Building ".vdskin" files (the lab's make-skin and the tests). A skin's source folder holds
//   colors.txt       one "name=R,G,B" line per colour ("#" or ";" lines are comments)
//   icons/*.png      glyphs for buttons, named after the buttons they dress (byes.png)
//   images/*.png     pictures for image controls, named after them (iquestion.png)
// Pictures with see-through pixels are flattened for the 24-bit file: a pixel less than
// half opaque takes the key colour (magenta) that the controls cut out again through the
// bottom-left pixel, so that pixel must be see-through; the rest is laid over the skin's
// face colour ("color" for icons, "background" for images).
#include "skin/ffbitmap.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

struct TSkinSource {
    QString schemeName;
    QStringList colorLines; // written as a version-2 colour block
    QString iconSetName;
    bool iconsTransparent = false;
    std::vector<std::pair<QString, TFFBitmap>> icons;
    QString imageSetName;
    std::vector<std::pair<QString, TFFBitmap>> images;
};

// Reads a source folder; false with a one-line reason for anything a skin designer got wrong
// (unknown colour name, malformed colour, unreadable picture, opaque bottom-left corner).
bool ReadSkinSource(const QString& folder, TSkinSource& source, QString& error);

// Writes the skin file (through a temporary file, so a failure leaves no half-written skin).
bool WriteSkinFile(const QString& path, const TSkinSource& source, QString& error);

// Flattens a picture as described above; `face` shows through partly see-through pixels.
QImage FlattenForSkin(const QImage& picture, const QColor& face, bool& hadSeeThrough);

// The colour that marks see-through pixels in flattened pictures.
inline constexpr QRgb kSkinKeyColor = 0xFFFF00FFu;
