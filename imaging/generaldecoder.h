#pragma once
// The general decoder: ImageMagick (Magick++) reads every accepted photo format that is not a
// ".BMP" and is the fallback for JPEG. Each accepted extension maps explicitly to the coder
// that reads it.
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>

// What Debian's ImageMagick policy lets the general decoder read ("16KP" a side, "128MP" in all,
// SI prefixes): the program's own decoders leave larger pictures to it, so that the same files
// fail.
inline constexpr int kGeneralDecoderMaxSide = 16000;
inline constexpr std::int64_t kGeneralDecoderMaxPixels = 128'000'000;

// The accepted photo extensions, lower case, without the dot.
const QStringList& AcceptedPhotoExtensions();

// The ImageMagick coder for an extension (any case, without the dot); empty when the extension
// is not accepted or no coder on this system reads it (emf, cel, pic, psp).
QString CoderForExtension(const QString& extension);

// Decodes the first image of the file into a 24-bit Format_BGR888 picture, converted to sRGB,
// transparent areas laid on white. HEIF and AVIF pixels come upright (libheif applies the file's
// turn and mirror), every other format's as stored (imaging/containerinfo.h). False (target
// unchanged) when the extension has no coder, the file cannot be read or is larger than the
// picture limits (imaging/picture.h). When iccProfile is given it receives the image's embedded
// ICC profile (empty without one); the pixels are not converted by it here.
bool DecodeWithGeneralDecoder(const QString& path, QImage& target, QByteArray* iccProfile = nullptr);
