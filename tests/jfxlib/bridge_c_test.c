/* The JPEG bridge as a C program sees it: compiled as C against the prototypes of jfxlib.h and
 * linked to the shared library. Covers the two-argument read after JfxGetProperties, files
 * replaced between the two calls, and reads for which the calling thread has no answer. */
#include "jfxlib.h"

#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int failures;

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            fprintf(stderr, "%s:%d: %s failed\n", __FILE__, __LINE__, #condition);                                     \
            ++failures;                                                                                                \
        }                                                                                                              \
    } while (0)

#define CHECK_CODE(call, expected)                                                                                     \
    do {                                                                                                               \
        const int code_ = (call);                                                                                      \
        if (code_ != (expected)) {                                                                                     \
            fprintf(stderr, "%s:%d: %s gave %d, expected %d\n", __FILE__, __LINE__, #call, code_, (expected));         \
            ++failures;                                                                                                \
        }                                                                                                              \
    } while (0)

enum { GUARD = 64, FILL = 0x5A };

static char folder[] = "/tmp/jfxlib-c-test-XXXXXX";
static char firstPath[128], secondPath[128];

static int RowBytes(int width, int channels)
{
    return (width * channels + 3) & ~3;
}

/* Writes a bottom-up picture whose bottom row r, pixel x holds blue x * 8, green r * 8, red 200
 * (and alpha 255 for four channels). */
static int WritePicture(const char* path, int width, int height, int channels)
{
    const int rowBytes = RowBytes(width, channels);
    unsigned char* pixels = calloc((size_t)rowBytes * (size_t)height, 1);
    int r, x, result;
    if (!pixels)
        return -100;
    for (r = 0; r < height; ++r)
        for (x = 0; x < width; ++x) {
            unsigned char* p = pixels + r * rowBytes + x * channels;
            p[0] = (unsigned char)(x * 8);
            p[1] = (unsigned char)(r * 8);
            p[2] = 200;
            if (channels == 4)
                p[3] = 255;
        }
    result = JfxWriteImage(path, width, height, channels, pixels, 72, 100);
    free(pixels);
    return result;
}

static int WriteText(const char* path)
{
    FILE* file = fopen(path, "wb");
    int written;
    if (!file)
        return 0;
    written = fputs("not a JPEG at all", file) >= 0;
    return fclose(file) == 0 && written;
}

/* size bytes for the picture and GUARD bytes after it, all FILL. */
static unsigned char* NewBuffer(size_t size)
{
    unsigned char* buffer = malloc(size + GUARD);
    if (buffer)
        memset(buffer, FILL, size + GUARD);
    return buffer;
}

static int Untouched(const unsigned char* buffer, size_t size)
{
    size_t i;
    for (i = 0; i < size; ++i)
        if (buffer[i] != FILL)
            return 0;
    return 1;
}

static int Near(int value, int wanted)
{
    return abs(value - wanted) <= 6;
}

static void NormalSequence(void)
{
    const int width = 17, height = 5; /* 51 bytes a row: one pad byte */
    JfxProperties properties;
    unsigned char *buffer, *checked;
    int x, y, pixelsRight = 1;

    CHECK_CODE(WritePicture(firstPath, width, height, 3), JFX_OK);
    CHECK_CODE(JfxGetProperties(firstPath, &properties), JFX_OK);
    CHECK(properties.width == width && properties.height == height && properties.channels == 3);
    CHECK(properties.bufferSize == 52 * height && properties.padBytes == 1);
    buffer = NewBuffer((size_t)properties.bufferSize);
    checked = NewBuffer((size_t)properties.bufferSize);
    if (!buffer || !checked) {
        CHECK(!"buffers allocated");
        free(buffer);
        free(checked);
        return;
    }
    CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_OK);
    /* Top row first: decoded row y is the written row height - 1 - y. */
    for (y = 0; y < height; ++y)
        for (x = 0; x < width; ++x) {
            const unsigned char* p = buffer + y * 52 + x * 3;
            pixelsRight &= Near(p[0], x * 8) && Near(p[1], (height - 1 - y) * 8) && Near(p[2], 200);
        }
    CHECK(pixelsRight);
    CHECK(Untouched(buffer + properties.bufferSize, GUARD));
    /* The answer stays recorded: the same read again, and the checked read, give the same bytes. */
    CHECK_CODE(JfxReadImageChecked(firstPath, checked, &properties), JFX_OK);
    CHECK(memcmp(buffer, checked, (size_t)properties.bufferSize) == 0);
    memset(checked, FILL, (size_t)properties.bufferSize);
    CHECK_CODE(JfxReadImage(firstPath, checked), JFX_OK);
    CHECK(memcmp(buffer, checked, (size_t)properties.bufferSize) == 0);
    free(buffer);
    free(checked);
}

/* A file replaced after JfxGetProperties (larger, smaller, another channel count) is refused by
 * both reads without a byte written; a new JfxGetProperties then reads it. */
