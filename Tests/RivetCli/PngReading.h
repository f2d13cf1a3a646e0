#pragma once

#include "Core/CoreTypes.h"

#include <string>
#include <vector>

/** A PNG file read back with stb_image as 8-bit RGB. */
struct FDecodedPng
{
    int Width = 0;
    int Height = 0;
    std::vector<uint8> Rgb;

    /** The pixel's channels packed as 0xRRGGBB. */
    uint32 Pixel(int X, int Y) const;
};

/** False when the file is missing or does not decode as PNG. */
bool DecodePngFile(const std::string& Path, FDecodedPng& Out);
/** Decodes PNG bytes held in memory. */
bool DecodePngBytes(const uint8* Bytes, int Size, FDecodedPng& Out);
