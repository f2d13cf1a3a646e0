#include "Engine/PhysicsEngine/SkeletalBodySetup.h"

#include "Core/Logging/LogMacros.h"

#include <cmath>

VT_DEFINE_LOG_CATEGORY_STATIC(LogPhysicsAsset, Log, All);

namespace
{
/** Points closer than this to a line or plane count as lying on it. */
constexpr double FlatnessTolerance = 1.0e-4;

/** The point of Points that scores highest. */
template <typename ScoreType>
const FVector& FindHighestScoring(const TArray<FVector>& Points, ScoreType Score)
{
    int32 Best = 0;
    double BestScore = Score(Points[0]);
    for (int32 Index = 1; Index < Points.Num(); ++Index)
    {
        const double IndexScore = Score(Points[Index]);
        if (IndexScore > BestScore)
        {
            Best = Index;
            BestScore = IndexScore;
        }
    }
    return Points[Best];
}

/** True when the points do not all lie in one plane: they span a volume. */
bool SpansVolume(const TArray<FVector>& Points)
{
    if (Points.Num() < 4)
    {
        return false;
    }
    const FVector& Origin = Points[0];
    const FVector Along =
        FindHighestScoring(Points, [&](const FVector& P) { return (P - Origin).SizeSquared(); }) - Origin;
    if (Along.Size() <= FlatnessTolerance)
    {
        return false;
    }
    const FVector Direction = Along.GetSafeNormal();
    const FVector Across = FindHighestScoring(Points, [&](const FVector& P)
                                              { return (P - Origin).Cross(Direction).SizeSquared(); }) -
                           Origin;
    const FVector Normal = Direction.Cross(Across);
    if (Normal.Size() <= FlatnessTolerance)
    {
        return false;
    }
    const FVector UnitNormal = Normal.GetSafeNormal();
    const FVector Off =
        FindHighestScoring(Points, [&](const FVector& P) { return std::abs((P - Origin).Dot(UnitNormal)); });
    return std::abs((Off - Origin).Dot(UnitNormal)) > FlatnessTolerance;
}

int32 CountDistinct(TArray<FVector> Points)
{
    Points.Sort([](const FVector& A, const FVector& B)
                { return A.X != B.X ? A.X < B.X : (A.Y != B.Y ? A.Y < B.Y : A.Z < B.Z); });
    int32 Count = 0;
    for (int32 Index = 0; Index < Points.Num(); ++Index)
    {
        Count += (Index == 0 || Points[Index] != Points[Index - 1]) ? 1 : 0;
    }
    return Count;
}
} // namespace

void USkeletalBodySetup::CreatePhysicsMeshes()
{
    if (bHasCookedData)
    {
        return;
    }
    for (int32 Index = 0; Index < AggGeom.ConvexElems.Num(); ++Index)
    {
        FCookedConvexRecord Record;
        Record.ElementIndex = Index;
        if (CookConvex(AggGeom.ConvexElems[Index], Record))
        {
            CookedConvexRecords.Add(Record);
        }
        else
        {
            VT_LOG(LogPhysicsAsset, Warning,
                   "Body '%s': convex %d ('%s') encloses no volume and is not cooked", *BoneName.ToString(),
                   Index, *AggGeom.ConvexElems[Index].Name.ToString());
        }
    }
    bHasCookedData = true;
}

void USkeletalBodySetup::InvalidatePhysicsData()
{
    CookedConvexRecords.Empty();
    bHasCookedData = false;
}

void USkeletalBodySetup::PostEditChangeProperty(FPropertyChangedEvent& Event)
{
    Super::PostEditChangeProperty(Event);
    InvalidatePhysicsData();
}

bool USkeletalBodySetup::CookConvex(const FKConvexElem& Convex, FCookedConvexRecord& OutRecord)
{
    if (!SpansVolume(Convex.VertexData))
    {
        return false;
    }
    OutRecord.DistinctPointCount = CountDistinct(Convex.VertexData);
    for (const FVector& Point : Convex.VertexData)
    {
        OutRecord.BodySpaceBounds += Convex.Transform.TransformPosition(Point);
    }
    return true;
}
