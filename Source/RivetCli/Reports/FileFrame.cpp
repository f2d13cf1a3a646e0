#include "RivetCli/Reports/FileFrame.h"

#include <filesystem>

const char* const HostFrameDescription = "Z up, centimetres";

FBox FFileFrame::ToFile(const FBox& Host) const
{
    // The axes are only permuted with signs, so two opposite corners give the box.
    FBox File;
    if (Host.bIsValid)
    {
        File += ToFile(Host.Min);
        File += ToFile(Host.Max);
    }
    return File;
}

FFileFrame GetFileFrame(const FString& Path)
{
    const FString Extension = FString(std::filesystem::path(*Path).extension().string()).ToLower();
    if (Extension == ".fbx")
    {
        return {false, "unknown: an FBX file names its own up axis and unit"};
    }
    return {true, "Y up, metres"};
}
