#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetDetachOp.h"
#include "RivetEditorLog.h"
#include "RivetMaterialSlots.h"
#include "Support/ElementIDs.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Assets/AssetTools.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

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

TArray<FString> DescribeTriangles(const USkeletalMesh& Mesh, const TArray<int32>& Triangles)
{
    TArray<FString> Descriptions;
    for (const int32 Triangle : Triangles)
    {
        Descriptions.Add(DescribeTriangle(Mesh, FTriangleID(Triangle)));
    }
    return Descriptions;
}

TArray<FString> DescribeAllTriangles(const USkeletalMesh& Mesh)
{
    return DescribeTriangles(Mesh, Values(AllTriangles(*Mesh.GetMeshDescription(0))));
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

    /** The duplicate the tool would make, as it makes it. */
    void Duplicate()
    {
        FString PackageName;
        FString AssetName;
        FAssetTools::Get().CreateUniqueAssetName(Source->GetPackage()->GetName(), "_Part", PackageName,
                                                 AssetName);
        Part = Cast<USkeletalMesh>(FAssetTools::Get().DuplicateAsset(
            AssetName, FPackageName::GetLongPackagePath(PackageName), Source));
        ASSERT_NE(Part, nullptr);
    }

    FRivetDetachResult Detach(const TArray<int32>& Triangles, bool bRemoveFromSource = true)
    {
        return DetachSelection(Source, Part, {Triangles, bRemoveFromSource, /*bPostEditChange=*/true});
    }

    int32 Triangles(const USkeletalMesh* Mesh) const { return Mesh->GetMeshDescription(0)->Triangles().Num(); }

    USkeletalMesh* Source = nullptr;
    USkeletalMesh* Part = nullptr;
    FScopedLogCapture Log;
};

struct FRefusalCase
{
    const char* Name;
    /** Sets the meshes up for the case and answers the triangle list to detach. */
    std::function<TArray<int32>(USkeletalMesh*& Source, USkeletalMesh*& Part)> Arrange;
    const char* Key;
    const char* Text;
    /** The validation alone refuses too (it cannot see the new asset). */
    bool bValidationRefuses = false;
};
} // namespace

