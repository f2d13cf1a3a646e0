#include "RivetCli/Render/PngFile.h"

#include <filesystem>
#include <fstream>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace
{
void AppendBytes(void* Context, void* Data, int Size)
{
    auto& Bytes = *static_cast<TArray<uint8>*>(Context);
    const auto* First = static_cast<const uint8*>(Data);
    for (int Index = 0; Index < Size; ++Index)
    {
        Bytes.Add(First[Index]);
    }
}
} // namespace

TArray<uint8> EncodePng(const FRenderImage& Image)
{
    TArray<uint8> Bytes;
    if (Image.GetWidth() > 0 && Image.GetHeight() > 0)
    {
        stbi_write_png_to_func(&AppendBytes, &Bytes, Image.GetWidth(), Image.GetHeight(), 3,
                               Image.GetBytes().GetData(), Image.GetWidth() * 3);
    }
    return Bytes;
}

bool WritePngFile(const FRenderImage& Image, const FString& Path, FString& OutError)
{
    const TArray<uint8> Bytes = EncodePng(Image);
    if (Bytes.IsEmpty())
    {
        OutError = FString::Printf("%s: the image could not be encoded", *Path);
        return false;
    }
    const std::filesystem::path Target(*Path);
    std::filesystem::path Temporary = Target;
    Temporary += ".partial";
    {
        std::ofstream File(Temporary, std::ios::binary | std::ios::trunc);
        File.write(reinterpret_cast<const char*>(Bytes.GetData()), Bytes.Num());
        if (!File.flush())
        {
            OutError = FString::Printf("%s: cannot write the file", *Path);
            std::error_code Ignored;
            std::filesystem::remove(Temporary, Ignored);
            return false;
        }
    }
    std::error_code Error;
    std::filesystem::rename(Temporary, Target, Error);
    if (Error)
    {
        OutError = FString::Printf("%s: cannot write the file: %s", *Path, Error.message().c_str());
        std::filesystem::remove(Temporary, Error);
        return false;
    }
    return true;
}
