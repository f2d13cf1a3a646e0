#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

namespace
{
/**
 * A plain list of triangles that works out by brute force what the dynamic mesh should do with each
 * edit, so that random edits can be compared with it.
 */
class FReferenceMesh
{
public:
    int32 AppendVertex()
    {
        const int32 VertexID = FreeVertices.IsEmpty() ? VertexCounts.Add(0) : FreeVertices.Pop();
        VertexCounts[VertexID] = 1;
        return VertexID;
    }

    bool IsVertex(int32 VertexID) const
    {
        return VertexCounts.IsValidIndex(VertexID) && VertexCounts[VertexID] > 0;
    }

    /** The result AppendTriangle must give, and the triangle recorded when it is an ID. */
    int32 AppendTriangle(const FIndex3i& Tri)
    {
        if (!IsVertex(Tri.A) || !IsVertex(Tri.B) || !IsVertex(Tri.C) || Tri.A == Tri.B || Tri.B == Tri.C ||
            Tri.C == Tri.A)
        {
            return FDynamicMesh3::InvalidTriangleVerticesID;
        }
        if (FindRotationOf(Tri) != FDynamicMesh3::InvalidID)
        {
            return FDynamicMesh3::DuplicateTriangleID;
        }
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            if (EdgeTriangles(Tri[Corner], Tri[(Corner + 1) % 3]).Num() >= 2)
            {
                return FDynamicMesh3::NonManifoldID;
            }
        }
        const int32 TriangleID = FreeTriangles.IsEmpty() ? Triangles.Add(Tri) : FreeTriangles.Pop();
        Triangles[TriangleID] = Tri;
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            ++VertexCounts[Tri[Corner]];
        }
        return TriangleID;
    }

    void RemoveTriangle(int32 TriangleID, bool bRemoveIsolatedVertices)
    {
        const FIndex3i Tri = Triangles[TriangleID];
        Triangles[TriangleID] = FIndex3i();
        FreeTriangles.Add(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            if (--VertexCounts[Tri[Corner]] == 1 && bRemoveIsolatedVertices)
            {
                VertexCounts[Tri[Corner]] = 0;
                FreeVertices.Add(Tri[Corner]);
            }
        }
    }

    /** The result ReverseTriOrientation must give, and the reversal recorded when it is true. */
    bool ReverseTriangle(int32 TriangleID)
    {
        const FIndex3i Tri = Triangles[TriangleID];
        const FIndex3i Reversed{Tri.A, Tri.C, Tri.B};
        if (FindRotationOf(Reversed) != FDynamicMesh3::InvalidID)
        {
            return false;
        }
        Triangles[TriangleID] = Reversed;
        return true;
    }

    /** The result SplitVertex must give, and the split recorded when it is a vertex. */
    int32 SplitVertex(int32 VertexID, const TArray<int32>& Moving)
    {
        const TArray<int32> Around = IsVertex(VertexID) ? VertexTriangles(VertexID) : TArray<int32>();
        TArray<int32> Distinct;
        for (const int32 TriangleID : Moving)
        {
            Distinct.AddUnique(TriangleID);
        }
        const bool bAllAround =
            !Moving.ContainsByPredicate([&Around](int32 ID) { return !Around.Contains(ID); });
        if (Moving.IsEmpty() || Distinct.Num() != Moving.Num() || !bAllAround || Moving.Num() == Around.Num())
        {
            return FDynamicMesh3::InvalidID;
        }
        const int32 NewVertexID = AppendVertex();
        for (const int32 TriangleID : Moving)
        {
            FIndex3i& Tri = Triangles[TriangleID];
            Tri[Tri.IndexOf(VertexID)] = NewVertexID;
            --VertexCounts[VertexID];
            ++VertexCounts[NewVertexID];
        }
        return NewVertexID;
    }

    bool IsTriangle(int32 TriangleID) const
    {
        return Triangles.IsValidIndex(TriangleID) && Triangles[TriangleID].A != FDynamicMesh3::InvalidID;
    }

    /** The live triangle with the same corners in the same cyclic order, or InvalidID. */
    int32 FindRotationOf(const FIndex3i& Tri) const
    {
        for (int32 TriangleID = 0; TriangleID < Triangles.Num(); ++TriangleID)
        {
            if (IsTriangle(TriangleID) && Triangles[TriangleID].IsRotationOf(Tri))
            {
                return TriangleID;
            }
        }
        return FDynamicMesh3::InvalidID;
    }

    /** The live triangles that have both vertices, in ascending order. */
    TArray<int32> EdgeTriangles(int32 VertexA, int32 VertexB) const
    {
        TArray<int32> Found;
        for (int32 TriangleID = 0; TriangleID < Triangles.Num(); ++TriangleID)
        {
            if (IsTriangle(TriangleID) && Triangles[TriangleID].Contains(VertexA) &&
                Triangles[TriangleID].Contains(VertexB))
            {
                Found.Add(TriangleID);
            }
        }
        return Found;
    }

    TArray<int32> VertexTriangles(int32 VertexID) const { return EdgeTriangles(VertexID, VertexID); }

    int32 NumEdges() const
    {
        TArray<int64> Keys;
        for (int32 TriangleID = 0; TriangleID < Triangles.Num(); ++TriangleID)
        {
            for (int32 Corner = 0; IsTriangle(TriangleID) && Corner < 3; ++Corner)
            {
                const int32 VertexA = Triangles[TriangleID][Corner];
                const int32 VertexB = Triangles[TriangleID][(Corner + 1) % 3];
                Keys.AddUnique(int64(std::min(VertexA, VertexB)) << 32 | std::max(VertexA, VertexB));
            }
        }
        return Keys.Num();
    }

    TArray<int32> VertexCounts;
    TArray<int32> FreeVertices;
    TArray<FIndex3i> Triangles;
    TArray<int32> FreeTriangles;
};