TEST_F(DetachOpTest, EveryRefusalNamesItsCauseAndLeavesBothMeshesAsTheyWere)
{
    const auto Keep = [](TArray<int32> IDs) { return [IDs](USkeletalMesh*&, USkeletalMesh*&) { return IDs; }; };
    const FRefusalCase Cases[] = {
        {"no source", [](USkeletalMesh*& S, USkeletalMesh*&) { S = nullptr; return TArray<int32>{0}; }, "NoMesh",
         "Could not reach the skeletal mesh. Nothing was changed.", true},
        {"no LOD 0 geometry", [](USkeletalMesh*& S, USkeletalMesh*&) { S->ClearMeshDescription(0); return TArray<int32>{0}; },
         "NoMeshDescription", "The mesh has no LOD0 geometry. Nothing was changed.", true},
        {"empty list", Keep({}), "EmptySelection", "Select at least one polygon first. Nothing was changed.", true},
        {"only bad IDs", Keep({-1, 48, 1000}), "EmptySelection",
         "Select at least one polygon first. Nothing was changed.", true},
        {"every triangle twice", [](USkeletalMesh*& S, USkeletalMesh*&)
         {
             TArray<int32> All = Values(AllTriangles(*S->GetMeshDescription(0)));
             All.Append(TArray<int32>(All));
             return All;
         },
         "FullSelection", "Selecting every polygon would leave an empty mesh. Nothing was changed.", true},
        {"no new asset", [](USkeletalMesh*&, USkeletalMesh*& P) { P = nullptr; return TArray<int32>{0}; }, "NoMesh",
         "Could not reach the skeletal mesh. Nothing was changed."},
        {"the source as new asset", [](USkeletalMesh*& S, USkeletalMesh*& P) { P = S; return TArray<int32>{0}; },
         "SameMesh",
         "The source mesh and the new asset are the same object, so detaching would corrupt it. Nothing was "
         "changed."},
        {"copy without geometry", [](USkeletalMesh*&, USkeletalMesh*& P) { P->ClearMeshDescription(0); return TArray<int32>{0}; },
         "CopyNoMeshDescription",
         "The new asset has no LOD0 geometry, so nothing could be detached into it. Delete the new asset and "
         "try again."},
        {"copy with a triangle less", [](USkeletalMesh*&, USkeletalMesh*& P)
         {
             P->GetMeshDescription(0)->DeleteTriangle(FTriangleID(40));
             return TArray<int32>{0};
         },
         "CountMismatch",
         "The new asset does not match the source mesh, so nothing was detached into it. Delete the new asset "
         "and try again."},
        {"copy renumbered", [](USkeletalMesh*& S, USkeletalMesh*& P)
         {
             // The source has a hole at 0, the copy none: 47 triangles each, but the copy lacks ID 47.
             S->GetMeshDescription(0)->DeleteTriangle(FTriangleID(0));
             P->GetMeshDescription(0)->DeleteTriangle(FTriangleID(0));
             P->GetMeshDescription(0)->Compact();
             return TArray<int32>{1};
         },
         "CopyIDMismatch",
         "The new asset's geometry does not line up with the source mesh, so nothing was detached into it. "
         "Delete the new asset and try again."},
    };
    for (const FRefusalCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        Build();
        Duplicate();
        USkeletalMesh* const Original = Source;
        USkeletalMesh* const Copy = Part;
        const TArray<int32> IDs = Case.Arrange(Source, Part);
        const FSkeletalMeshSnapshot SourceBefore(*Original);
        const FSkeletalMeshSnapshot CopyBefore(*Copy);
        const int32 LinesBefore = Log.CountLines(LogCategory);

        const FRivetDetachResult Result = DetachSelection(Source, Part, {IDs, true, true});

        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.Message.GetNamespace(), "RivetDetachOp");
        EXPECT_EQ(Result.Message.GetKey(), Case.Key);
        EXPECT_EQ(Result.Message.ToString(), Case.Text);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Original) == SourceBefore);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Copy) == CopyBefore);
        EXPECT_EQ(Log.CountLines(LogCategory), LinesBefore);
        FText Message;
        EXPECT_EQ(ValidateDetach(Source, {IDs, true, true}, Message), !Case.bValidationRefuses);
        EXPECT_EQ(Message.GetKey(), Case.bValidationRefuses ? Case.Key : "");
    }
}

TEST_F(DetachOpTest, ThePartKeepsExactlyTheSelectionAndTheSourceLosesExactlyIt)
{
    Build();
    const TArray<int32> Selected = {30, 2, 17, 2, -4, 31, 99}; // one repeat, two that name nothing
    const TArray<int32> Kept = {2, 17, 30, 31};                  // what the part keeps, in ID order
    const TArray<FString> Expected = DescribeTriangles(*Source, Kept);
    TArray<int32> Rest = Values(AllTriangles(*Source->GetMeshDescription(0)));
    Rest.RemoveAll([&Kept](int32 ID) { return Kept.Contains(ID); });
    const TArray<FString> Remaining = DescribeTriangles(*Source, Rest);
    Source->SetSourceFile(NewObject<UAssetSourceFile>(Source));
    Duplicate();

    const FRivetDetachResult Result = Detach(Selected);

    ASSERT_TRUE(Result.bSuccess) << *Result.Message.ToString();
    EXPECT_TRUE(Result.Message.IsEmpty());
    EXPECT_EQ(Result.TrianglesMoved, 4);
    EXPECT_EQ(Result.TrianglesRemovedFromSource, 4);
    EXPECT_EQ(Result.LODsRemoved, 0);
    EXPECT_EQ(Result.SocketsCleared, 1);
    EXPECT_EQ(DescribeAllTriangles(*Part), Expected);
    EXPECT_EQ(DescribeAllTriangles(*Source), Remaining);
    EXPECT_EQ(Result.SlotsRemoved, 3 - Part->GetMaterials().Num());
    EXPECT_TRUE(Part->GetMeshOnlySocketList().IsEmpty());
    EXPECT_EQ(Source->GetMeshOnlySocketList().Num(), 1);
    EXPECT_EQ(Part->GetSourceFile(), nullptr) << "the part must not reimport as the source";
    EXPECT_NE(Source->GetSourceFile(), nullptr);
    EXPECT_EQ(Part->GetSkeleton(), Source->GetSkeleton());
    EXPECT_EQ(Part->GetPhysicsAsset(), Source->GetPhysicsAsset());
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] Detach: 4 triangles moved, 44 deleted from the copy");
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Verbosity, ELogVerbosity::Display);
}

