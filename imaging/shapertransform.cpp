#include "imaging/shapertransform.h"

#include <lcms2_plugin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include <emmintrin.h>

namespace {

// One stage of the pipeline as lcms2's optimiser sees it: curves, or a 3x3 matrix with an
// optional offset (a product of two matrices has none).
struct Step {
    cmsStageSignature type;
    const cmsStage* curves = nullptr;
    cmsMAT3 matrix {};
    const cmsFloat64Number* offset = nullptr;
};

// The stages, or an empty list when one is neither curves, a 3x3 matrix nor an identity.
std::vector<Step> Steps(const cmsPipeline* pipeline)
{
    std::vector<Step> steps;
    for (const cmsStage* stage = cmsPipelineGetPtrToFirstStage(pipeline); stage != nullptr;
         stage = cmsStageNext(stage)) {
        Step step { cmsStageType(stage) };
        if (step.type == cmsSigCurveSetElemType) {
            if (static_cast<const _cmsStageToneCurvesData*>(cmsStageData(stage))->nCurves != 3)
                return {};
            step.curves = stage;
        } else if (step.type == cmsSigMatrixElemType) {
            if (cmsStageInputChannels(stage) != 3 || cmsStageOutputChannels(stage) != 3)
                return {};
            const auto* data = static_cast<const _cmsStageMatrixData*>(cmsStageData(stage));
            std::memcpy(&step.matrix, data->Double, sizeof step.matrix);
            step.offset = data->Offset;
        } else if (step.type != cmsSigIdentityElemType) {
            return {};
        }
        steps.push_back(step);
    }
    return steps;
}

bool NearIdentity(const cmsMAT3& matrix)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (!(std::fabs((i == j ? 1.0 : 0.0) - matrix.v[i].n[j]) < 0.00001f))
                return false;
    return true;
}

// Joins adjacent matrices as lcms2's pre-optimisation does: their product replaces them (none
// when it is an identity); a pair with an offset stops the walk, and the walk then reports no
// change.
bool JoinMatrices(std::vector<Step>& steps)
{
    bool joined = false;
    std::size_t i = 0;
    while (i + 1 < steps.size()) {
        if (steps[i].type != cmsSigMatrixElemType || steps[i + 1].type != cmsSigMatrixElemType) {
            ++i;
            continue;
        }
        if (steps[i].offset != nullptr || steps[i + 1].offset != nullptr)
            return false;
        Step product { cmsSigMatrixElemType };
        _cmsMAT3per(&product.matrix, &steps[i + 1].matrix, &steps[i].matrix);
        const auto first = steps.begin() + std::ptrdiff_t(i);
        steps.erase(first, first + 2);
        if (!NearIdentity(product.matrix))
            steps.insert(steps.begin() + std::ptrdiff_t(i), product);
        joined = true;
    }
    return joined;
}

void PreOptimise(std::vector<Step>& steps)
{
    bool changed = false;
    do {
        const auto identities = std::erase_if(steps, [](const Step& s) { return s.type == cmsSigIdentityElemType; });
        changed = identities > 0;
        changed |= JoinMatrices(steps);
    } while (changed);
}

using Fixed14 = std::int32_t;

// lcms2's rounding to 1.14 fixed point. A value out of the 32-bit range (a near-singular matrix
// from a made-up profile) becomes what x86-64's conversion gives lcms2 there: INT32_MIN.
Fixed14 ToFixed14(double x)
{
    const double scaled = std::floor(x * 16384.0 + 0.5);
    return scaled >= -2147483648.0 && scaled < 2147483648.0 ? Fixed14(scaled) : INT32_MIN;
}

// lcms2's rounding of a 0..65535 double to a 16-bit value (its fast floor on 16.16 fixed point).
cmsUInt16Number SaturateWord(double d)
{
    d += 0.5;
    if (d <= 0)
        return 0;
    if (d >= 65535.0)
        return 0xffff;
    const double shifted = d - 32767.0 + 68719476736.0 * 1.5;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &shifted, sizeof bits);
    return cmsUInt16Number(cmsUInt16Number(std::int32_t(std::uint32_t(bits)) >> 16) + 32767);
}

// The sum a pixel's levels come from is an int32; its level is the sum shifted right by 14
// (-131072 to 131071), then clamped to 0..16384. The output table is indexed by the level plus
// 131072 and repeats the clamped ends, so the clamp costs nothing; only its middle 16 KiB is read
// for colours inside the gamut.
constexpr std::size_t kLevels = std::size_t(1) << 18;
constexpr std::int64_t kLevelBias = std::int64_t(1) << 17;

