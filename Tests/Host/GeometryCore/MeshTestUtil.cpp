#include "MeshTestUtil.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

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
    SetElementsPerVertex(UVs, Mesh, TriangleIDs,
                         [&Mesh](int32 VertexID)
                         {
                             const FVector Position = Mesh.GetVertex(VertexID);
                             return FVector2f(Position.X, Position.Y);
                         });
}

FDynamicMesh3 MakeAttributedGridMesh(int32 QuadsX, int32 QuadsY)
{
    FDynamicMesh3 Mesh = MakeGridMesh(QuadsX, QuadsY);
    Mesh.EnableAttributes();
    FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    const TArray<int32> All = Collect(Mesh.TriangleIndices());
    SetUVIsland(*Attributes.GetUVLayer(0), Mesh,
                All.FilterByPredicate([QuadsX](int32 ID) { return ID / 2 % QuadsX == 0; }));
    SetUVIsland(*Attributes.GetUVLayer(0), Mesh,
                All.FilterByPredicate([QuadsX](int32 ID) { return ID / 2 % QuadsX != 0; }));
    SetSharedElements(*Attributes.PrimaryNormals(), Mesh, FVector3f(0.0f, 0.0f, 1.0f));
    Attributes.EnableTangents();
    SetSharedElements(*Attributes.PrimaryTangents(), Mesh, FVector4f(1.0f, 0.0f, 0.0f, 1.0f));
    Attributes.EnablePrimaryColors();
    SetSharedElements(*Attributes.PrimaryColors(), Mesh, FVector4f(0.5f, 0.5f, 0.5f, 1.0f));
    Attributes.EnableMaterialID();
    Attributes.GetMaterialID()->SetValue(0, 2);
    FDynamicMeshVertexSkinWeightsAttribute& Skin = *Attributes.AttachSkinWeightsAttribute();
    FDynamicMeshVertexSkinWeightsAttribute& Cloth = *Attributes.AttachSkinWeightsAttribute("Cloth");
    FDynamicMeshMorphTargetAttribute& Smile = *Attributes.AttachMorphTargetAttribute("Smile");
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        const uint16 Bone = static_cast<uint16>(VertexID);
        const FBoneWeight TwoInfluences[] = {{Bone, 40000}, {static_cast<uint16>(Bone + 1), 25535}};
        const FBoneWeight OneInfluence[] = {{Bone, FBoneWeight::MaxRawWeight}};
        Skin.SetValue(VertexID, TwoInfluences);
        Cloth.SetValue(VertexID, OneInfluence);
        Smile.SetValue(VertexID, FVector3f(static_cast<float>(VertexID), 1.0f, 2.0f));
    }
    return Mesh;
}

TArray<int32> SortedVtxTriangles(const FDynamicMesh3& Mesh, int32 VertexID)
{
    TArray<int32> Triangles;
    Mesh.GetVtxTriangles(VertexID, Triangles);
    Triangles.Sort();
    return Triangles;
}

testing::AssertionResult HasNormalisedWeights(const FDynamicMesh3& Mesh, FName Profile)
{
    const FDynamicMeshVertexSkinWeightsAttribute& Skin = *Mesh.Attributes()->GetSkinWeightsAttribute(Profile);
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        int32 Sum = 0;
        for (const FBoneWeight& Weight : Skin.GetValue(VertexID))
        {
            Sum += Weight.RawWeight;
        }
        if (Sum != FBoneWeight::MaxRawWeight ||
            static_cast<int32>(Skin.GetValue(VertexID).size()) > Skin.GetMaxInfluences())
        {
            return testing::AssertionFailure() << "vertex " << VertexID << " weighs " << Sum;
        }
    }
    return testing::AssertionSuccess();
}