TEST_F(DetachOpTest, AsACloneTheSourceStaysUntouched)
{
    Build();
    Duplicate();
    const FSkeletalMeshSnapshot Before(*Source);
    TArray<int32> AllButOne = Values(AllTriangles(*Source->GetMeshDescription(0)));
    AllButOne.Pop();

    const FRivetDetachResult Result = Detach(AllButOne, /*bRemoveFromSource=*/false);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.TrianglesRemovedFromSource, 0);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Source) == Before);
    EXPECT_EQ(Triangles(Part), 47);
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] Detach: 47 triangles moved, 1 deleted from the copy");
}

TEST_F(DetachOpTest, APartOfAFourLODMeshKeepsLOD0AndOnlyItsMorphData)
{
    Build({.PackageName = "/Game/Ops/DetachSource", .NumLODs = 4});
    ASSERT_EQ(Source->GetLODNum(), 4);
    Duplicate();

    const FRivetDetachResult Result = Detach({0, 1, 2, 3});

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.LODsRemoved, 3);
    EXPECT_EQ(Part->GetLODNum(), 1);
    EXPECT_EQ(Part->GetImportedModel()->LODModels.Num(), 1);
    EXPECT_EQ(Part->GetImportedModel()->LODModels[0].GetNumTriangles(), 4);
    ASSERT_FALSE(Part->GetMorphTargets().IsEmpty());
    for (const TObjectPtr<UMorphTarget>& Morph : Part->GetMorphTargets())
    {
        EXPECT_EQ(Morph->GetMorphLODModels().Num(), 1) << *Morph->GetMorphName().ToString();
    }
    EXPECT_EQ(Source->GetLODNum(), 4) << "the source keeps its LODs";
    for (const TObjectPtr<UMorphTarget>& Morph : Source->GetMorphTargets())
    {
        EXPECT_EQ(Morph->GetMorphLODModels().Num(), 4);
    }
}

TEST_F(DetachOpTest, APartDrawsEachTriangleWithItsMaterialThroughALOD0MaterialMap)
{
    Build();
    // Sections 0, 1, 2 (groups 0, 1, 2) draw with slots 2, 0, 1.
    Source->GetLODInfo(0)->LODMaterialMap = {2, 0, 1};
    const TArray<int32> Selected = {0, 1, 20, 21, 40, 41};
    const TArray<FString> Expected = DescribeTriangles(*Source, Selected);
    Duplicate();

    ASSERT_TRUE(Detach(Selected).bSuccess);

    EXPECT_EQ(DescribeAllTriangles(*Part), Expected);
}

TEST_F(DetachOpTest, ASlotCleanupThatCannotRunLeavesTheTrimmedPartAndSaysSo)
{
    Build({.PackageName = "/Game/Ops/DetachSource", .NumLODs = 2});
    // Group 2 draws with a slot the mesh does not have: the cleanup refuses to guess.
    Source->GetMaterials().Pop();
    Duplicate();
    const FSkeletalMeshSnapshot SourceBefore(*Source);

    const FRivetDetachResult Result = Detach({0, 47});

    EXPECT_FALSE(Result.bSuccess);
    EXPECT_EQ(Result.Message.GetKey(), "SlotCleanupFailed");
    EXPECT_TRUE(Result.Message.ToString().StartsWith(
        "The new asset was created, but its unused material slots could not be cleaned up, so it still carries "
        "the source mesh's slot bindings. Delete the new asset and try again. (This mesh has 1 geometry "
        "group(s) with no matching material slot"));
    EXPECT_EQ(Result.LODsRemoved, 1);
    EXPECT_EQ(Part->GetLODNum(), 1);
    EXPECT_EQ(Triangles(Part), 2) << "trimmed before the cleanup";
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Source) == SourceBefore) << "the source is changed last";
}
