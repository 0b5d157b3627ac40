#pragma once
// WebP photos decoded with libwebp directly, to exactly the pixels the general decoder's
// ImageMagick coder gives (it too runs libwebp's default decoding; an opaque picture reaches
// the 24-bit result unchanged). Files that coder treats otherwise are declined and stay with
// the general decoder: an alpha channel (laid on white there), an animation, an embedded ICC
// profile (which ImageMagick hands over), a side above its policy's limit.
#include <QImage>
#include <QString>

// Decodes the file into a Format_BGR888 picture (target unchanged on false). False when the file
// is declined or libwebp cannot read it.
bool DecodeWebpDirectly(const QString& path, QImage& target);
