#include "MeshComparison.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshTestUtil.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace
{
/** The first difference found between two meshes; once one is found every later check passes over. */
class FDifference
{
public:
    bool Found() const { return !Text.empty(); }
    const std::string& Describe() const { return Text; }

    /** Records "What ID Detail" unless the values agree; returns true while no difference has been found. */
    template <typename ValueType>
    bool Same(const ValueType& Actual, const ValueType& Expected, const std::string& What, int32 ID = -1,
              const char* Detail = "")
    {
        if (!Found() && !(Actual == Expected))
        {
            std::ostringstream Stream;
            Stream << What;
            if (ID >= 0)
            {
                Stream << " " << ID;
            }
            Stream << " " << Detail;
            Text = Stream.str();
        }
        return !Found();
    }

private:
    std::string Text;
};

/**
 * Compares the ID ranges of one kind of element, of a mesh or an overlay, and which IDs are live; then,
 * through CompareLive, what each live element holds.
 */
template <typename OwnerType, typename ClassType, typename CompareLiveFunction>
void CompareElements(FDifference& Diff, const std::string& What, const OwnerType& A, const OwnerType& B,
                     int32 (ClassType::*MaxID)() const, bool (ClassType::*IsLive)(int32) const,
                     const CompareLiveFunction& CompareLive)
{
    if (!Diff.Same((A.*MaxID)(), (B.*MaxID)(), What + " ID range"))
    {
        return;
    }
    for (int32 ID = 0; ID < (A.*MaxID)(); ++ID)
    {
        if (Diff.Same((A.*IsLive)(ID), (B.*IsLive)(ID), What, ID, "liveness") && (A.*IsLive)(ID))
        {
            CompareLive(ID);
        }
    }
}

void CompareTopology(const FDynamicMesh3& A, const FDynamicMesh3& B, FDifference& Diff)
{
    using FMesh = FDynamicMesh3;
    CompareElements(Diff, "vertex", A, B, &FMesh::MaxVertexID, &FMesh::IsVertex,
                    [&](int32 ID)
                    {
                        Diff.Same(A.GetVertex(ID), B.GetVertex(ID), "vertex", ID, "position");
                        Diff.Same(Collect(A.VtxEdges(ID)), Collect(B.VtxEdges(ID)), "vertex", ID, "edges");
                    });
    Diff.Same(A.HasTriangleGroups(), B.HasTriangleGroups(), "triangle groups enabled");
    Diff.Same(A.MaxGroupID(), B.MaxGroupID(), "group ID counter");
    CompareElements(Diff, "triangle", A, B, &FMesh::MaxTriangleID, &FMesh::IsTriangle,
                    [&](int32 ID)
                    {
                        Diff.Same(A.GetTriangle(ID), B.GetTriangle(ID), "triangle", ID, "corners");
                        Diff.Same(A.GetTriEdges(ID), B.GetTriEdges(ID), "triangle", ID, "edges");
                        Diff.Same(A.GetTriangleGroup(ID), B.GetTriangleGroup(ID), "triangle", ID, "group");
                    });
    CompareElements(Diff, "edge", A, B, &FMesh::MaxEdgeID, &FMesh::IsEdge,
                    [&](int32 ID)
                    {
                        Diff.Same(A.GetEdgeV(ID), B.GetEdgeV(ID), "edge", ID, "vertices");
                        Diff.Same(A.GetEdgeT(ID), B.GetEdgeT(ID), "edge", ID, "triangles");
                    });
}

template <typename OverlayType>
void CompareOverlay(const FDynamicMesh3& Mesh, const OverlayType* A, const OverlayType* B,
                    const std::string& What, FDifference& Diff)
{
    if (!Diff.Same(A != nullptr, B != nullptr, What, -1, "presence") || A == nullptr)
    {
        return;
    }
    CompareElements(Diff, What + " element", *A, *B, &OverlayType::MaxElementID, &OverlayType::IsElement,
                    [&](int32 ID)
                    {
                        Diff.Same(A->GetElement(ID), B->GetElement(ID), What + " element", ID, "value");
                        Diff.Same(A->GetParentVertex(ID), B->GetParentVertex(ID), What + " element", ID,
                                  "parent");
                    });
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        Diff.Same(A->GetTriangle(TriangleID), B->GetTriangle(TriangleID), What + " triangle", TriangleID);
    }
}

