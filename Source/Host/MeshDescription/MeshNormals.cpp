#include "MeshDescription/MeshNormals.h"

#include "MeshDescription/SkeletalMeshAttributes.h"

namespace
{
/** Twice the triangle's area times its unit normal. */
FVector TriangleAreaNormal(const FMeshDescription& Description, FTriangleID Triangle,
                           const TMeshAttributesRef<FVertexID, const FVector3f>& Positions)
{
    const std::array<FVertexID, 3> Corners = Description.GetTriangleVertices(Triangle);
    const FVector A(Positions[Corners[0]]);
    const FVector B(Positions[Corners[1]]);
    const FVector C(Positions[Corners[2]]);
    return (B - A).Cross(C - A);
}
} // namespace

void RecomputeVertexInstanceNormals(FMeshDescription& Description)
{
    FSkeletalMeshAttributes Attributes(Description);
    const auto Positions = static_cast<const FSkeletalMeshAttributesShared&>(Attributes).GetVertexPositions();
    const auto Normals = Attributes.GetVertexInstanceNormals();
    const auto Tangents = Attributes.GetVertexInstanceTangents();
    if (!Positions.IsValid() || !Normals.IsValid())
    {
        return;
    }

    TArray<FVector> Sums;
    Sums.SetNum(Description.VertexInstances().GetArraySize(), FVector(0.0, 0.0, 0.0));
    for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
    {
        const FVector AreaNormal = TriangleAreaNormal(Description, Triangle, Positions);
        for (const FVertexInstanceID Instance : Description.GetTriangleVertexInstances(Triangle))
        {
            Sums[Instance.GetValue()] += AreaNormal;
        }
    }

    for (const FVertexInstanceID Instance : Description.VertexInstances().GetElementIDs())
    {
        const FVector& Sum = Sums[Instance.GetValue()];
        if (Sum.SizeSquared() <= 1e-20)
        {
            continue;
        }
        const FVector Normal = Sum.GetSafeNormal(0.0);
        Normals[Instance] = FVector3f(Normal);
        if (Tangents.IsValid())
        {
            const FVector Tangent(Tangents[Instance]);
            const FVector Projected = Tangent - Normal * Tangent.Dot(Normal);
            if (Projected.SizeSquared() > 1e-20)
            {
                Tangents[Instance] = FVector3f(Projected.GetSafeNormal(0.0));
            }
        }
    }
}
