#pragma once
// HEIF and AVIF photos decoded with libheif directly, to exactly the pixels the general
// decoder's ImageMagick coder gives (imaging/generaldecoder.h), without its copies: libheif
// decodes the primary image with its turn, mirror and crop applied to 8-bit YCbCr 4:2:0 planes,
// and each pixel takes ImageMagick 6's steps: the planes' samples scaled to 16 bits (chroma of
// the 2 x 2 block), its YCbCr-to-sRGB formula in double precision, the clamp and round to 16
// bits, and the scaling back to 8 bits. Files that coder would treat otherwise (more than 8 bits
// per sample, an alpha channel, sides above 16000 or more than 128 million pixels, where ImageMagick's
// policy decides) are declined and stay with the general decoder.
#include <QImage>
#include <QString>

// Decodes the file into a Format_BGR888 picture (target unchanged on false). False when the file
// is declined or libheif cannot read it.
bool DecodeHeifDirectly(const QString& path, QImage& target);