// The tables of lcms2's matrix shaper, arranged for whole rows: product[i][v] is input channel
// i's first shaper at v times column i of the 1.14 matrix, one lane per output channel (red,
// green, blue, unused), with the offset and the rounding in channel red's entries. Summing three
// entries wraps mod 2^32 exactly as lcms2's 32-bit products and sums do. output[c] is channel c's
// second shaper by biased level.
struct ShaperTables {
    alignas(16) std::array<std::array<std::array<std::uint32_t, 4>, 256>, 3> product {};
    std::array<std::array<cmsUInt8Number, kLevels>, 3> output {};
};

void FillFirst(std::array<Fixed14, 256>& table, const cmsToneCurve* curve)
{
    for (int i = 0; i < 256; ++i) {
        const cmsFloat32Number y = cmsEvalToneCurveFloat(curve, cmsFloat32Number(i / 255.0));
        table[std::size_t(i)] = y < 131072.0 ? ToFixed14(y) : 0x7fffffff;
    }
}

// The byte lcms2 packs from its 8-bit second shaper entry, for every biased level.
void FillSecond(std::array<cmsUInt8Number, kLevels>& table, const cmsToneCurve* curve)
{
    std::array<cmsUInt8Number, 16385> clamped {};
    for (int i = 0; i < 16385; ++i) {
        cmsFloat32Number value = cmsEvalToneCurveFloat(curve, cmsFloat32Number(i / 16384.0));
        value = value < 0 ? 0 : (value > 1.0 ? 1 : value);
        const std::uint32_t word = SaturateWord(value * 65535.0);
        clamped[std::size_t(i)] = cmsUInt8Number(((word * 65281U + 8388608U) >> 24) & 0xFFU);
    }
    for (std::size_t i = 0; i < kLevels; ++i)
        table[i] = clamped[std::size_t(std::clamp<std::int64_t>(std::int64_t(i) - kLevelBias, 0, 16384))];
}

ShaperTables* Tables(
    const cmsStage* first, const cmsMAT3& matrix, const cmsFloat64Number* offset, const cmsStage* second)
{
    auto* tables = new ShaperTables;
    const auto* in = static_cast<const _cmsStageToneCurvesData*>(cmsStageData(first));
    const auto* out = static_cast<const _cmsStageToneCurvesData*>(cmsStageData(second));
    for (std::size_t i = 0; i < 3; ++i) {
        std::array<Fixed14, 256> shaped {};
        FillFirst(shaped, in->TheCurves[i]);
        FillSecond(tables->output[i], out->TheCurves[i]);
        for (std::size_t c = 0; c < 3; ++c) {
            const auto weight = std::uint32_t(ToFixed14(matrix.v[c].n[i]));
            const std::uint32_t added
                = i == 0 ? std::uint32_t(offset == nullptr ? 0 : ToFixed14(offset[c])) + 0x2000U : 0U;
            for (std::size_t v = 0; v < 256; ++v)
                tables->product[i][v][c] = weight * std::uint32_t(shaped[v]) + added;
        }
    }
    return tables;
}

// The tables when lcms2 would optimise this pipeline into its 8-bit matrix shaper, else nullptr.
ShaperTables* MatrixShaper(const cmsPipeline* pipeline)
{
    std::vector<Step> steps = Steps(pipeline);
    PreOptimise(steps);
    const auto is = [&steps](std::initializer_list<cmsStageSignature> types) {
        return std::equal(steps.begin(), steps.end(), types.begin(), types.end(),
            [](const Step& step, cmsStageSignature type) { return step.type == type; });
    };
    cmsMAT3 matrix {};
    const cmsFloat64Number* offset = nullptr;
    if (is({ cmsSigCurveSetElemType, cmsSigMatrixElemType, cmsSigMatrixElemType, cmsSigCurveSetElemType })) {
        if (steps[1].offset != nullptr)
            return nullptr;
        _cmsMAT3per(&matrix, &steps[2].matrix, &steps[1].matrix);
        offset = steps[2].offset;
    } else if (is({ cmsSigCurveSetElemType, cmsSigMatrixElemType, cmsSigCurveSetElemType })) {
        matrix = steps[1].matrix;
        offset = steps[1].offset;
    } else {
        return nullptr;
    }
    if (offset == nullptr && _cmsMAT3isIdentity(&matrix))
        return nullptr; // lcms2 joins the curves instead
    return Tables(steps.front().curves, matrix, offset, steps.back().curves);
}

