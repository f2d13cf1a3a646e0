#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Object/ObjectDuplication.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetDetachOp.h"
#include "RivetEditorLog.h"
#include "RivetMaterialSlots.h"
#include "Support/ElementIDs.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
const FName LogCategory = LogRivetEditor.GetCategoryName();

/**
 * Everything a triangle carries, corner by corner (position, UV, normal, skin weights, morph deltas),
 * and the slot it draws with, as text to compare triangles of two meshes.
 */
FString DescribeTriangle(const USkeletalMesh& Mesh, FTriangleID Triangle)
{
    const FMeshDescription& LOD0 = *Mesh.GetMeshDescription(0);
    const FSkeletalMeshAttributesShared Attributes(LOD0);
    FString Text;
    for (const FVertexInstanceID Corner : LOD0.GetTriangleVertexInstances(Triangle))
    {
        const FVertexID Vertex = LOD0.GetVertexInstanceVertex(Corner);
        const FVector3f P = Attributes.GetVertexPositions()[Vertex];
        const FVector2f UV = Attributes.GetVertexInstanceUVs()[Corner];
        const FVector3f N = Attributes.GetVertexInstanceNormals()[Corner];
        Text += FString::Printf("(%g %g %g | %g %g | %g %g %g |", P.X, P.Y, P.Z, UV.X, UV.Y, N.X, N.Y, N.Z);
        for (const FBoneWeight& Weight : Attributes.GetVertexSkinWeights().Get(Vertex))
        {
            Text += FString::Printf(" %d:%d", Weight.BoneIndex, Weight.RawWeight);
        }
        for (const FName Morph : Attributes.GetMorphTargetNames())
        {
            const FVector3f D = Attributes.GetVertexMorphPositionDelta(Morph)[Vertex];
            Text += FString::Printf(" %s %g %g %g", *Morph.ToString(), D.X, D.Y, D.Z);
        }
        Text += ") ";
    }
    const int32 Group = LOD0.GetTrianglePolygonGroup(Triangle).GetValue();
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(&Mesh);
    const FSkeletalMaterial& Slot = Mesh.GetMaterials()[GroupToSlot.IsValidIndex(Group) ? GroupToSlot[Group] : Group];
    return Text + Slot.MaterialSlotName.ToString() + " " +
           (Slot.Material ? Slot.Material->GetName() : FString("no material"));
}

/** The triangles listed, or every triangle of LOD 0 in ID order. */
TArray<FString> DescribeTriangles(const USkeletalMesh& Mesh, TArray<int32> Triangles = {})
{
    TArray<FString> Descriptions;
    for (const int32 Triangle : Triangles.IsEmpty() ? Values(AllTriangles(*Mesh.GetMeshDescription(0))) : Triangles)
    {
        Descriptions.Add(DescribeTriangle(Mesh, FTriangleID(Triangle)));
    }
    return Descriptions;
}

/** The test character (48 triangles in three slots, a mesh socket, two morph targets) and its duplicate. */
class DetachOpTest : public testing::Test
{
protected:
    void SetUp() override { FTransactionBuffer::Get().Reset(); }

    void Build(const FTestSkeletalAssetOptions& Options = {.PackageName = "/Game/Ops/DetachSource"})
    {
        Source = BuildTestSkeletalAsset(Options).Mesh;
    }

    void Duplicate()
    {
        Part = CastChecked<USkeletalMesh>(StaticDuplicateObject(Source, GetTransientPackage(), NAME_None));
    }

    FRivetDetachResult Detach(const TArray<int32>& Triangles) { return DetachSelection(Source, Part, {Triangles}); }

    USkeletalMesh* Source = nullptr;
    USkeletalMesh* Part = nullptr;
    FScopedLogCapture Log;
};

/** A refusal: how to break the meshes for it, the triangles to detach, and the key of its message. */
struct FRefusalCase
{
    std::function<void(USkeletalMesh*& Source, USkeletalMesh*& Part)> Arrange;
    TArray<int32> IDs;
    const char* Key;
    /** The validation alone refuses too (it cannot see the new asset). */
    bool bValidationRefuses = false;
};
} // namespace