static void SwappedBetweenTheCalls(void)
{
    static const struct {
        int width, height, channels;
    } replacements[] = { { 33, 16, 3 }, { 16, 17, 3 }, { 8, 8, 3 }, { 16, 16, 4 } };
    size_t i;
    for (i = 0; i < sizeof replacements / sizeof replacements[0]; ++i) {
        JfxProperties properties, renewed;
        unsigned char* buffer;
        size_t size;
        CHECK_CODE(WritePicture(firstPath, 16, 16, 3), JFX_OK);
        CHECK_CODE(JfxGetProperties(firstPath, &properties), JFX_OK);
        CHECK_CODE(
            WritePicture(firstPath, replacements[i].width, replacements[i].height, replacements[i].channels), JFX_OK);
        size = (size_t)RowBytes(replacements[i].width, replacements[i].channels) * (size_t)replacements[i].height;
        buffer = NewBuffer(size); /* large enough for either, so that a wrong write shows */
        if (!buffer) {
            CHECK(!"buffer allocated");
            return;
        }
        CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_ERR_CHANGED);
        CHECK(Untouched(buffer, size + GUARD));
        CHECK_CODE(JfxReadImageChecked(firstPath, buffer, &properties), JFX_ERR_CHANGED);
        CHECK(Untouched(buffer, size + GUARD));
        CHECK_CODE(JfxGetProperties(firstPath, &renewed), JFX_OK);
        CHECK(renewed.bufferSize == (int32_t)size);
        CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_OK);
        CHECK(Untouched(buffer + size, GUARD));
        free(buffer);
    }
}

/* Reading firstPath on a thread that never asked for its properties. */
static void* ReadOnAnotherThread(void* result)
{
    unsigned char* buffer = NewBuffer(16 * 48);
    JfxProperties other;
    *(int*)result = -100;
    if (!buffer)
        return NULL;
    *(int*)result = JfxReadImage(firstPath, buffer);
    if (!Untouched(buffer, 16 * 48 + GUARD))
        *(int*)result = -101;
    /* This thread's answer for another file does not replace the main thread's. */
    if (JfxGetProperties(secondPath, &other) != JFX_OK)
        *(int*)result = -102;
    free(buffer);
    return NULL;
}

/* Without an answer from JfxGetProperties for the same path on the same thread, the size of the
 * caller's buffer is unknown: the read refuses with -7 and writes nothing. */
static void WithoutEarlierProperties(void)
{
    const size_t size = 16 * 48; /* a 16 x 16 colour picture */
    unsigned char* buffer = NewBuffer(size);
    JfxProperties properties;
    pthread_t thread;
    int threadResult = 0;
    if (!buffer) {
        CHECK(!"buffer allocated");
        return;
    }

    /* No JfxGetProperties at all yet in this process. */
    CHECK_CODE(WritePicture(firstPath, 16, 16, 3), JFX_OK);
    CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_ERR_CHANGED);
    CHECK(Untouched(buffer, size + GUARD));

    /* A file without a JPEG header is -2 whatever is recorded; so are missing arguments. */
    CHECK(WriteText(secondPath));
    CHECK_CODE(JfxReadImage(secondPath, buffer), JFX_ERR_HEADER);
    CHECK_CODE(JfxReadImage(NULL, buffer), JFX_ERR_HEADER);
    CHECK_CODE(JfxReadImage(firstPath, NULL), JFX_ERR_HEADER);
    CHECK_CODE(JfxReadImageChecked(firstPath, buffer, NULL), JFX_ERR_HEADER);
    CHECK(Untouched(buffer, size + GUARD));

    /* The answer was for another path, even one of the same size. */
    CHECK_CODE(WritePicture(secondPath, 16, 16, 3), JFX_OK);
    CHECK_CODE(JfxGetProperties(secondPath, &properties), JFX_OK);
    CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_ERR_CHANGED);
    CHECK(Untouched(buffer, size + GUARD));

    /* The answer was given on another thread; that thread's own call leaves this one's alone. */
    CHECK_CODE(JfxGetProperties(firstPath, &properties), JFX_OK);
    if (pthread_create(&thread, NULL, ReadOnAnotherThread, &threadResult) == 0) {
        pthread_join(thread, NULL);
        CHECK_CODE(threadResult, JFX_ERR_CHANGED);
    } else {
        CHECK(!"thread started");
    }
    CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_OK);
    CHECK(Untouched(buffer + size, GUARD));

    /* The last JfxGetProperties failed: the answer before it is forgotten, even though the file
     * is back with the same size. */
    CHECK(WriteText(firstPath));
    CHECK_CODE(JfxGetProperties(firstPath, &properties), JFX_ERR_HEADER);
    CHECK_CODE(WritePicture(firstPath, 16, 16, 3), JFX_OK);
    memset(buffer, FILL, size + GUARD);
    CHECK_CODE(JfxReadImage(firstPath, buffer), JFX_ERR_CHANGED);
    CHECK(Untouched(buffer, size + GUARD));
    free(buffer);
}

int main(void)
{
    if (!mkdtemp(folder)) {
        perror("mkdtemp");
        return 1;
    }
    snprintf(firstPath, sizeof firstPath, "%s/first.jpg", folder);
    snprintf(secondPath, sizeof secondPath, "%s/second.jpg", folder);

    WithoutEarlierProperties(); /* first: it needs a process that has not called the bridge */
    NormalSequence();
    SwappedBetweenTheCalls();

    remove(firstPath);
    remove(secondPath);
    rmdir(folder);
    if (failures)
        fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