/** Random numbers the same on every platform: the engine is fixed and the reduction is ours. */
struct FRandom
{
    std::mt19937 Engine;
    int32 Below(int32 Bound) { return static_cast<int32>(Engine() % static_cast<uint32>(Bound)); }
};

testing::AssertionResult MatchesReference(const FDynamicMesh3& Mesh, const FReferenceMesh& Reference)
{
    if (Mesh.MaxVertexID() != Reference.VertexCounts.Num() ||
        Mesh.MaxTriangleID() != Reference.Triangles.Num())
    {
        return testing::AssertionFailure() << "ID ranges differ";
    }
    for (int32 VertexID = 0; VertexID < Mesh.MaxVertexID(); ++VertexID)
    {
        if (Mesh.IsVertex(VertexID) != Reference.IsVertex(VertexID))
        {
            return testing::AssertionFailure() << "vertex " << VertexID << " liveness differs";
        }
        if (Mesh.IsVertex(VertexID) &&
            SortedVtxTriangles(Mesh, VertexID) != Reference.VertexTriangles(VertexID))
        {
            return testing::AssertionFailure() << "vertex " << VertexID << " has other triangles";
        }
    }
    for (int32 TriangleID = 0; TriangleID < Mesh.MaxTriangleID(); ++TriangleID)
    {
        if (Mesh.IsTriangle(TriangleID) != Reference.IsTriangle(TriangleID))
        {
            return testing::AssertionFailure() << "triangle " << TriangleID << " liveness differs";
        }
        if (!Mesh.IsTriangle(TriangleID))
        {
            continue;
        }
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        if (Tri != Reference.Triangles[TriangleID])
        {
            return testing::AssertionFailure() << "triangle " << TriangleID << " has other corners";
        }
        const FIndex3i Neighbours = Mesh.GetTriNeighbourTris(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            TArray<int32> Across = Reference.EdgeTriangles(Tri[Corner], Tri[(Corner + 1) % 3]);
            Across.Remove(TriangleID);
            const int32 Expected = Across.IsEmpty() ? FDynamicMesh3::InvalidID : Across[0];
            if (Neighbours[Corner] != Expected)
            {
                return testing::AssertionFailure() << "triangle " << TriangleID << " neighbour " << Corner;
            }
        }
    }
    if (Mesh.EdgeCount() != Reference.NumEdges())
    {
        return testing::AssertionFailure() << Mesh.EdgeCount() << " edges, expected " << Reference.NumEdges();
    }
    return IsValidMesh(Mesh);
}

