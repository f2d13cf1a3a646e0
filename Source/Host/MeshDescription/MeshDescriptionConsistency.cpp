#include "MeshDescription/MeshDescription.h"

namespace
{
/** Collects the problems that a consistency check finds. */
class FProblemList
{
public:
    explicit FProblemList(TArray<FString>* InOut) : Out(InOut) {}

    template <typename... ArgTypes>
    void Expect(bool bCondition, const char* Format, ArgTypes... Args)
    {
        if (!bCondition)
        {
            bFound = true;
            if (Out)
            {
                Out->Add(FString::Printf(Format, Args...));
            }
        }
    }

    bool Found() const { return bFound; }

private:
    TArray<FString>* Out;
    bool bFound = false;
};

/**
 * Checks one indexer: every listed node belongs to a live element whose reference in that slot names
 * the list's key, and the lists hold as many nodes as the elements make references.
 */
template <typename IsLiveFunction, typename KeyOfFunction>
void CheckIndexer(FProblemList& Problems, const char* Name, const FLinkedAdjacency& Indexer, int32 NumKeys,
                  int32 ExpectedNodes, IsLiveFunction IsLive, KeyOfFunction KeyOf)
{
    int32 Nodes = 0;
    for (int32 Key = 0; Key < NumKeys; ++Key)
    {
        for (auto It = Indexer[Key].begin(); It != Indexer[Key].end(); ++It)
        {
            ++Nodes;
            const int32 Element = *It;
            Problems.Expect(IsLive(Element) && KeyOf(Element, It.GetSlot()) == Key,
                            "%s indexer lists element %d under %d, which it does not refer to", Name, Element,
                            Key);
        }
    }
    Problems.Expect(Nodes == ExpectedNodes, "%s indexer holds %d references, the elements make %d", Name,
                    Nodes, ExpectedNodes);
}
} // namespace

bool FMeshDescription::CheckConsistency(TArray<FString>* OutProblems) const
{
    FProblemList Problems(OutProblems);
    for (const FVertexInstanceID Instance : VertexInstanceIDs.GetElementIDs())
    {
        Problems.Expect(VertexIDs.IsValid(GetVertexInstanceVertex(Instance)),
                        "vertex instance %d refers to missing vertex %d", Instance.GetValue(),
                        GetVertexInstanceVertex(Instance).GetValue());
    }
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        const std::array<FVertexID, 2>& Ends = GetEdgeVertices(Edge);
        Problems.Expect(VertexIDs.IsValid(Ends[0]) && VertexIDs.IsValid(Ends[1]) && Ends[0] != Ends[1],
                        "edge %d joins %d and %d", Edge.GetValue(), Ends[0].GetValue(), Ends[1].GetValue());
    }
    for (const FTriangleID Triangle : TriangleIDs.GetElementIDs())
    {
        const FTriangleData& Data = TriangleData[Triangle.GetValue()];
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const FVertexInstanceID From = Data.Corners[Corner];
            const FVertexInstanceID To = Data.Corners[(Corner + 1) % 3];
            const FEdgeID Edge = Data.Edges[Corner];
            const bool bCornersLive = VertexInstanceIDs.IsValid(From) && VertexInstanceIDs.IsValid(To);
            Problems.Expect(bCornersLive, "triangle %d has a missing vertex instance", Triangle.GetValue());
            Problems.Expect(
                bCornersLive && EdgeIDs.IsValid(Edge) &&
                    GetVertexPairEdge(GetVertexInstanceVertex(From), GetVertexInstanceVertex(To)) == Edge,
                "triangle %d side %d is not edge %d", Triangle.GetValue(), Corner, Edge.GetValue());
        }
        Problems.Expect(PolygonIDs.IsValid(Data.Polygon) &&
                            GetPolygonPolygonGroup(Data.Polygon) == Data.Group,
                        "triangle %d disagrees with its polygon %d about its group %d", Triangle.GetValue(),
                        Data.Polygon.GetValue(), Data.Group.GetValue());
    }
    for (const FPolygonID Polygon : PolygonIDs.GetElementIDs())
    {
        Problems.Expect(PolygonGroupIDs.IsValid(GetPolygonPolygonGroup(Polygon)),
                        "polygon %d refers to missing polygon group %d", Polygon.GetValue(),
                        GetPolygonPolygonGroup(Polygon).GetValue());
    }

    BuildIndexers();
    const auto Live = [](const auto& Set)
    {
        using FID = std::remove_cvref_t<decltype(*Set.GetElementIDs().begin())>;
        return [&Set](int32 Element)
        {
            return Set.IsValid(FID(Element));
        };
    };
    CheckIndexer(Problems, "vertex-to-instance", VertexToInstances, VertexIDs.GetArraySize(),
                 VertexInstanceIDs.Num(), Live(VertexInstanceIDs),
                 [&](int32 E, int32) { return InstanceVertex[E].GetValue(); });
    CheckIndexer(Problems, "vertex-to-edge", VertexToEdges, VertexIDs.GetArraySize(), 2 * EdgeIDs.Num(),
                 Live(EdgeIDs), [&](int32 E, int32 Slot) { return EdgeVertices[E][Slot].GetValue(); });
    CheckIndexer(Problems, "instance-to-triangle", InstanceToTriangles, VertexInstanceIDs.GetArraySize(),
                 3 * TriangleIDs.Num(), Live(TriangleIDs),
                 [&](int32 E, int32 Slot) { return TriangleData[E].Corners[Slot].GetValue(); });
    CheckIndexer(Problems, "edge-to-triangle", EdgeToTriangles, EdgeIDs.GetArraySize(), 3 * TriangleIDs.Num(),
                 Live(TriangleIDs),
                 [&](int32 E, int32 Slot) { return TriangleData[E].Edges[Slot].GetValue(); });
    CheckIndexer(Problems, "polygon-to-triangle", PolygonToTriangles, PolygonIDs.GetArraySize(),
                 TriangleIDs.Num(), Live(TriangleIDs),
                 [&](int32 E, int32) { return TriangleData[E].Polygon.GetValue(); });
    CheckIndexer(Problems, "group-to-polygon", GroupToPolygons, PolygonGroupIDs.GetArraySize(),
                 PolygonIDs.Num(), Live(PolygonIDs),
                 [&](int32 E, int32) { return PolygonGroupOfPolygon[E].GetValue(); });
    for (const FPolygonID Polygon : PolygonIDs.GetElementIDs())
    {
        Problems.Expect(!PolygonToTriangles.IsEmpty(Polygon.GetValue()), "polygon %d has no triangle",
                        Polygon.GetValue());
    }
    return !Problems.Found();
}

