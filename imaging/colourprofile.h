#pragma once
// True colours: a decoded photo that embeds an ICC profile is converted from it to sRGB with
// Little CMS 2 (perceptual intent, black-point compensation, lcms2's optimised 8-bit transform),
// its rows in parallel on one shared transform made without lcms2's one-pixel cache (the form
// lcms2 documents as safe to call from several threads; each pixel's result does not depend on
// the band it is in, so the picture is the same whatever the number of threads).
//
// A profile counts as sRGB, and the picture is left as it is, when it is an RGB matrix-shaper
// profile (no lookup table for the perceptual intent) whose three colorants are each within
// 0.001 (XYZ, as stored, adapted to D50) of lcms2's built-in sRGB profile and whose three tone
// curves stay within half an 8-bit level of the sRGB curve at each of the 256 input levels.
// Such a profile converts to sRGB as identity up to rounding, so skipping it loses nothing.
#include <QByteArray>
#include <QImage>

enum class ProfileConversion {
    Converted,
    Unchanged, // an sRGB profile, or one whose colour space is not RGB (grey, CMYK, Lab...)
    Broken, // lcms2 cannot read the profile or build a transform from it to sRGB
};

// Converts a Format_BGR888 picture in place from `profile` (the ICC profile's bytes) to sRGB;
// the picture is untouched unless the result is Converted.
ProfileConversion ConvertProfileToSrgb(QImage& picture, const QByteArray& profile);