/** Gives each corner a new UV element, or now and then the one a neighbour has at that vertex. */
void SetRandomUVs(FDynamicMesh3& Mesh, int32 TriangleID, FRandom& Random)
{
    FDynamicMeshUVOverlay& UVs = *Mesh.Attributes()->GetUVLayer(0);
    const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
    FIndex3i Elements;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        TArray<int32> Around;
        Mesh.GetVtxTriangles(Tri[Corner], Around);
        int32 Shared = FDynamicMesh3::InvalidID;
        for (const int32 Other : Around)
        {
            if (Other != TriangleID && UVs.IsSetTriangle(Other) && Random.Below(2) == 0)
            {
                Shared = UVs.GetElementAtVertex(Other, Tri[Corner]);
            }
        }
        Elements[Corner] =
            Shared != FDynamicMesh3::InvalidID ? Shared : UVs.AppendElement(FVector2f(Tri[Corner], Corner));
    }
    UVs.SetTriangle(TriangleID, Elements);
}

/** A live triangle; the mesh must have one. */
int32 PickTriangle(const FDynamicMesh3& Mesh, FRandom& Random)
{
    int32 TriangleID = Random.Below(Mesh.MaxTriangleID());
    while (!Mesh.IsTriangle(TriangleID))
    {
        TriangleID = (TriangleID + 1) % Mesh.MaxTriangleID();
    }
    return TriangleID;
}

/** Some of the vertex's triangles; now and then with a repeat or a triangle it does not have. */
TArray<int32> PickTrianglesToMove(const FReferenceMesh& Reference, int32 VertexID, FRandom& Random)
{
    TArray<int32> Moving;
    if (Reference.IsVertex(VertexID))
    {
        Moving = Reference.VertexTriangles(VertexID).FilterByPredicate([&Random](int32)
                                                                       { return Random.Below(2) == 0; });
    }
    if (Random.Below(8) == 0)
    {
        Moving.Add(Moving.IsEmpty() || Random.Below(2) == 0 ? Random.Below(Reference.Triangles.Num() + 1)
                                                            : Moving[0]);
    }
    return Moving;
}

/** The value each triangle has at its corner on the vertex, or a marker for an unset triangle. */
TArray<FVector2f> CornerUVs(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles, int32 VertexID)
{
    const FDynamicMeshUVOverlay& UVs = *Mesh.Attributes()->GetUVLayer(0);
    TArray<FVector2f> Values;
    for (const int32 TriangleID : Triangles)
    {
        Values.Add(UVs.IsSetTriangle(TriangleID)
                       ? UVs.GetElement(UVs.GetElementAtVertex(TriangleID, VertexID))
                       : FVector2f(-1.0f, -1.0f));
    }
    return Values;
}

/** The values the triangle has at the given vertices, in their order. */
TArray<FVector2f> TriangleUVs(const FDynamicMesh3& Mesh, int32 TriangleID, const FIndex3i& VertexIDs)
{
    TArray<FVector2f> Values;
    for (int32 Index = 0; Index < 3; ++Index)
    {
        Values.Append(CornerUVs(Mesh, {TriangleID}, VertexIDs[Index]));
    }
    return Values;
}

/** Mostly a live vertex, sometimes any ID up to one past the range. */
int32 PickVertex(const FDynamicMesh3& Mesh, FRandom& Random)
{
    int32 VertexID = Random.Below(Mesh.MaxVertexID() + 1);
    if (Random.Below(20) == 0 || Mesh.VertexCount() == 0)
    {
        return VertexID;
    }
    while (!Mesh.IsVertex(VertexID))
    {
        VertexID = (VertexID + 1) % Mesh.MaxVertexID();
    }
    return VertexID;
}

/**
 * A dynamic mesh with UVs, material IDs, skin weights and a morph target, and the brute-force mesh it must
 * agree with, edited side by side. Each edit checks what the dynamic mesh answers and what it keeps.
 */
