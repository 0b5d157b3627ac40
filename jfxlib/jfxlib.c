#include "jfxlib.h"

uint32_t JfxImageSize(int width, int height, int channels)
{
    return (uint32_t)(((width * channels + 3) & ~3) * height);
}

int JfxPadBytes(int width, int channels)
{
    return ((width * channels + 3) & ~3) - width * channels;
}
