#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetRemeshOp.h"
#include "RivetEditorLog.h"
#include "Support/MeshExpectations.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
const FName LogCategory = LogRivetEditor.GetCategoryName();
constexpr int32 QuadsX = 12;
constexpr int32 QuadsY = 8;

/** Everything of a triangle that a remesh of other triangles must leave alone. */
struct FTriangleFacts
{
    std::array<FVector3f, 3> Positions;
    std::array<FVector2f, 3> UVs;
    std::array<FVector3f, 3> Normals;
    std::array<FVector4f, 3> Colors;
    std::array<std::vector<FBoneWeight>, 3> Weights;
    std::array<FVector3f, 3> SmileDeltas;
    FName SlotName;

    bool operator==(const FTriangleFacts&) const = default;
};

FTriangleFacts DescribeTriangle(const FMeshDescription& Mesh, FTriangleID Triangle)
{
    const FSkeletalMeshAttributesShared Attributes(Mesh);
    FTriangleFacts Facts;
    const std::array<FVertexInstanceID, 3>& Corners = Mesh.GetTriangleVertexInstances(Triangle);
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const FVertexID Vertex = Mesh.GetVertexInstanceVertex(Corners[Corner]);
        Facts.Positions[Corner] = Attributes.GetVertexPositions()[Vertex];
        Facts.UVs[Corner] = Attributes.GetVertexInstanceUVs()[Corners[Corner]];
        Facts.Normals[Corner] = Attributes.GetVertexInstanceNormals()[Corners[Corner]];
        Facts.Colors[Corner] = Attributes.GetVertexInstanceColors()[Corners[Corner]];
        const std::span<const FBoneWeight> Weights = Attributes.GetVertexSkinWeights().Get(Vertex);
        Facts.Weights[Corner].assign(Weights.begin(), Weights.end());
        Facts.SmileDeltas[Corner] = Attributes.GetVertexMorphPositionDelta("Smile")[Vertex];
    }
    Facts.SlotName = Attributes.GetPolygonGroupMaterialSlotNames()[Mesh.GetTrianglePolygonGroup(Triangle)];
    return Facts;
}

/** A triangle's corner positions, which an untouched triangle keeps bit for bit. */
FString CornerKey(const FTriangleFacts& Facts)
{
    const std::array<FVector3f, 3>& P = Facts.Positions;
    return FString::Printf("%a %a %a %a %a %a %a %a %a", P[0].X, P[0].Y, P[0].Z, P[1].X, P[1].Y, P[1].Z, P[2].X,
                           P[2].Y, P[2].Z);
}

/** The test character on a 12 x 8 grid (192 triangles), slots of four columns, without normal morphs. */
class RemeshOpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Mesh = MakeCharacter();
    }

    static USkeletalMesh* MakeCharacter()
    {
        return BuildTestSkeletalAsset(
                   {.PackageName = "/Game/Ops/RemeshTarget", .QuadsX = QuadsX, .QuadsY = QuadsY, .bMorphNormals = false})
            .Mesh;
    }

    const FMeshDescription& LOD0() const { return *Mesh->GetMeshDescription(0); }

    /** The LOD 0 triangles of the quads X0 <= x < X1, Y0 <= y < Y1. */
    static TArray<int32> Quads(int32 X0, int32 X1, int32 Y0, int32 Y1)
    {
        TArray<int32> Triangles;
        for (int32 Y = Y0; Y < Y1; ++Y)
        {
            for (int32 X = X0; X < X1; ++X)
            {
                Triangles.Add(2 * (Y * QuadsX + X));
                Triangles.Add(2 * (Y * QuadsX + X) + 1);
            }
        }
        return Triangles;
    }

    FRivetRemeshResult Remesh(TArray<int32> Triangles, double Density, int32 Iterations = 4)
    {
        return RemeshSelection(Mesh, {std::move(Triangles), Density, Iterations, /*bPostEditChange=*/true});
    }

    /** Expects a refusal with that key and text, and neither the mesh nor its package touched. */
    FRivetRemeshResult ExpectRefused(USkeletalMesh* Target, const FRivetRemeshParams& Params, const char* Key,
                                     const char* Text)
    {
        const FSkeletalMeshSnapshot Before(*Mesh);
        const FRivetRemeshResult Result = RemeshSelection(Target, Params);
        EXPECT_FALSE(Result.bSuccess) << Key;
        EXPECT_EQ(Result.Message.GetNamespace(), "RivetRemeshOp");
        EXPECT_EQ(Result.Message.GetKey(), Key);
        EXPECT_EQ(Result.Message.ToString(), Text);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before) << Key;
        EXPECT_FALSE(Mesh->GetPackage()->IsDirty()) << Key;
        EXPECT_EQ(Log.CountLines(LogCategory), 0) << Key;
        return Result;
    }

    USkeletalMesh* Mesh = nullptr;
    FScopedLogCapture Log;
};
} // namespace

