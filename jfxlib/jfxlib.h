/* jfxlib: a stateless, file-based JPEG bridge with a C interface. */
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
    int32_t density;
    int32_t bitsPerPixel;
    int32_t channels;
    int32_t bufferSize;
    int32_t padBytes;
} JfxProperties;

JFX_API int JfxGetProperties(const char* path, JfxProperties* properties);
JFX_API int JfxReadImage(const char* path, void* buffer);
JFX_API int JfxWriteImage(const char* path, int width, int height, int channels, const void* pixels,
                          int density, int quality);
JFX_API uint32_t JfxImageSize(int width, int height, int channels);
JFX_API int JfxPadBytes(int width, int channels);

#ifdef __cplusplus
}
#endif

#endif