// Rows of TYPE_BGR_8 (3 bytes a pixel) or TYPE_BGRA_8 (4, alpha left alone) pixels, in place or
// not: a pixel is three table vectors summed, lcms2's rounding shift (on the sum with its sign
// bit flipped, which adds the bias to the level), then the second shaper back into the row.
template <std::size_t kPixelBytes>
void TransformRows(_cmstransform_struct* transform, const void* input, void* output, cmsUInt32Number width,
    cmsUInt32Number rows, const cmsStride* stride)
{
    const auto& t = *static_cast<const ShaperTables*>(_cmsGetTransformUserData(transform));
    const auto entry = [&t](std::size_t channel, cmsUInt8Number value) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(t.product[channel][value].data()));
    };
    const __m128i signBit = _mm_set1_epi32(INT32_MIN);
    alignas(16) std::array<std::uint32_t, 4> levels {};
    for (cmsUInt32Number row = 0; row < rows; ++row) {
        const auto* in = static_cast<const cmsUInt8Number*>(input) + std::size_t(row) * stride->BytesPerLineIn;
        auto* out = static_cast<cmsUInt8Number*>(output) + std::size_t(row) * stride->BytesPerLineOut;
        for (cmsUInt32Number x = 0; x < width; ++x, in += kPixelBytes, out += kPixelBytes) {
            const __m128i sum = _mm_add_epi32(_mm_add_epi32(entry(0, in[2]), entry(1, in[1])), entry(2, in[0]));
            _mm_store_si128(reinterpret_cast<__m128i*>(levels.data()), _mm_srli_epi32(_mm_xor_si128(sum, signBit), 14));
            out[2] = t.output[0][levels[0]];
            out[1] = t.output[1][levels[1]];
            out[0] = t.output[2][levels[2]];
        }
    }
}

void FreeTables(cmsContext, void* tables)
{
    delete static_cast<ShaperTables*>(tables);
}

cmsBool Factory(_cmsTransform2Fn* transform, void** userData, _cmsFreeUserDataFn* freeUserData, cmsPipeline** pipeline,
    cmsUInt32Number* inputFormat, cmsUInt32Number* outputFormat, cmsUInt32Number* flags)
{
    constexpr cmsUInt32Number kDeclined
        = cmsFLAGS_NOOPTIMIZE | cmsFLAGS_FORCE_CLUT | cmsFLAGS_GAMUTCHECK | cmsFLAGS_NULLTRANSFORM;
    const bool bgr = *inputFormat == TYPE_BGR_8 && *outputFormat == TYPE_BGR_8;
    const bool bgra = *inputFormat == TYPE_BGRA_8 && *outputFormat == TYPE_BGRA_8;
    if ((!bgr && !bgra) || (*flags & kDeclined) != 0)
        return FALSE;
    ShaperTables* tables = MatrixShaper(*pipeline);
    if (tables == nullptr)
        return FALSE;
    *transform = bgr ? TransformRows<3> : TransformRows<4>;
    *userData = tables;
    *freeUserData = FreeTables;
    *flags |= cmsFLAGS_NOCACHE;
    return TRUE;
}

struct Context {
    cmsPluginTransform plugin { { cmsPluginMagicNumber, LCMS_VERSION, cmsPluginTransformSig, nullptr },
        { .xform = Factory } };
    cmsContext context = cmsCreateContext(&plugin, nullptr);
    ~Context() { cmsDeleteContext(context); }
};

} // namespace

cmsContext ShaperTransformContext(cmsHPROFILE source)
{
    const cmsProfileClassSignature kind = cmsGetDeviceClass(source);
    if (kind == cmsSigLinkClass || kind == cmsSigAbstractClass || kind == cmsSigNamedColorClass
        || cmsGetColorSpace(source) != cmsSigRgbData || cmsGetPCS(source) != cmsSigXYZData || !cmsIsMatrixShaper(source)
        || cmsIsTag(source, cmsSigAToB0Tag) || cmsIsTag(source, cmsSigDToB0Tag))
        return nullptr;
    static Context context;
    return context.context;
}