class FRandomEdits
{
public:
    explicit FRandomEdits(uint32 Seed) : Random{std::mt19937(Seed)}
    {
        Mesh.EnableAttributes();
        Mesh.Attributes()->EnableMaterialID();
        Mesh.Attributes()->AttachSkinWeightsAttribute();
        Mesh.Attributes()->AttachMorphTargetAttribute("Morph");
    }

    /**
     * Of a roll of twelve: one appends a vertex, six a triangle, two remove one, one reverses one, one splits
     * a vertex and one copies the mesh; an edit of a triangle becomes a copy when the mesh has none.
     */
    void ApplyRandomEdit()
    {
        using FEdit = void (FRandomEdits::*)();
        static constexpr FEdit EditOfRoll[12] = {
            &FRandomEdits::AppendVertex,    &FRandomEdits::AppendTriangle, &FRandomEdits::AppendTriangle,
            &FRandomEdits::AppendTriangle,  &FRandomEdits::AppendTriangle, &FRandomEdits::AppendTriangle,
            &FRandomEdits::AppendTriangle,  &FRandomEdits::RemoveTriangle, &FRandomEdits::RemoveTriangle,
            &FRandomEdits::ReverseTriangle, &FRandomEdits::SplitVertex,    &FRandomEdits::CopyMesh};
        const FEdit Edit = EditOfRoll[Random.Below(12)];
        const bool bNeedsTriangle =
            Edit == &FRandomEdits::RemoveTriangle || Edit == &FRandomEdits::ReverseTriangle;
        (this->*(bNeedsTriangle && Mesh.TriangleCount() == 0 ? &FRandomEdits::CopyMesh : Edit))();
        ++Step;
    }

    FDynamicMesh3 Mesh;
    FReferenceMesh Reference;
    FRandom Random;
    int32 Step = 0;
    /** How often a reversal and a split was refused ([0]) and carried out ([1]). */
    std::array<int32, 2> Reversals{};
    std::array<int32, 2> Splits{};

private:
    // Looked up at each use: copying the mesh replaces every attribute.
    FDynamicMeshVertexSkinWeightsAttribute& Skin() { return *Mesh.Attributes()->GetSkinWeightsAttribute(); }
    FDynamicMeshMorphTargetAttribute& Morph() { return *Mesh.Attributes()->GetMorphTargetAttribute("Morph"); }

    /** A new vertex starts unskinned and unmoved, and is then given one to three influences and a delta. */
    void AppendVertex()
    {
        static const FBoneWeight Influences[] = {{1, 100}, {2, 200}, {3, 300}};
        const int32 VertexID = Mesh.AppendVertex(FVector(Step, 0.0, 1.0));
        ASSERT_EQ(VertexID, Reference.AppendVertex());
        EXPECT_TRUE(Skin().GetValue(VertexID).empty()) << "vertex " << VertexID << " starts unskinned";
        EXPECT_EQ(Morph().GetValue(VertexID), FVector3f()) << "vertex " << VertexID << " starts unmoved";
        Skin().SetValue(VertexID, std::span(Influences, 1 + Random.Below(3)));
        Morph().SetValue(VertexID, FVector3f(1.0f, 0.0f, 0.0f));
    }

    /** Random corners, now and then a rotation or the reverse of an existing triangle. */
    void AppendTriangle()
    {
        FIndex3i Tri{PickVertex(Mesh, Random), PickVertex(Mesh, Random), PickVertex(Mesh, Random)};
        if (Random.Below(8) == 0 && Mesh.TriangleCount() > 0)
        {
            const FIndex3i Existing = Mesh.GetTriangle(*Mesh.TriangleIndices().begin());
            Tri = Random.Below(2) == 0 ? FIndex3i{Existing.B, Existing.C, Existing.A}
                                       : FIndex3i{Existing.A, Existing.C, Existing.B};
        }
        const int32 Expected = Reference.AppendTriangle(Tri);
        ASSERT_EQ(Mesh.AppendTriangle(Tri), Expected) << Tri.A << " " << Tri.B << " " << Tri.C;
        if (Expected < 0)
        {
            return;
        }
        FDynamicMeshMaterialAttribute& Materials = *Mesh.Attributes()->GetMaterialID();
        EXPECT_EQ(Materials.GetValue(Expected), 0) << "triangle " << Expected << " starts at 0";
        EXPECT_FALSE(Mesh.Attributes()->GetUVLayer(0)->IsSetTriangle(Expected));
        Materials.SetValue(Expected, 1 + Random.Below(3));
        if (Random.Below(3) != 0)
        {
            SetRandomUVs(Mesh, Expected, Random);
        }
    }

