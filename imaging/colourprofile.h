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

#include <cstdint>
#include <memory>

enum class ProfileConversion {
    Converted,
    Unchanged, // an sRGB profile, or one whose colour space is not RGB (grey, CMYK, Lab...)
    Broken, // lcms2 cannot read the profile or build a transform from it to sRGB
};

// Converts a Format_BGR888 picture in place from `profile` (the ICC profile's bytes) to sRGB;
// the picture is untouched unless the result is Converted.
ProfileConversion ConvertProfileToSrgb(QImage& picture, const QByteArray& profile);

// The same conversion made once for one profile and applied to 32-bit rows (Format_ARGB32
// memory: B, G, R, A) band by band as they are decoded; alpha is left alone and each pixel comes
// out as ConvertProfileToSrgb makes it.
class TSrgbConversion {
public:
    explicit TSrgbConversion(const QByteArray& profile);
    ~TSrgbConversion();
    TSrgbConversion(const TSrgbConversion&) = delete;
    TSrgbConversion& operator=(const TSrgbConversion&) = delete;

    // Converted when ConvertRows changes pixels; Unchanged (no profile, or an sRGB or non-RGB
    // one) and Broken leave them as they are.
    ProfileConversion Result() const { return result_; }
    // count rows of width pixels, stride pixels apart, in place.
    void ConvertRows(std::uint32_t* rows, int width, int count, std::ptrdiff_t stride) const;

private:
    struct Transform;
    std::unique_ptr<Transform> transform_;
    ProfileConversion result_ = ProfileConversion::Unchanged;
};