TEST_F(DetachOpTest, EveryRefusalNamesItsCauseAndLeavesBothMeshesAsTheyWere)
{
    const auto Nothing = [](USkeletalMesh*&, USkeletalMesh*&) {};
    TArray<int32> EveryTriangleTwice;
    for (int32 Triangle = 0; Triangle < 96; ++Triangle)
    {
        EveryTriangleTwice.Add(Triangle % 48);
    }
    const FRefusalCase Cases[] = {
        {[](USkeletalMesh*& S, USkeletalMesh*&) { S = nullptr; }, {0}, "NoMesh", true},
        {[](USkeletalMesh*& S, USkeletalMesh*&) { S->ClearMeshDescription(0); }, {0}, "NoMeshDescription", true},
        {Nothing, {}, "EmptySelection", true},
        {Nothing, {-1, 48, 1000}, "EmptySelection", true},
        {Nothing, EveryTriangleTwice, "FullSelection", true},
        {[](USkeletalMesh*&, USkeletalMesh*& P) { P = nullptr; }, {0}, "NoMesh"},
        {[](USkeletalMesh*& S, USkeletalMesh*& P) { P = S; }, {0}, "SameMesh"},
        {[](USkeletalMesh*&, USkeletalMesh*& P) { P->ClearMeshDescription(0); }, {0}, "CopyNoMeshDescription"},
        {[](USkeletalMesh*&, USkeletalMesh*& P) { P->GetMeshDescription(0)->DeleteTriangle(FTriangleID(40)); },
         {0}, "CountMismatch"},
        // The source has a hole at 0, the copy none: 47 triangles each, but the copy lacks ID 47.
        {[](USkeletalMesh*& S, USkeletalMesh*& P)
         {
             S->GetMeshDescription(0)->DeleteTriangle(FTriangleID(0));
             P->GetMeshDescription(0)->DeleteTriangle(FTriangleID(0));
             P->GetMeshDescription(0)->Compact();
         },
         {1}, "CopyIDMismatch"},
    };
    for (const FRefusalCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Key);
        Build();
        Duplicate();
        USkeletalMesh* const Original = Source;
        USkeletalMesh* const Copy = Part;
        Case.Arrange(Source, Part);
        const TArray<int32>& IDs = Case.IDs;
        const FSkeletalMeshSnapshot SourceBefore(*Original);
        const FSkeletalMeshSnapshot CopyBefore(*Copy);
        const int32 LinesBefore = Log.CountLines(LogCategory);

        const FRivetDetachResult Result = DetachSelection(Source, Part, {IDs, true, true});

        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.Message.GetNamespace(), "RivetDetachOp");
        EXPECT_EQ(Result.Message.GetKey(), Case.Key);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Original) == SourceBefore);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Copy) == CopyBefore);
        EXPECT_EQ(Log.CountLines(LogCategory), LinesBefore);
        FText Message;
        EXPECT_EQ(ValidateDetach(Source, {IDs, true, true}, Message), !Case.bValidationRefuses);
        EXPECT_EQ(Message.GetKey(), Case.bValidationRefuses ? Case.Key : "");
    }
}

TEST_F(DetachOpTest, ThePartKeepsExactlyTheSelectionLOD0OnlyAndTheSourceLosesExactlyIt)
{
    Build({.PackageName = "/Game/Ops/DetachSource", .NumLODs = 4});
    Source->GetLODInfo(0)->LODMaterialMap = {2, 0, 1}; // sections 0, 1, 2 draw with slots 2, 0, 1
    Source->SetSourceFile(NewObject<UAssetSourceFile>(Source));
    const TArray<int32> Selected = {30, 2, 17, 2, -4, 31, 99}; // one repeat, two that name nothing
    const TArray<int32> Kept = {2, 17, 30, 31};                  // what the part keeps, in ID order
    const TArray<FString> Expected = DescribeTriangles(*Source, Kept);
    TArray<int32> Rest = Values(AllTriangles(*Source->GetMeshDescription(0)));
    Rest.RemoveAll([&Kept](int32 ID) { return Kept.Contains(ID); });
    const TArray<FString> Remaining = DescribeTriangles(*Source, Rest);
    Duplicate();

    const FRivetDetachResult Result = Detach(Selected);

    ASSERT_TRUE(Result.bSuccess) << *Result.Message.ToString();
    EXPECT_EQ((std::array{Result.TrianglesMoved, Result.TrianglesRemovedFromSource, Result.LODsRemoved,
                          Result.SocketsCleared, Result.SlotsRemoved}),
              (std::array{4, 4, 3, 1, 3 - Part->GetMaterials().Num()}));
    EXPECT_EQ(DescribeTriangles(*Part), Expected);
    EXPECT_EQ(DescribeTriangles(*Source), Remaining);
    EXPECT_EQ(Part->GetLODNum(), 1);
    EXPECT_EQ(Part->GetImportedModel()->LODModels.Num(), 1);
    ASSERT_FALSE(Part->GetMorphTargets().IsEmpty());
    for (const TObjectPtr<UMorphTarget>& Morph : Part->GetMorphTargets())
    {
        EXPECT_EQ(Morph->GetMorphLODModels().Num(), 1) << *Morph->GetMorphName().ToString();
    }
    EXPECT_TRUE(Part->GetMeshOnlySocketList().IsEmpty());
    EXPECT_EQ(Part->GetSourceFile(), nullptr) << "the part must not reimport as the source";
    EXPECT_TRUE(Log.ContainsMessage(LogCategory, "[RivetEditor] Detach: 4 triangles moved, 44 deleted from the copy"));
}