TEST_F(RemeshOpTest, RefusalsLeaveTheAssetAsItWas)
{
    const char* const Empty = "Select at least one polygon first. Nothing was changed.";
    ExpectRefused(nullptr, {{0}}, "NoMesh", "Could not reach the skeletal mesh. Nothing was changed.");
    EXPECT_EQ(ExpectRefused(Mesh, {}, "EmptySelection", Empty).TrianglesBefore, 192);
    ExpectRefused(Mesh, {{-1, 192, 5000}}, "EmptySelection", Empty);

    // A tenth of the edge length asks for about a hundred times the region's triangles.
    FRivetRemeshParams Dense{.TriangleIDs = {}, .Density = 0.1, .MaxTrianglesAfter = 1000};
    for (int32 Triangle = 0; Triangle < 192; ++Triangle)
    {
        Dense.TriangleIDs.Add(Triangle);
    }
    ExpectRefused(Mesh, Dense, "TooManyTriangles",
                  "The remeshed mesh would have about 17,117 triangles, more than the 1,000 a remesh may make. "
                  "Nothing was changed. Raise Density or select fewer polygons.");

    // Zero-area triangles whose corners coincide have nothing to measure.
    FMeshDescription& Description = *Mesh->GetMeshDescription(0);
    for (const FVertexID Vertex : Description.GetTriangleVertices(FTriangleID(0)))
    {
        FSkeletalMeshAttributes(Description).GetVertexPositions()[Vertex] = FVector3f(0.5f, 0.5f, 0.0f);
    }
    const FRivetRemeshResult Degenerate =
        ExpectRefused(Mesh, {{0, 0}, 2.0, 3}, "DegenerateSelection",
                      "The selected polygons have no measurable size. Nothing was changed.");
    EXPECT_EQ(Degenerate.AverageEdgeLength, 0.0);
    EXPECT_EQ(Degenerate.TargetEdgeLength, 0.0);

    Mesh->ClearMeshDescription(0);
    ExpectRefused(Mesh, {{0}}, "NoMeshDescription", "The mesh has no LOD0 geometry. Nothing was changed.");

    // Frown's normal deltas would be lost on the whole mesh, whatever the region.
    Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Ops/RemeshFrown"}).Mesh;
    ExpectRefused(Mesh, {{0, 1}}, "MorphNormalsWouldBeLost",
                  "This mesh has morph targets that carry normal deltas, and remeshing would discard them for "
                  "every morph on the mesh - not just the selected polygons. The operation was not performed "
                  "and nothing was changed.");
}

TEST_F(RemeshOpTest, DensityAndPassesAreClamped)
{
    const TArray<int32> Region = Quads(1, 3, 1, 3);
    struct FCase { double Density; int32 Iterations; double TargetFactor; int32 Passes; };
    for (const FCase Case : {FCase{1.0, 1, 1.0, 1}, FCase{50.0, 0, 10.0, 1}, FCase{0.01, -4, 0.1, 1},
                             FCase{2.0, 200, 2.0, 50}})
    {
        const FRivetRemeshResult Result = Remesh(Region, Case.Density, Case.Iterations);
        ASSERT_TRUE(Result.bSuccess) << Result.Message.ToString();
        // Each quad's triangles have two unit edges and a diagonal.
        EXPECT_NEAR(Result.AverageEdgeLength, (2.0 + std::sqrt(2.0)) / 3.0, 1e-6);
        EXPECT_DOUBLE_EQ(Result.TargetEdgeLength, Case.TargetFactor * Result.AverageEdgeLength);
        EXPECT_EQ(Result.Passes, Case.Passes);
        Mesh = MakeCharacter();
    }
}

