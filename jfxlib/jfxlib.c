#include "jfxlib.h"

#include <limits.h>
#include <setjmp.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

/* The record is the library's binary interface: seven 32-bit fields, nothing between them. */
_Static_assert(sizeof(JfxProperties) == 28, "JfxProperties is 28 bytes");
_Static_assert(offsetof(JfxProperties, width) == 0 && offsetof(JfxProperties, height) == 4
        && offsetof(JfxProperties, density) == 8 && offsetof(JfxProperties, bitsPerPixel) == 12
        && offsetof(JfxProperties, channels) == 16 && offsetof(JfxProperties, bufferSize) == 20
        && offsetof(JfxProperties, padBytes) == 24,
    "JfxProperties fields at 4-byte steps in their documented order");

/* A progressive file with more scans than this is refused: real encoders write about ten,
 * and thousands of tiny scans only serve to make decoding take minutes. */
#define JFX_MAX_SCANS 500
/* Memory libjpeg may use for its own arrays (the coefficients of a progressive file). */
#define JFX_MAX_CODEC_MEMORY (1024L * 1024L * 1024L)

/* libjpeg reports errors by calling error_exit, which must not return; ours jumps back into
 * the exported call, which then releases everything and returns its code. */
typedef struct JfxErrorManager {
    struct jpeg_error_mgr base;
    jmp_buf jump;
    int warningsAreErrors;
} JfxErrorManager;

static void JfxErrorExit(j_common_ptr info)
{
    longjmp(((JfxErrorManager*)info->err)->jump, 1);
}

static void JfxEmitMessage(j_common_ptr info, int level)
{
    JfxErrorManager* manager = (JfxErrorManager*)info->err;
    /* Level -1 is a warning about corrupt or truncated data: the bridge decodes strictly and
     * leaves such files to the program's general decoder. */
    if (level < 0 && manager->warningsAreErrors)
        longjmp(manager->jump, 1);
}

static void JfxOutputMessage(j_common_ptr info)
{
    (void)info; /* the bridge reports by its result codes only */
}

static struct jpeg_error_mgr* JfxInitErrorManager(JfxErrorManager* manager)
{
    jpeg_std_error(&manager->base);
    manager->base.error_exit = JfxErrorExit;
    manager->base.emit_message = JfxEmitMessage;
    manager->base.output_message = JfxOutputMessage;
    manager->warningsAreErrors = 0;
    return &manager->base;
}

static void JfxLimitScans(j_common_ptr info)
{
    j_decompress_ptr decoder = (j_decompress_ptr)info;
    if (decoder->input_scan_number > JFX_MAX_SCANS)
        (*info->err->error_exit)(info);
}

/* Buffer geometry of a decoded image; false when it does not fit the 32-bit fields. */
typedef struct JfxLayout {
    int32_t channels;
    int32_t bitsPerPixel;
    int32_t rowBytes;
    int32_t bufferSize;
} JfxLayout;

static int JfxComputeLayout(int width, int height, int components, JfxLayout* layout)
{
    int64_t rowBytes, size;
    layout->channels = components == 1 ? 3 : components;
    layout->bitsPerPixel = 8 * components;
    rowBytes = ((int64_t)width * layout->channels + 3) & ~(int64_t)3;
    size = rowBytes * height;
    if (width <= 0 || height <= 0 || size > INT32_MAX)
        return 0;
    layout->rowBytes = (int32_t)rowBytes;
    layout->bufferSize = (int32_t)size;
    return 1;
}

/* Opens the file, reads its header into an already created decoder and computes the buffer
 * layout. False when the file cannot be opened or its buffer would not fit the 32-bit fields;
 * a header libjpeg cannot read jumps to the caller's jump point. *file is set as soon as the
 * file is open, so that the caller can close it. */
static int JfxReadHeader(j_decompress_ptr decoder, const char* path, FILE* volatile* file, JfxLayout* layout)
{
    *file = fopen(path, "rb");
    if (!*file)
        return 0;
    jpeg_stdio_src(decoder, *file);
    jpeg_read_header(decoder, TRUE);
    return JfxComputeLayout((int)decoder->image_width, (int)decoder->image_height, decoder->num_components, layout);
}

