#pragma once
// Turning a photo file into pixels. Three decoders stand behind LoadPhotoBitmap: Qt's BMP reader
// for ".BMP", the JPEG bridge (jfxlib) for ".JPG" and ".JPEG", and the general decoder
// (imaging/generaldecoder.h) for everything else and for any JPEG the bridge does not read.
// The result is a 24-bit picture (Format_BGR888) that the caller copies into a 32-bit one
// (As32BitPicture, imaging/picture.h). Pixels come as the file stores them, converted to sRGB
// when the file embeds an ICC colour profile (imaging/colourprofile.h; not for ".BMP"); turning
// them upright by the TIFF/EXIF orientation is the caller's step (PreparePhoto). Nothing is kept
// between calls.
#include <QImage>
#include <QString>

#include <memory>

class TSrgbConversion;

// Result of LoadJpegThroughBridge for a JPEG the bridge decodes to other than three channels
// (four-component files): it goes to the general decoder, which knows CMYK.
inline constexpr int kBridgeNotThreeChannels = -10;

// Decodes the file into target (left unchanged on failure). ".BMP" keeps Qt's format unless
// force24 asks for 24 bits. Never throws.
bool LoadPhotoBitmap(const QString& path, QImage& target, bool force24 = false);

// 0 with target a 24-bit picture, or the negative code of JfxGetProperties / JfxReadImageChecked, or
// kBridgeNotThreeChannels.
int LoadJpegThroughBridge(const QString& path, QImage& target);

// The conversion to sRGB that LoadPhotoBitmap applies to the pixels of a JPEG file, for a
// decoder that converts its rows as they come (imaging/jpegrows.h); an embedded profile that is
// incomplete or that lcms2 cannot read is logged as LoadPhotoBitmap logs it.
std::unique_ptr<TSrgbConversion> JpegSrgbConversion(const QString& path);
