#include "Interchange/InterchangeFileFrame.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Private/SourceFileMetadata.h"

#include <cmath>

namespace
{
const char* UnitName(double CentimetresPerUnit)
{
    struct FUnit
    {
        double Centimetres;
        const char* Name;
    };
    static constexpr FUnit Units[] = {{0.1, "millimetres"}, {1.0, "centimetres"}, {2.54, "inches"},
                                      {30.48, "feet"},      {100.0, "metres"},    {100000.0, "kilometres"}};
    // Files often keep the unit as a float.
    for (const FUnit& Unit : Units)
    {
        if (std::abs(CentimetresPerUnit - Unit.Centimetres) <= 1e-6 * Unit.Centimetres)
        {
            return Unit.Name;
        }
    }
    return nullptr;
}
} // namespace

FString FInterchangeFileFrame::Describe() const
{
    if (!bKnown)
    {
        return "unknown";
    }
    // The file axis that becomes the host's up axis is the file's up axis.
    const char* const AxisNames[3] = {"X", "Y", "Z"};
    const FString Up = FString(Sign[2] < 0.0 ? "-" : "") + AxisNames[Axis[2]] + " up";
    const char* Unit = UnitName(Scale);
    return Unit ? FString::Printf("%s, %s", *Up, Unit) : FString::Printf("%s, units of %g cm", *Up, Scale);
}

FVector FInterchangeFileFrame::ToHost(const FVector& File) const
{
    const double In[3] = {File.X, File.Y, File.Z};
    return FVector(Sign[0] * Scale * In[Axis[0]], Sign[1] * Scale * In[Axis[1]],
                   Sign[2] * Scale * In[Axis[2]]);
}

FVector FInterchangeFileFrame::ToFile(const FVector& Host) const
{
    const double In[3] = {Host.X, Host.Y, Host.Z};
    double Out[3] = {0.0, 0.0, 0.0};
    for (int32 Index = 0; Index < 3; ++Index)
    {
        Out[Axis[Index]] = In[Index] / (Sign[Index] * Scale);
    }
    return FVector(Out[0], Out[1], Out[2]);
}

FBox FInterchangeFileFrame::ToFile(const FBox& Host) const
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

FInterchangeFileFrame GetSourceFileFrame(const USkeletalMesh& Mesh)
{
    return SourceFileMetadata::ReadFrame(Mesh.GetSourceFile());
}