TEST_F(RemeshOpTest, TheRegionIsRemeshedAndEverythingElseKept)
{
    // Slot 1 between rows 1 and 6: its middle column is a UV seam; rows 7 and 8 also follow the head.
    const TArray<int32> Region = Quads(4, 8, 1, 6);
    std::map<std::string, FTriangleFacts> Outside;
    for (const FTriangleID Triangle : LOD0().Triangles().GetElementIDs())
    {
        if (!Region.Contains(Triangle.GetValue()))
        {
            const FTriangleFacts Facts = DescribeTriangle(LOD0(), Triangle);
            Outside.emplace(*CornerKey(Facts), Facts);
        }
    }
    const TArray<FName> SlotNames = {"Slot_0", "Slot_1", "Slot_2"};

    TArray<int32> Named = Region;
    Named.Append({Region[0], Region[3], -2});
    const FRivetRemeshResult Result = Remesh(Named, 0.5, 10);

    ASSERT_TRUE(Result.bSuccess) << Result.Message.ToString();
    EXPECT_TRUE(Result.Message.IsEmpty());
    EXPECT_EQ(Result.TrianglesBefore, 192);
    EXPECT_EQ(Result.TrianglesAfter, LOD0().Triangles().Num());
    EXPECT_GT(Result.TrianglesAfter, 192 + 40);
    EXPECT_EQ(Result.Passes, 10);
    ASSERT_EQ(Log.CountLines(LogCategory), 1);
    const FLogLine Line = Log.FindLines(LogCategory)[0];
    EXPECT_EQ(Line.Verbosity, ELogVerbosity::Display);
    EXPECT_EQ(Line.Message, FString::Printf("[RivetEditor] Remesh: 192 -> %d triangles, average edge 1.138 -> "
                                            "target 0.569, 10 passes",
                                            Result.TrianglesAfter));
    ExpectConsistent(LOD0());
    EXPECT_TRUE(Mesh->GetPackage()->IsDirty());
    EXPECT_TRUE(Mesh->HasValidRenderData());

    const FSkeletalMeshAttributesShared Attributes(LOD0());
    std::map<std::pair<float, float>, std::set<std::pair<float, float>>> UVsAt;
    int32 Kept = 0;
    for (const FTriangleID Triangle : LOD0().Triangles().GetElementIDs())
    {
        const FTriangleFacts Facts = DescribeTriangle(LOD0(), Triangle);
        const auto Found = Outside.find(*CornerKey(Facts));
        if (Found != Outside.end())
        {
            EXPECT_TRUE(Found->second == Facts) << "outside triangle at " << Facts.Positions[0].X << ", "
                                                << Facts.Positions[0].Y;
            ++Kept;
            continue;
        }
        // A triangle of the new region: flat, inside the region, in slot 1, with attributes blended from
        // the region's own: U from 4/12 to 8/12 (the seam column's right side reads 1), Smile 0.4 to 0.8.
        EXPECT_EQ(Facts.SlotName, FName("Slot_1"));
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const FVector3f& Position = Facts.Positions[Corner];
            EXPECT_EQ(Position.Z, 0.0f);
            EXPECT_TRUE(Position.X >= 4.0f && Position.X <= 8.0f && Position.Y >= 1.0f && Position.Y <= 6.0f);
            EXPECT_TRUE(Facts.UVs[Corner].X >= 4.0f / 12.0f - 1e-5f && Facts.UVs[Corner].X <= 1.0f + 1e-5f);
            EXPECT_NEAR(Facts.UVs[Corner].Y, 3.5f / 8.0f, 2.5f / 8.0f + 1e-5f);
            EXPECT_NEAR(Facts.SmileDeltas[Corner].Z, 0.6f, 0.2f + 1e-5f);
            int32 Sum = 0;
            for (const FBoneWeight& Weight : Facts.Weights[Corner])
            {
                Sum += Weight.RawWeight;
            }
            EXPECT_EQ(Sum, FBoneWeight::MaxRawWeight);
            UVsAt[{Position.X, Position.Y}].insert({Facts.UVs[Corner].X, Facts.UVs[Corner].Y});
        }
    }
    // UVs stay continuous: one per vertex, except on the seam column, which keeps its two.
    for (const auto& [Position, UVs] : UVsAt)
    {
        EXPECT_EQ(UVs.size(), Position.first == 6.0f ? 2u : 1u)
            << Position.first << ", " << Position.second;
    }
    EXPECT_EQ(Kept, static_cast<int32>(Outside.size())) << "every outside triangle is still there";
    EXPECT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{"Smile"});
    TArray<FName> NamesAfter;
    for (const FPolygonGroupID Group : LOD0().PolygonGroups().GetElementIDs())
    {
        NamesAfter.Add(Attributes.GetPolygonGroupMaterialSlotNames()[Group]);
    }
    EXPECT_EQ(NamesAfter, SlotNames);
}

// That one undo restores the mesh is the tool's test.
TEST_F(RemeshOpTest, ARegionBoundToOneBoneStaysBoundToIt)
{
    FMeshDescription& Description = *Mesh->GetMeshDescription(0);
    const FBoneWeight Spine{1, FBoneWeight::MaxRawWeight};
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        FSkeletalMeshAttributes(Description).GetVertexSkinWeights().Set(Vertex, std::span(&Spine, 1));
    }
    ASSERT_TRUE(Remesh(Quads(0, 4, 0, 8), 0.4).bSuccess); // along the mesh's open border
    const FSkeletalMeshAttributesShared Attributes(LOD0());
    for (const FVertexID Vertex : LOD0().Vertices().GetElementIDs())
    {
        const std::span<const FBoneWeight> Weights = Attributes.GetVertexSkinWeights().Get(Vertex);
        ASSERT_EQ(Weights.size(), 1u);
        EXPECT_EQ(Weights[0], Spine);
    }
}
