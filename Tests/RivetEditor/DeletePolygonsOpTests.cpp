#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "RivetEditorLog.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshExpectations.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
const FName LogCategory = LogRivetEditor.GetCategoryName();

/** The test character: LOD 0 a 6 x 4 grid (48 triangles, 35 vertices) in three slots of two columns. */
class DeletePolygonsOpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Ops/DeleteTarget"}).Mesh;
    }

    const FMeshDescription& LOD0() const { return *Mesh->GetMeshDescription(0); }

    /** Expects a refusal: 0, and neither the mesh nor its package touched. */
    void ExpectRefused(USkeletalMesh* Target, const TArray<FTriangleID>& IDs)
    {
        const FSkeletalMeshSnapshot Before(*Mesh);
        EXPECT_EQ(DeletePolygons(Target, IDs, /*bPostEditChange=*/true), 0);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        EXPECT_FALSE(Mesh->GetPackage()->IsDirty());
    }

    USkeletalMesh* Mesh = nullptr;
    FScopedLogCapture Log;
};
} // namespace

TEST_F(DeletePolygonsOpTest, NothingOrEverythingToDeleteIsRefusedAndOnlyEverythingIsLogged)
{
    ExpectRefused(Mesh, {});
    ExpectRefused(Mesh, TriangleIDs({-1, -7, 48, 1000}));
    ExpectRefused(nullptr, TriangleIDs({0}));
    EXPECT_EQ(Log.CountLines(LogCategory), 0);

    // Every triangle, however often or with whatever else named.
    TArray<FTriangleID> Everything = AllTriangles(LOD0());
    Everything.Append(AllTriangles(LOD0()));
    Everything.Append(TriangleIDs({-1, 48, 99}));
    ExpectRefused(Mesh, Everything);
    ASSERT_EQ(Log.CountLines(LogCategory), 1);
    const FLogLine Line = Log.FindLines(LogCategory)[0];
    EXPECT_EQ(Line.Verbosity, ELogVerbosity::Warning);
    EXPECT_EQ(Line.Message, "[RivetEditor] Delete refused: all triangles are selected (48)");

    Mesh->GetMeshDescription(0)->DeleteTriangle(FTriangleID(5));
    ExpectRefused(Mesh, TriangleIDs({5, 5})); // already deleted
    Mesh->ClearMeshDescription(0);
    ExpectRefused(Mesh, TriangleIDs({0}));
    EXPECT_EQ(Log.CountLines(LogCategory), 1);
}

TEST_F(DeletePolygonsOpTest, TheSummaryCountsWhatWentEachOnceAndThePostEditChangeFlagDecidesOnRenderData)
{
    ASSERT_TRUE(Mesh->HasValidRenderData());
    FGuid Key = Mesh->GetDerivedDataKey();

    // The corner quad is the last user of the corner point (0, 0) and of its one instance. A triangle named
    // three times is deleted once.
    ASSERT_EQ(DeletePolygons(Mesh, TriangleIDs({0, 1, 1, 1}), /*bPostEditChange=*/false), 2);
    EXPECT_EQ(LOD0().Vertices().Num(), 34);
    const FLogLine Line = Log.FindLines(LogCategory).Last();
    EXPECT_EQ(Line.Verbosity, ELogVerbosity::Display);
    EXPECT_EQ(Line.Message, "[RivetEditor] Deleted: 2 triangles, 1 vertices, 1 vertex instances");
    ExpectConsistent(LOD0());
    EXPECT_NE(Mesh->GetDerivedDataKey(), Key) << "committed";
    EXPECT_FALSE(Mesh->HasValidRenderData()) << "but not post-edit-changed";
    EXPECT_EQ(Mesh->GetImportedModel()->LODModels[0].GetNumTriangles(), 46);

    Key = Mesh->GetDerivedDataKey();
    ASSERT_EQ(DeletePolygons(Mesh, TriangleIDs({3}), true), 1);
    EXPECT_NE(Mesh->GetDerivedDataKey(), Key);
    EXPECT_TRUE(Mesh->HasValidRenderData());
    EXPECT_TRUE(Mesh->GetPackage()->IsDirty());
}

TEST_F(DeletePolygonsOpTest, ASlotLeftWithoutTrianglesKeepsItsPolygonGroup)
{
    const TArray<FSkeletalMaterial> Materials = Mesh->GetMaterials();

    ASSERT_EQ(DeletePolygons(Mesh, TrianglesInGroup(LOD0(), 1), true), 16);
    EXPECT_EQ(LOD0().PolygonGroups().Num(), 3);
    EXPECT_EQ(CountTrianglesPerGroup(LOD0()), (TArray<int32>{16, 0, 16}));
    EXPECT_EQ(Mesh->GetMaterials(), Materials);
}
