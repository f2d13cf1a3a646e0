#include "PngReading.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace
{
bool Keep(stbi_uc* Pixels, int Width, int Height, FDecodedPng& Out)
{
    if (!Pixels)
    {
        return false;
    }
    Out.Width = Width;
    Out.Height = Height;
    Out.Rgb.assign(Pixels, Pixels + static_cast<size_t>(Width) * Height * 3);
    stbi_image_free(Pixels);
    return true;
}
} // namespace

uint32 FDecodedPng::Pixel(int X, int Y) const
{
    const size_t Offset = (static_cast<size_t>(Y) * Width + X) * 3;
    return (uint32(Rgb[Offset]) << 16) | (uint32(Rgb[Offset + 1]) << 8) | Rgb[Offset + 2];
}

bool DecodePngFile(const std::string& Path, FDecodedPng& Out)
{
    int Width = 0, Height = 0, Channels = 0;
    stbi_uc* Pixels = stbi_load(Path.c_str(), &Width, &Height, &Channels, 3);
    return Keep(Pixels, Width, Height, Out);
}

bool DecodePngBytes(const uint8* Bytes, int Size, FDecodedPng& Out)
{
    int Width = 0, Height = 0, Channels = 0;
    stbi_uc* Pixels = stbi_load_from_memory(Bytes, Size, &Width, &Height, &Channels, 3);
    return Keep(Pixels, Width, Height, Out);
}
