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

void CompareVertices(const FDynamicMesh3& A, const FDynamicMesh3& B, FDifference& Diff)
{
    if (!Diff.Same(A.MaxVertexID(), B.MaxVertexID(), "vertex ID range"))
    {
        return;
    }
    for (int32 VertexID = 0; VertexID < A.MaxVertexID(); ++VertexID)
    {
        if (Diff.Same(A.IsVertex(VertexID), B.IsVertex(VertexID), "vertex", VertexID, "liveness") &&
            A.IsVertex(VertexID))
        {
            Diff.Same(A.GetVertex(VertexID), B.GetVertex(VertexID), "vertex", VertexID, "position");
            Diff.Same(Collect(A.VtxEdges(VertexID)), Collect(B.VtxEdges(VertexID)), "vertex", VertexID,
                      "edges");
        }
    }
}

void CompareTriangles(const FDynamicMesh3& A, const FDynamicMesh3& B, FDifference& Diff)
{
    Diff.Same(A.HasTriangleGroups(), B.HasTriangleGroups(), "triangle groups enabled");
    Diff.Same(A.MaxGroupID(), B.MaxGroupID(), "group ID counter");
    if (!Diff.Same(A.MaxTriangleID(), B.MaxTriangleID(), "triangle ID range"))
    {
        return;
    }
    for (int32 TriangleID = 0; TriangleID < A.MaxTriangleID(); ++TriangleID)
    {
        if (Diff.Same(A.IsTriangle(TriangleID), B.IsTriangle(TriangleID), "triangle", TriangleID,
                      "liveness") &&
            A.IsTriangle(TriangleID))
        {
            Diff.Same(A.GetTriangle(TriangleID), B.GetTriangle(TriangleID), "triangle", TriangleID,
                      "corners");
            Diff.Same(A.GetTriEdges(TriangleID), B.GetTriEdges(TriangleID), "triangle", TriangleID, "edges");
            Diff.Same(A.GetTriangleGroup(TriangleID), B.GetTriangleGroup(TriangleID), "triangle", TriangleID,
                      "group");
        }
    }
}

void CompareEdges(const FDynamicMesh3& A, const FDynamicMesh3& B, FDifference& Diff)
{
    if (!Diff.Same(A.MaxEdgeID(), B.MaxEdgeID(), "edge ID range"))
    {
        return;
    }
    for (int32 EdgeID = 0; EdgeID < A.MaxEdgeID(); ++EdgeID)
    {
        if (Diff.Same(A.IsEdge(EdgeID), B.IsEdge(EdgeID), "edge", EdgeID, "liveness") && A.IsEdge(EdgeID))
        {
            Diff.Same(A.GetEdgeV(EdgeID), B.GetEdgeV(EdgeID), "edge", EdgeID, "vertices");
            Diff.Same(A.GetEdgeT(EdgeID), B.GetEdgeT(EdgeID), "edge", EdgeID, "triangles");
        }
    }
}

template <typename OverlayType>
void CompareOverlay(const FDynamicMesh3& Mesh, const OverlayType* A, const OverlayType* B,
                    const std::string& What, FDifference& Diff)
{
    if (!Diff.Same(A != nullptr, B != nullptr, What, -1, "presence") || A == nullptr ||
        !Diff.Same(A->MaxElementID(), B->MaxElementID(), What, -1, "element range"))
    {
        return;
    }
    for (int32 ElementID = 0; ElementID < A->MaxElementID(); ++ElementID)
    {
        if (Diff.Same(A->IsElement(ElementID), B->IsElement(ElementID), What + " element", ElementID,
                      "liveness") &&
            A->IsElement(ElementID))
        {
            Diff.Same(A->GetElement(ElementID), B->GetElement(ElementID), What + " element", ElementID,
                      "value");
            Diff.Same(A->GetParentVertex(ElementID), B->GetParentVertex(ElementID), What + " element",
                      ElementID, "parent");
        }
    }
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
    CompareVertices(Actual, Expected, Diff);
    CompareTriangles(Actual, Expected, Diff);
    CompareEdges(Actual, Expected, Diff);
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
