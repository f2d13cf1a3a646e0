#include "MeshTestUtil.h"

#include "Core/Containers/String.h"
#include "GeometryCore/DynamicMesh/DynamicMeshOverlayTypes.h"

FDynamicMesh3 MakeGridMesh(int32 QuadsX, int32 QuadsY)
{
    FDynamicMesh3 Mesh;
    for (int32 Y = 0; Y <= QuadsY; ++Y)
    {
        for (int32 X = 0; X <= QuadsX; ++X)
        {
            Mesh.AppendVertex(FVector(X, Y, 0.0));
        }
    }
    for (int32 Y = 0; Y < QuadsY; ++Y)
    {
        for (int32 X = 0; X < QuadsX; ++X)
        {
            const int32 V00 = GridVertex(QuadsX, X, Y);
            const int32 V10 = GridVertex(QuadsX, X + 1, Y);
            const int32 V01 = GridVertex(QuadsX, X, Y + 1);
            const int32 V11 = GridVertex(QuadsX, X + 1, Y + 1);
            Mesh.AppendTriangle({V00, V10, V11});
            Mesh.AppendTriangle({V00, V11, V01});
        }
    }
    return Mesh;
}

void SetUVIsland(FDynamicMeshUVOverlay& UVs, const FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
{
    TArray<int32> ElementOfVertex;
    ElementOfVertex.Init(FDynamicMesh3::InvalidID, Mesh.MaxVertexID());
    for (const int32 TriangleID : TriangleIDs)
    {
        FIndex3i Elements = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            int32& Element = ElementOfVertex[Elements[Corner]];
            if (Element == FDynamicMesh3::InvalidID)
            {
                const FVector Position = Mesh.GetVertex(Elements[Corner]);
                Element = UVs.AppendElement(FVector2f(Position.X, Position.Y));
            }
            Elements[Corner] = Element;
        }
        UVs.SetTriangle(TriangleID, Elements);
    }
}

testing::AssertionResult IsValidMesh(const FDynamicMesh3& Mesh)
{
    TArray<FString> Problems;
    if (Mesh.CheckValidity(&Problems))
    {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << *FString::Join(Problems, "; ");
}