    void RemoveTriangle()
    {
        const int32 TriangleID = PickTriangle(Mesh, Random);
        const bool bRemoveIsolated = Random.Below(2) == 0;
        ASSERT_TRUE(Mesh.RemoveTriangle(TriangleID, bRemoveIsolated));
        Reference.RemoveTriangle(TriangleID, bRemoveIsolated);
    }

    /** Reversed or refused as the reference says; either way each vertex keeps its UV. */
    void ReverseTriangle()
    {
        const int32 TriangleID = PickTriangle(Mesh, Random);
        const FIndex3i Corners = Mesh.GetTriangle(TriangleID);
        const TArray<FVector2f> UVsBefore = TriangleUVs(Mesh, TriangleID, Corners);
        const bool bReversed = Reference.ReverseTriangle(TriangleID);
        ASSERT_EQ(Mesh.ReverseTriOrientation(TriangleID), bReversed);
        ++Reversals[bReversed];
        EXPECT_EQ(TriangleUVs(Mesh, TriangleID, Corners), UVsBefore)
            << "each vertex keeps its UV in triangle " << TriangleID;
    }

    /** Split or refused as the reference says; a split's new vertex carries the UVs, weights and delta. */
    void SplitVertex()
    {
        const int32 VertexID = PickVertex(Mesh, Random);
        const TArray<int32> Moving = PickTrianglesToMove(Reference, VertexID, Random);
        const int32 Expected = Reference.SplitVertex(VertexID, Moving);
        const TArray<FVector2f> UVsBefore =
            Expected >= 0 ? CornerUVs(Mesh, Moving, VertexID) : TArray<FVector2f>();
        ASSERT_EQ(Mesh.SplitVertex(VertexID, Moving), Expected) << "splitting vertex " << VertexID;
        ++Splits[Expected >= 0];
        if (Expected >= 0)
        {
            EXPECT_EQ(CornerUVs(Mesh, Moving, Expected), UVsBefore);
            EXPECT_TRUE(std::ranges::equal(Skin().GetValue(Expected), Skin().GetValue(VertexID)));
            EXPECT_EQ(Morph().GetValue(Expected), Morph().GetValue(VertexID));
        }
    }

    /** By copy construction, or by copy assignment into an empty mesh and a move back. */
    void CopyMesh()
    {
        if (Random.Below(2) == 0)
        {
            Mesh = FDynamicMesh3(Mesh);
            return;
        }
        FDynamicMesh3 Copy;
        Copy = Mesh;
        Mesh.Clear();
        Mesh = std::move(Copy);
    }
};
} // namespace

TEST(DynamicMeshRandomEdits, AgreeWithABruteForceMeshAndStayValid)
{
    for (const uint32 Seed : {1u, 2u, 3u, 4u})
    {
        SCOPED_TRACE(testing::Message() << "seed " << Seed);
        FRandomEdits Edits(Seed);
        for (int32 Index = 0; Index < 12; ++Index)
        {
            ASSERT_EQ(Edits.Mesh.AppendVertex(FVector(Index, Index % 3, 0.0)),
                      Edits.Reference.AppendVertex());
        }
        for (int32 Step = 0; Step < 600; ++Step)
        {
            ASSERT_NO_FATAL_FAILURE(Edits.ApplyRandomEdit()) << "step " << Step;
            ASSERT_TRUE(MatchesReference(Edits.Mesh, Edits.Reference)) << "step " << Step;
        }
        for (const std::array<int32, 2>& Outcomes : {Edits.Reversals, Edits.Splits})
        {
            EXPECT_GT(Outcomes[0], 0);
            EXPECT_GT(Outcomes[1], 0);
        }
    }
}
