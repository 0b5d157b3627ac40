#pragma once
// ICC profiles the imaging tests and benchmarks embed in photos, built with lcms2.
#include <QByteArray>

#include <lcms2.h>

#include <array>

inline constexpr cmsCIExyY kD65 { 0.3127, 0.3290, 1.0 };
inline constexpr cmsCIExyYTRIPLE kAdobePrimaries { { 0.64, 0.33, 1 }, { 0.21, 0.71, 1 }, { 0.15, 0.06, 1 } };
inline constexpr double kAdobeGamma = 563.0 / 256;

// The profile's bytes; the profile is closed.
inline QByteArray SavedProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// An RGB matrix-shaper profile with D65 white and these curves for red, green and blue (freed
// here; the same curve may stand for several channels).
inline QByteArray RgbProfile(const cmsCIExyYTRIPLE& primaries, std::array<cmsToneCurve*, 3> curves)
{
    cmsHPROFILE profile = cmsCreateRGBProfile(&kD65, &primaries, curves.data());
    for (cmsToneCurve* curve : curves)
        if (curve != curves[0])
            cmsFreeToneCurve(curve);
    cmsFreeToneCurve(curves[0]);
    return SavedProfile(profile);
}

// The same curve for the three channels.
inline QByteArray RgbProfile(const cmsCIExyYTRIPLE& primaries, cmsToneCurve* curve)
{
    return RgbProfile(primaries, { curve, curve, curve });
}

// Adobe RGB (1998) as lcms2 builds it: D65 white, gamma 563/256.
inline QByteArray AdobeRgbProfile()
{
    return RgbProfile(kAdobePrimaries, cmsBuildGamma(nullptr, kAdobeGamma));
}