namespace
{
/** Whether two element sets hold the same IDs and, for each, data that Equal accepts. */
template <typename SetType, typename EqualFunction>
bool SameElements(const SetType& A, const SetType& B, EqualFunction Equal)
{
    if (!(A == B))
    {
        return false;
    }
    for (const auto ID : A.GetElementIDs())
    {
        if (!Equal(ID))
        {
            return false;
        }
    }
    return true;
}
} // namespace

bool operator==(const FMeshDescription& A, const FMeshDescription& B)
{
    return A.VertexIDs == B.VertexIDs && A.PolygonGroupIDs == B.PolygonGroupIDs &&
           SameElements(A.VertexInstanceIDs, B.VertexInstanceIDs,
                        [&](FVertexInstanceID ID)
                        { return A.GetVertexInstanceVertex(ID) == B.GetVertexInstanceVertex(ID); }) &&
           SameElements(A.EdgeIDs, B.EdgeIDs,
                        [&](FEdgeID ID) { return A.GetEdgeVertices(ID) == B.GetEdgeVertices(ID); }) &&
           SameElements(A.TriangleIDs, B.TriangleIDs,
                        [&](FTriangleID ID)
                        { return A.TriangleData[ID.GetValue()] == B.TriangleData[ID.GetValue()]; }) &&
           SameElements(A.PolygonIDs, B.PolygonIDs,
                        [&](FPolygonID ID)
                        { return A.GetPolygonPolygonGroup(ID) == B.GetPolygonPolygonGroup(ID); }) &&
           A.VertexAttributeSet == B.VertexAttributeSet &&
           A.VertexInstanceAttributeSet == B.VertexInstanceAttributeSet &&
           A.EdgeAttributeSet == B.EdgeAttributeSet && A.TriangleAttributeSet == B.TriangleAttributeSet &&
           A.PolygonAttributeSet == B.PolygonAttributeSet &&
           A.PolygonGroupAttributeSet == B.PolygonGroupAttributeSet;
}