void ComparePerVertexAttributes(const FDynamicMesh3& Mesh, const FDynamicMeshAttributeSet& A,
                                const FDynamicMeshAttributeSet& B, FDifference& Diff)
{
    if (Diff.Same(A.GetSkinWeightsProfiles(), B.GetSkinWeightsProfiles(), "skin weight profiles"))
    {
        for (const FName Profile : A.GetSkinWeightsProfiles())
        {
            for (const int32 VertexID : Mesh.VertexIndices())
            {
                Diff.Same(std::ranges::equal(A.GetSkinWeightsAttribute(Profile)->GetValue(VertexID),
                                             B.GetSkinWeightsAttribute(Profile)->GetValue(VertexID)),
                          true, "skin weights of vertex", VertexID);
            }
        }
    }
    if (Diff.Same(A.GetMorphTargetNames(), B.GetMorphTargetNames(), "morph targets"))
    {
        for (const FName Target : A.GetMorphTargetNames())
        {
            for (const int32 VertexID : Mesh.VertexIndices())
            {
                Diff.Same(A.GetMorphTargetAttribute(Target)->GetValue(VertexID),
                          B.GetMorphTargetAttribute(Target)->GetValue(VertexID), "morph delta of vertex",
                          VertexID);
            }
        }
    }
}

void CompareAttributes(const FDynamicMesh3& Mesh, const FDynamicMeshAttributeSet& A,
                       const FDynamicMeshAttributeSet& B, FDifference& Diff)
{
    Diff.Same(A.NumUVLayers(), B.NumUVLayers(), "UV layer count");
    for (int32 Layer = 0; !Diff.Found() && Layer < A.NumUVLayers(); ++Layer)
    {
        CompareOverlay(Mesh, A.GetUVLayer(Layer), B.GetUVLayer(Layer), "UV layer " + std::to_string(Layer),
                       Diff);
    }
    CompareOverlay(Mesh, A.PrimaryNormals(), B.PrimaryNormals(), "normals", Diff);
    CompareOverlay(Mesh, A.PrimaryTangents(), B.PrimaryTangents(), "tangents", Diff);
    CompareOverlay(Mesh, A.PrimaryColors(), B.PrimaryColors(), "colours", Diff);
    if (Diff.Same(A.HasMaterialID(), B.HasMaterialID(), "material IDs presence") && A.HasMaterialID())
    {
        for (const int32 TriangleID : Mesh.TriangleIndices())
        {
            Diff.Same(A.GetMaterialID()->GetValue(TriangleID), B.GetMaterialID()->GetValue(TriangleID),
                      "material ID of triangle", TriangleID);
        }
    }
    ComparePerVertexAttributes(Mesh, A, B, Diff);
    Diff.Same(A.MaterialGroups(), B.MaterialGroups(), "material groups");
}
} // namespace

testing::AssertionResult IsSameMesh(const FDynamicMesh3& Actual, const FDynamicMesh3& Expected)
{
    FDifference Diff;
    CompareTopology(Actual, Expected, Diff);
    // The attributes are read by the IDs of the mesh, so only once its elements are known to match.
    if (!Diff.Found() && Diff.Same(Actual.HasAttributes(), Expected.HasAttributes(), "attributes presence") &&
        Actual.HasAttributes())
    {
        CompareAttributes(Actual, *Actual.Attributes(), *Expected.Attributes(), Diff);
    }
    if (Diff.Found())
    {
        return testing::AssertionFailure() << "the meshes differ in " << Diff.Describe();
    }
    return testing::AssertionSuccess();
}
