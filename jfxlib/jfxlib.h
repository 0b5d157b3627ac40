/* jfxlib: a stateless, file-based JPEG bridge with a C interface.
 *
 * Every call opens the file, creates its own codec state, releases it and closes the file
 * before returning; no set-up is needed. The one thing kept between calls is, per thread, the
 * path and properties of the last successful JfxGetProperties, which JfxReadImage checks the
 * file against. Paths are byte strings as the operating system takes them. The caller owns
 * every buffer it passes.
 *
 * Buffer layout (what JfxReadImage writes and JfxWriteImage reads): rows of
 * rowBytes = width * channels rounded up to a multiple of 4, pixels of `channels` bytes:
 *   3 channels: blue, green, red (grey files are expanded to three equal bytes);
 *   4 channels: blue, green, red, alpha.
 * JfxReadImage writes the top row first and multiplies the colour bytes of a four-channel
 * image by alpha ((c * alpha + 1) / 256, truncated). JfxWriteImage reads the bottom row first
 * (a bottom-up bitmap) and takes four-channel colours as not premultiplied.
 */
#ifndef JFXLIB_H
#define JFXLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(JFXLIB_BUILDING)
#define JFX_API __attribute__((visibility("default")))
#else
#define JFX_API
#endif

/* Seven 32-bit fields, in this order. */
typedef struct JfxProperties {
    int32_t width;
    int32_t height;
    int32_t density; /* horizontal JFIF density as stored (unit not converted); 0 without JFIF */
    int32_t bitsPerPixel; /* 8 for grey, 24 for three components, 32 for four, 8 * n otherwise */
    int32_t channels; /* bytes per pixel of the decoded buffer: 3 for grey and colour, 4, or n */
    int32_t bufferSize; /* rowBytes * height */
    int32_t padBytes; /* rowBytes - width * channels */
} JfxProperties;

/* Result codes; 0 is success everywhere. */
enum {
    JFX_OK = 0,
    JFX_ERR_INIT = -1, /* the codec state cannot be created */
    JFX_ERR_HEADER = -2, /* read: the header cannot be read (not a JPEG, unreadable, or a
                            buffer larger than 2 GiB); write: encoding or writing failed */
    JFX_ERR_RELEASE = -3, /* write: releasing the state failed (never happens with libjpeg) */
    JFX_ERR_DECODE = -4, /* read: decoding failed (corrupt or truncated data) */
    JFX_ERR_BUFFER = -5, /* write: the working buffer cannot be allocated */
    JFX_ERR_FAULT = -6, /* read: an unexpected fault (a working buffer cannot be allocated) */
    JFX_ERR_CHANGED = -7 /* read: the file does not decode to the width, height and channels
                            the caller's buffer was made for (it changed since
                            JfxGetProperties), or that size is not known; the buffer is
                            untouched */
};

/* Reads the header of a JPEG file. On this thread, the answer is also kept for JfxReadImage:
 * a success records path and properties, a failure forgets the previous record. */
JFX_API int JfxGetProperties(const char* path, JfxProperties* properties);

/* Decodes a JPEG file into buffer, which must hold the bufferSize bytes JfxGetProperties
 * reported for the same file. The file is opened again, so it may have been replaced in
 * between: the read decodes only a file of exactly the width, height, channels and bufferSize
 * that the last successful JfxGetProperties on the calling thread reported for the same path
 * (the same bytes: "a.jpg" and "./a.jpg" differ). Anything else gives -7 with the buffer
 * untouched: a changed file, and equally a read with no such answer on this thread (no
 * JfxGetProperties yet, one for another path, one that failed, or one made on another
 * thread), since the buffer's size is then unknown. A file without a readable header gives -2
 * first. A missing argument gives -2. On -1, -2 and -7 the buffer is untouched; after -4 its
 * content is undefined. */
JFX_API int JfxReadImage(const char* path, void* buffer);

/* JfxReadImage with the caller naming the properties its buffer was made for (bufferSize
 * bytes), independent of any earlier call: a file that does not decode to exactly expected's
 * width, height, channels and bufferSize gives -7 with the buffer untouched. A missing
 * argument gives -2. Codes and buffer as for JfxReadImage. */
JFX_API int JfxReadImageChecked(const char* path, void* buffer, const JfxProperties* expected);

/* Encodes a bottom-up buffer of 3 (blue, green, red; 4:2:0 subsampling) or 4 (blue, green, red,
 * alpha; written as Y, Cb, Cr, A with Y and A at full resolution) channels as a JFIF file with
 * `density` dots per inch on both axes and the given quality (1..100). Any other channel
 * count, a non-positive size or a missing argument gives -2. A file that could not be
 * completed is removed. */
JFX_API int JfxWriteImage(
    const char* path, int width, int height, int channels, const void* pixels, int density, int quality);

/* ((width * channels + 3) rounded down to a multiple of 4) * height, in unsigned 32 bits. */
JFX_API uint32_t JfxImageSize(int width, int height, int channels);

/* ((width * channels + 3) rounded down to a multiple of 4) - width * channels. */
JFX_API int JfxPadBytes(int width, int channels);

#ifdef __cplusplus
}
#endif

#endif
