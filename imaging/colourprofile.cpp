#include "imaging/colourprofile.h"

#include "imaging/parallelrows.h"
#include "imaging/shapertransform.h"

#include <lcms2.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using ProfileHandle = std::unique_ptr<void, ProfileCloser>;

struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using TransformHandle = std::unique_ptr<void, TransformDeleter>;

constexpr double kColorantTolerance = 0.001;
constexpr double kCurveTolerance = 0.5 / 255;
constexpr std::array<cmsTagSignature, 3> kColorantTags { cmsSigRedColorantTag, cmsSigGreenColorantTag,
    cmsSigBlueColorantTag };
constexpr std::array<cmsTagSignature, 3> kCurveTags { cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag };

// lcms2's sRGB profile: its colorants and its curve at the 256 input levels.
struct SrgbReference {
    std::array<cmsCIEXYZ, 3> colorants {};
    std::array<float, 256> curve {};
};

const SrgbReference& Srgb()
{
    static const SrgbReference reference = [] {
        SrgbReference built;
        const ProfileHandle srgb(cmsCreate_sRGBProfile());
        for (std::size_t i = 0; i < kColorantTags.size(); ++i)
            built.colorants[i] = *static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), kColorantTags[i]));
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), cmsSigRedTRCTag));
        for (std::size_t level = 0; level < built.curve.size(); ++level)
            built.curve[level] = cmsEvalToneCurveFloat(curve, float(level) / 255);
        return built;
    }();
    return reference;
}

bool Near(const cmsCIEXYZ& a, const cmsCIEXYZ& b)
{
    return std::abs(a.X - b.X) <= kColorantTolerance && std::abs(a.Y - b.Y) <= kColorantTolerance
        && std::abs(a.Z - b.Z) <= kColorantTolerance;
}

bool IsSrgb(cmsHPROFILE profile)
{
    if (!cmsIsMatrixShaper(profile) || cmsIsCLUT(profile, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT)
        || cmsIsTag(profile, cmsSigDToB0Tag))
        return false;
    const SrgbReference& srgb = Srgb();
    for (std::size_t i = 0; i < kColorantTags.size(); ++i) {
        const auto* colorant = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, kColorantTags[i]));
        if (colorant == nullptr || !Near(*colorant, srgb.colorants[i]))
            return false;
    }
    for (const cmsTagSignature tag : kCurveTags) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, tag));
        if (curve == nullptr)
            return false;
        for (std::size_t level = 0; level < srgb.curve.size(); ++level)
            if (std::abs(cmsEvalToneCurveFloat(curve, float(level) / 255) - srgb.curve[level]) > kCurveTolerance)
                return false;
    }
    return true;
}

// The transform from profile to sRGB for pixels of format (TYPE_BGR_8 or TYPE_BGRA_8), or the
// reason there is none.
ProfileConversion MakeTransform(const QByteArray& profile, cmsUInt32Number format, TransformHandle& transform)
{
    if (profile.isEmpty())
        return ProfileConversion::Unchanged;
    const ProfileHandle source(cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size())));
    if (!source)
        return ProfileConversion::Broken;
    if (cmsGetColorSpace(source.get()) != cmsSigRgbData || IsSrgb(source.get()))
        return ProfileConversion::Unchanged;
    const ProfileHandle srgb(cmsCreate_sRGBProfile());
    transform.reset(cmsCreateTransformTHR(ShaperTransformContext(source.get()), source.get(), format, srgb.get(),
        format, INTENT_PERCEPTUAL, cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE));
    return transform ? ProfileConversion::Converted : ProfileConversion::Broken;
}

} // namespace

ProfileConversion ConvertProfileToSrgb(QImage& picture, const QByteArray& profile)
{
    if (profile.isEmpty())
        return ProfileConversion::Broken; // lcms2 reads no profile from no bytes
    TransformHandle transform;
    const ProfileConversion result = MakeTransform(profile, TYPE_BGR_8, transform);
    if (result != ProfileConversion::Converted)
        return result;
    const int width = picture.width();
    const qsizetype stride = picture.bytesPerLine();
    uchar* const bits = picture.bits();
    ParallelRows(picture.height(), width, [&](int first, int end) {
        uchar* const rows = bits + stride * first;
        cmsDoTransformLineStride(transform.get(), rows, rows, cmsUInt32Number(width), cmsUInt32Number(end - first),
            cmsUInt32Number(stride), cmsUInt32Number(stride), 0, 0);
    });
    return ProfileConversion::Converted;
}

struct TSrgbConversion::Transform {
    TransformHandle handle;
};

TSrgbConversion::TSrgbConversion(const QByteArray& profile)
    : transform_(std::make_unique<Transform>())
{
    result_ = MakeTransform(profile, TYPE_BGRA_8, transform_->handle);
}

TSrgbConversion::~TSrgbConversion() = default;

void TSrgbConversion::ConvertRows(std::uint32_t* rows, int width, int count, std::ptrdiff_t stride) const
{
    if (result_ != ProfileConversion::Converted || count <= 0)
        return;
    const auto bytesPerLine = cmsUInt32Number(stride * 4);
    cmsDoTransformLineStride(transform_->handle.get(), rows, rows, cmsUInt32Number(width), cmsUInt32Number(count),
        bytesPerLine, bytesPerLine, 0, 0);
}