/* Releases everything a decoding call holds and returns its result. */
static int JfxReleaseDecoder(j_decompress_ptr decoder, FILE* file, void* rowBuffer, int result)
{
    jpeg_destroy_decompress(decoder);
    if (file)
        fclose(file);
    free(rowBuffer);
    return result;
}

static uint8_t JfxClampByte(int value)
{
    return (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
}

/* Y, Cb, Cr, A samples of one row to premultiplied blue, green, red, alpha. The colour
 * conversion is the JFIF one, in 16-bit fixed point as libjpeg does it. */
static void JfxYccaRowToPremultipliedBgra(const uint8_t* in, uint8_t* out, int width)
{
    enum { SHIFT = 16, HALF = 1 << (SHIFT - 1) };
    static const int32_t crToR = 91881, cbToG = 22554, crToG = 46802, cbToB = 116130;
    int x;
    for (x = 0; x < width; ++x, in += 4, out += 4) {
        int y = in[0], cb = in[1] - 128, cr = in[2] - 128, alpha = in[3];
        int red = y + ((crToR * cr + HALF) >> SHIFT);
        int green = y + ((-cbToG * cb - crToG * cr + HALF) >> SHIFT);
        int blue = y + ((cbToB * cb + HALF) >> SHIFT);
        out[0] = (uint8_t)((JfxClampByte(blue) * alpha + 1) >> 8);
        out[1] = (uint8_t)((JfxClampByte(green) * alpha + 1) >> 8);
        out[2] = (uint8_t)((JfxClampByte(red) * alpha + 1) >> 8);
        out[3] = (uint8_t)alpha;
    }
}

/* Blue, green, red, alpha of one row to Y, Cb, Cr, A (JFIF conversion, fixed point). */
static void JfxBgraRowToYcca(const uint8_t* in, uint8_t* out, int width)
{
    enum { SHIFT = 16, HALF = 1 << (SHIFT - 1), CENTER = 128 << SHIFT };
    int x;
    for (x = 0; x < width; ++x, in += 4, out += 4) {
        int32_t blue = in[0], green = in[1], red = in[2];
        out[0] = (uint8_t)((19595 * red + 38470 * green + 7471 * blue + HALF) >> SHIFT);
        out[1] = (uint8_t)((-11059 * red - 21709 * green + 32768 * blue + CENTER + HALF - 1) >> SHIFT);
        out[2] = (uint8_t)((32768 * red - 27439 * green - 5329 * blue + CENTER + HALF - 1) >> SHIFT);
        out[3] = in[3];
    }
}

/* The last answer JfxGetProperties gave on this thread, for JfxReadImage(path, buffer), whose
 * caller made its buffer from that answer. A path that does not fit is not recorded: it could
 * not be opened either (the system refuses paths of PATH_MAX bytes and more). */
typedef struct JfxLastProperties {
    int valid;
    char path[PATH_MAX];
    JfxProperties properties;
} JfxLastProperties;

static _Thread_local JfxLastProperties jfxLastProperties;

static void JfxRecordProperties(const char* path, const JfxProperties* properties)
{
    const size_t length = strlen(path);
    jfxLastProperties.valid = length < sizeof jfxLastProperties.path;
    if (!jfxLastProperties.valid)
        return;
    memcpy(jfxLastProperties.path, path, length + 1);
    jfxLastProperties.properties = *properties;
}

/* The properties last reported on this thread for exactly this path, or NULL. */
static const JfxProperties* JfxRecordedProperties(const char* path)
{
    if (!jfxLastProperties.valid || strcmp(jfxLastProperties.path, path) != 0)
        return NULL;
    return &jfxLastProperties.properties;
}

static int JfxReadProperties(const char* path, JfxProperties* properties)
{
    struct jpeg_decompress_struct decoder;
    JfxErrorManager errors;
    FILE* volatile file = NULL;
    volatile int failure = JFX_ERR_INIT;
    JfxLayout layout;

    if (!path || !properties)
        return JFX_ERR_HEADER;
    memset(&decoder, 0, sizeof decoder);
    decoder.err = JfxInitErrorManager(&errors);
    if (setjmp(errors.jump))
        return JfxReleaseDecoder(&decoder, file, NULL, failure);
    jpeg_create_decompress(&decoder);
    failure = JFX_ERR_HEADER;
    if (!JfxReadHeader(&decoder, path, &file, &layout))
        longjmp(errors.jump, 1);

    properties->width = (int32_t)decoder.image_width;
    properties->height = (int32_t)decoder.image_height;
    properties->density = decoder.saw_JFIF_marker ? decoder.X_density : 0;
    properties->bitsPerPixel = layout.bitsPerPixel;
    properties->channels = layout.channels;
    properties->bufferSize = layout.bufferSize;
    properties->padBytes = layout.rowBytes - properties->width * layout.channels;
    return JfxReleaseDecoder(&decoder, file, NULL, JFX_OK);
}

int JfxGetProperties(const char* path, JfxProperties* properties)
{
    const int result = JfxReadProperties(path, properties);
    jfxLastProperties.valid = 0;
    if (result == JFX_OK)
        JfxRecordProperties(path, properties);
    return result;
}

/* Whether the header just read gives exactly the buffer the caller made for expected (none:
 * the caller's buffer size is unknown). */
static int JfxMatchesExpected(j_decompress_ptr decoder, const JfxLayout* layout, const JfxProperties* expected)
{
    return expected && (int32_t)decoder->image_width == expected->width
        && (int32_t)decoder->image_height == expected->height && layout->channels == expected->channels
        && layout->bufferSize == expected->bufferSize;
}

/* Decodes into a buffer made for expected; NULL expected refuses every file that has a header. */
static int JfxDecode(const char* path, void* buffer, const JfxProperties* expected)
{
    struct jpeg_decompress_struct decoder;
    struct jpeg_progress_mgr progress;
    JfxErrorManager errors;
    FILE* volatile file = NULL;
    uint8_t* volatile rowBuffer = NULL;
    volatile int failure = JFX_ERR_INIT;
    JfxLayout layout;
    uint8_t* out = (uint8_t*)buffer;

    memset(&decoder, 0, sizeof decoder);
    decoder.err = JfxInitErrorManager(&errors);
    if (setjmp(errors.jump))
        return JfxReleaseDecoder(&decoder, file, rowBuffer, failure);
    jpeg_create_decompress(&decoder);
    decoder.mem->max_memory_to_use = JFX_MAX_CODEC_MEMORY;
    memset(&progress, 0, sizeof progress);
    progress.progress_monitor = JfxLimitScans;
    decoder.progress = &progress;

    failure = JFX_ERR_HEADER;
    if (!JfxReadHeader(&decoder, path, &file, &layout))
        longjmp(errors.jump, 1);
    failure = JFX_ERR_CHANGED;
    if (!JfxMatchesExpected(&decoder, &layout, expected))
        longjmp(errors.jump, 1);

    /* Grey and colour files are converted by libjpeg straight into the caller's rows; four
     * and other component counts are delivered as stored and converted here. */
    if (decoder.num_components == 1 || decoder.num_components == 3)
        decoder.out_color_space = JCS_EXT_BGR;
    else
        decoder.out_color_space = decoder.jpeg_color_space;

    failure = JFX_ERR_DECODE;
    errors.warningsAreErrors = 1;
    jpeg_start_decompress(&decoder);
    if (decoder.output_width != decoder.image_width || decoder.output_height != decoder.image_height
        || decoder.output_components != layout.channels)
        longjmp(errors.jump, 1);

    if (decoder.num_components == 4) {
        failure = JFX_ERR_FAULT;
        rowBuffer = (uint8_t*)malloc((size_t)decoder.output_width * 4);
        if (!rowBuffer)
            longjmp(errors.jump, 1);
        failure = JFX_ERR_DECODE;
        while (decoder.output_scanline < decoder.output_height) {
            uint8_t* target = out + (size_t)decoder.output_scanline * (size_t)layout.rowBytes;
            JSAMPROW row = rowBuffer;
            jpeg_read_scanlines(&decoder, &row, 1);
            JfxYccaRowToPremultipliedBgra(rowBuffer, target, (int)decoder.output_width);
        }
    } else {
        while (decoder.output_scanline < decoder.output_height) {
            JSAMPROW rows[16];
            JDIMENSION count = 0, first = decoder.output_scanline;
            while (count < 16 && first + count < decoder.output_height) {
                rows[count] = out + (size_t)(first + count) * (size_t)layout.rowBytes;
                ++count;
            }
            jpeg_read_scanlines(&decoder, rows, count);
        }
    }
    jpeg_finish_decompress(&decoder);
    return JfxReleaseDecoder(&decoder, file, rowBuffer, JFX_OK);
}

int JfxReadImage(const char* path, void* buffer)
{
    if (!path || !buffer)
        return JFX_ERR_HEADER;
    return JfxDecode(path, buffer, JfxRecordedProperties(path));
}

int JfxReadImageChecked(const char* path, void* buffer, const JfxProperties* expected)
{
    if (!path || !buffer || !expected)
        return JFX_ERR_HEADER;
    return JfxDecode(path, buffer, expected);
}

/* Component layout of a four-channel file: Y and A at full resolution, Cb and Cr halved in
 * both directions, chrominance tables for Cb and Cr. */
static void JfxSetYccaComponents(j_compress_ptr encoder)
{
    int i;
    jpeg_set_colorspace(encoder, JCS_CMYK); /* four components stored without conversion */
    encoder->write_Adobe_marker = FALSE; /* no CMYK claim: the samples are Y, Cb, Cr, A */
    encoder->write_JFIF_header = TRUE;
    for (i = 0; i < 4; ++i) {
        jpeg_component_info* component = &encoder->comp_info[i];
        int chroma = i == 1 || i == 2;
        component->h_samp_factor = chroma ? 1 : 2;
        component->v_samp_factor = chroma ? 1 : 2;
        component->quant_tbl_no = chroma;
        component->dc_tbl_no = chroma;
        component->ac_tbl_no = chroma;
    }
}

int JfxWriteImage(const char* path, int width, int height, int channels, const void* pixels, int density, int quality)
{
    struct jpeg_compress_struct encoder;
    JfxErrorManager errors;
    FILE* volatile file = NULL;
    uint8_t* volatile rowBuffer = NULL;
    volatile int failure = JFX_ERR_INIT;
    const uint8_t* in = (const uint8_t*)pixels;
    int64_t rowBytes;

    if (!path || !pixels || width <= 0 || height <= 0 || (channels != 3 && channels != 4))
        return JFX_ERR_HEADER;
    rowBytes = ((int64_t)width * channels + 3) & ~(int64_t)3;

    memset(&encoder, 0, sizeof encoder);
    encoder.err = JfxInitErrorManager(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&encoder);
        if (file) {
            fclose(file);
            remove(path);
        }
        free(rowBuffer);
        return failure;
    }
    jpeg_create_compress(&encoder);

    failure = JFX_ERR_BUFFER;
    if (channels == 4 && !(rowBuffer = (uint8_t*)malloc((size_t)width * 4)))
        longjmp(errors.jump, 1);

    failure = JFX_ERR_HEADER;
    file = fopen(path, "wb");
    if (!file)
        longjmp(errors.jump, 1);
    jpeg_stdio_dest(&encoder, file);
    encoder.image_width = (JDIMENSION)width;
    encoder.image_height = (JDIMENSION)height;
    encoder.input_components = channels;
    encoder.in_color_space = channels == 3 ? JCS_EXT_BGR : JCS_CMYK;
    jpeg_set_defaults(&encoder); /* three channels: YCbCr, 4:2:0 */
    if (channels == 4)
        JfxSetYccaComponents(&encoder);
    encoder.density_unit = 1;
    encoder.X_density = (UINT16)density;
    encoder.Y_density = (UINT16)density;
    jpeg_set_quality(&encoder, quality, TRUE);

    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        const uint8_t* source = in + (size_t)(height - 1 - (int)encoder.next_scanline) * (size_t)rowBytes;
        JSAMPROW row = (JSAMPROW)source;
        if (channels == 4) {
            JfxBgraRowToYcca(source, rowBuffer, width);
            row = rowBuffer;
        }
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    free(rowBuffer);
    rowBuffer = NULL;
    {
        FILE* written = file;
        file = NULL;
        if (fclose(written) != 0) {
            remove(path);
            return JFX_ERR_HEADER;
        }
    }
    return JFX_OK;
}

uint32_t JfxImageSize(int width, int height, int channels)
{
    return (uint32_t)((((int64_t)width * channels + 3) & ~(int64_t)3) * height);
}

int JfxPadBytes(int width, int channels)
{
    return (int)((((int64_t)width * channels + 3) & ~(int64_t)3) - (int64_t)width * channels);
}
