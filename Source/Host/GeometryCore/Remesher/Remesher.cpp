#include "GeometryCore/Remesher/Remesher.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Remesher/CurvatureSizing.h"
#include "GeometryCore/Remesher/TriangleShape.h"
#include "GeometryCore/Spatial/ProjectionTarget.h"

#include <cmath>
#include <limits>

namespace
{
double DistanceSquared(const FVector& A, const FVector& B)
{
    return (B - A).SizeSquared();
}

template <typename T>
T Square(T Value)
{
    return Value * Value;
}

/** Edges above this share of their target length are split, those below the next collapsed. */
constexpr double SplitAbove = 4.0 / 3.0;
constexpr double CollapseBelow = 0.8;
/** The shortest target length adaptive sizing gives, as a share of the target edge length. */
constexpr double SmallestAdaptiveShare = 0.25;
/**
 * A vertex this share of its target length from its tangential centre or nearer has settled: moving it
 * would hardly change its triangles, and its projection would cost more than the move is worth.
 */
constexpr double SettledShare = 0.03;
/** A relocation brings no neighbour nearer than this share of the target length (unless one was already). */
constexpr double RelocationNearest = 0.6;
/** Shape flips need a gain above rounding, so that a tie (a square's two diagonals) flips neither way. */
constexpr double ShapeFlipMargin = 2e-6;
} // namespace

FRemesher::FRemesher(FDynamicMesh3* InMesh) : Mesh(InMesh)
{
    SetTargetEdgeLength(1.0);
}

void FRemesher::SetTargetEdgeLength(double Length)
{
    TargetEdgeLength = Length;
    bMeasureSizing = AdaptiveMaxDeviation > 0.0;
}

void FRemesher::SetAdaptiveSizing(double MaxDeviation)
{
    AdaptiveMaxDeviation = MaxDeviation;
    bMeasureSizing = MaxDeviation > 0.0;
    VertexTargetLengths.Reset();
}

void FRemesher::MeasureVertexTargetLengths()
{
    bMeasureSizing = false;
    VertexTargetLengths.Init(0.0, Mesh->MaxVertexID());
    PassVertices.Reset();
    ListPassVertices(PassVertices);
    for (const int32 VertexID : PassVertices)
    {
        VertexTargetLengths[VertexID] =
            CurvatureAdaptedEdgeLength(*Mesh, VertexID, AdaptiveMaxDeviation, SmallestAdaptiveShare * TargetEdgeLength,
                                       TargetEdgeLength, TriangleScratch);
    }
}

void FRemesher::SetVertexTargetLength(int32 VertexID, double Length)
{
    if (VertexTargetLengths.IsEmpty())
    {
        return;
    }
    if (VertexID >= VertexTargetLengths.Num())
    {
        VertexTargetLengths.SetNum(VertexID + 1, 0.0);
    }
    VertexTargetLengths[VertexID] = Length;
}

void FRemesher::BasicRemeshPass()
{
    Stats = FRemeshPassStats();
    if (bMeasureSizing)
    {
        MeasureVertexTargetLengths();
    }
    PassEdges.Reset();
    ListPassEdges(PassEdges);
    if (bEnableSplits)
    {
        SplitPass();
    }
    if (bEnableCollapses)
    {
        CollapsePass();
    }
    if (bEnableFlips)
    {
        FlipPass();
    }
    if (bEnableSmoothing || ProjectionTarget)
    {
        SmoothPass();
    }
    if (bEnableCleanUp)
    {
        CleanUpPass();
    }
}

void FRemesher::ListPassEdges(TArray<int32>& OutEdges)
{
    for (const int32 EdgeID : Mesh->EdgeIndices())
    {
        OutEdges.Add(EdgeID);
    }
}

void FRemesher::ListPassVertices(TArray<int32>& OutVertices)
{
    for (const int32 VertexID : Mesh->VertexIndices())
    {
        OutVertices.Add(VertexID);
    }
}

bool FRemesher::CanMoveVertex(int32 VertexID) const
{
    return IsEditableVertex(VertexID) &&
           (!Constraints.HasVertexConstraint(VertexID) || Constraints.GetVertexConstraint(VertexID).bCanMove) &&
           !Mesh->IsBoundaryVertex(VertexID);
}

bool FRemesher::CanRemoveVertex(int32 VertexID) const
{
    return CanMoveVertex(VertexID) &&
           (!Constraints.HasVertexConstraint(VertexID) || !Constraints.GetVertexConstraint(VertexID).bCannotDelete);
}

int32 FRemesher::ValenceExcess(int32 VertexID) const
{
    return Mesh->GetVtxEdgeCount(VertexID) - (Mesh->IsBoundaryVertex(VertexID) ? 4 : 6);
}

/**
 * Splits run over the listed edges and then over the halves of each split edge until they are short
 * enough, so one pass brings long edges down to length. The edges across the new vertices wait for the
 * next pass: splitting them at once could go on forever beside a long constrained edge, each new vertex
 * nearer the same point. The later steps of this pass visit them too.
 */
void FRemesher::SplitPass()
{
    CrossEdges.Reset();
    for (int32 Index = 0; Index < PassEdges.Num(); ++Index)
    {
        TrySplit(PassEdges[Index]);
    }
    PassEdges.Append(CrossEdges);
}

bool FRemesher::TrySplit(int32 EdgeID)
{
    if (!Mesh->IsEdge(EdgeID))
    {
        return false;
    }
    const FIndex2i EdgeVertices = Mesh->GetEdgeV(EdgeID);
    const double EdgeTarget = EdgeTargetLength(EdgeVertices.A, EdgeVertices.B);
    if (DistanceSquared(Mesh->GetVertex(EdgeVertices.A), Mesh->GetVertex(EdgeVertices.B)) <=
            Square(SplitAbove * EdgeTarget) ||
        !IsEditableEdge(EdgeID) || !Constraints.GetEdgeConstraint(EdgeID).CanSplit())
    {
        return false;
    }
    const double NewVertexTarget =
        0.5 * (GetVertexTargetLength(EdgeVertices.A) + GetVertexTargetLength(EdgeVertices.B));
    FEdgeSplitInfo Split;
    if (Mesh->SplitEdge(EdgeID, Split) != EMeshResult::Ok)
    {
        return false;
    }
    SetVertexTargetLength(Split.NewVertex, NewVertexTarget);
    UpdateConstraintsAfterSplit(Split);
    OnEdgeSplit(Split);
    ++Stats.Splits;
    PassEdges.Add(EdgeID);
    PassEdges.Add(Split.NewEdges.A);
    for (int32 Index = 1; Index < 3; ++Index)
    {
        if (Split.NewEdges[Index] != FDynamicMesh3::InvalidID)
        {
            CrossEdges.Add(Split.NewEdges[Index]);
        }
    }
    return true;
}

/**
 * Both halves of a constrained edge keep its constraint, and the new vertex between them may move only
 * where both ends may. IDs reused from removed elements lose whatever constraint was left on them.
 */
void FRemesher::UpdateConstraintsAfterSplit(const FEdgeSplitInfo& Split)
{
    for (int32 Index = 1; Index < 3; ++Index)
    {
        Constraints.ClearEdgeConstraint(Split.NewEdges[Index]);
    }
    Constraints.ClearVertexConstraint(Split.NewVertex);
    Constraints.ClearEdgeConstraint(Split.NewEdges.A);
    if (!Constraints.HasEdgeConstraint(Split.OriginalEdge))
    {
        return;
    }
    const FEdgeConstraint EdgeConstraint = Constraints.GetEdgeConstraint(Split.OriginalEdge);
    Constraints.SetOrUpdateEdgeConstraint(Split.NewEdges.A, EdgeConstraint);
    const FVertexConstraint EndA = Constraints.GetVertexConstraint(Split.OriginalVertices.A);
    const FVertexConstraint EndB = Constraints.GetVertexConstraint(Split.OriginalVertices.B);
    Constraints.SetOrUpdateVertexConstraint(
        Split.NewVertex, {true, EndA.bCanMove && EndB.bCanMove, FVertexConstraint::InvalidSetID, EdgeConstraint.Target});
}

void FRemesher::CollapsePass()
{
    for (const int32 EdgeID : PassEdges)
    {
        TryCollapse(EdgeID);
    }
}

/**
 * A vertex that may go merges into its neighbour: at the midpoint when the neighbour may move, at the
 * neighbour's place otherwise.
 */
bool FRemesher::ChooseCollapse(const FIndex2i& EdgeVertices, int32& OutKeep, int32& OutRemove, double& OutT) const
{
    for (const FIndex2i Candidate : {FIndex2i{EdgeVertices.A, EdgeVertices.B}, FIndex2i{EdgeVertices.B, EdgeVertices.A}})
    {
        if (CanRemoveVertex(Candidate.B))
        {
            OutKeep = Candidate.A;
            OutRemove = Candidate.B;
            OutT = CanMoveVertex(Candidate.A) ? 0.5 : 0.0;
            return true;
        }
    }
    return false;
}

bool FRemesher::TryCollapse(int32 EdgeID)
{
    if (!Mesh->IsEdge(EdgeID))
    {
        return false;
    }
    const FIndex2i EdgeVertices = Mesh->GetEdgeV(EdgeID);
    const FVector PositionA = Mesh->GetVertex(EdgeVertices.A);
    const FVector PositionB = Mesh->GetVertex(EdgeVertices.B);
    int32 Keep = FDynamicMesh3::InvalidID;
    int32 Remove = FDynamicMesh3::InvalidID;
    double CollapseT = 0.0;
    if (DistanceSquared(PositionA, PositionB) >= Square(CollapseBelow * EdgeTargetLength(EdgeVertices.A, EdgeVertices.B)) ||
        !IsEditableEdge(EdgeID) || !Constraints.GetEdgeConstraint(EdgeID).CanCollapse() ||
        !ChooseCollapse(EdgeVertices, Keep, Remove, CollapseT))
    {
        return false;
    }
    const FVector KeepPosition = Mesh->GetVertex(Keep);
    const FVector NewPosition = KeepPosition + (Mesh->GetVertex(Remove) - KeepPosition) * CollapseT;
    const double KeepTarget = GetVertexTargetLength(Keep);
    const double NewTarget = KeepTarget + (GetVertexTargetLength(Remove) - KeepTarget) * CollapseT;
    // The length test first: it is cheaper than the link condition.
    if (!CollapseKeepsEdgesShort(Keep, Remove, NewPosition, NewTarget) ||
        Mesh->CanCollapseEdge(Keep, Remove) != EMeshResult::Ok)
    {
        return false;
    }
    TriangleScratch.Reset();
    Mesh->GetVtxTriangles(Keep, TriangleScratch);
    Mesh->GetVtxTriangles(Remove, TriangleScratch);
    const FIndex2i Removed = Mesh->GetEdgeT(EdgeID);
    if ((bPreventNormalFlips && !KeepsOrientation(TriangleScratch, {Keep, Remove}, NewPosition, Removed)) ||
        !CollapseKeepsShapes(Keep, Remove, NewPosition, Removed))
    {
        return false;
    }
    FEdgeCollapseInfo Collapse;
    if (Mesh->CollapseEdge(Keep, Remove, Collapse, CollapseT) != EMeshResult::Ok)
    {
        return false;
    }
    SetVertexTargetLength(Keep, NewTarget);
    UpdateConstraintsAfterCollapse(Collapse);
    OnEdgeCollapse(Collapse);
    ++Stats.Collapses;
    return true;
}

/** Collapsing must not make edges that the next split would cut again. */
bool FRemesher::CollapseKeepsEdgesShort(int32 Keep, int32 Remove, const FVector& NewPosition, double NewTarget)
{
    const bool bKeepMoves = NewPosition != Mesh->GetVertex(Keep);
    for (const int32 VertexID : {Remove, Keep})
    {
        if (VertexID == Keep && !bKeepMoves)
        {
            continue;
        }
        for (const int32 EdgeID : Mesh->VtxEdges(VertexID))
        {
            const int32 Neighbour = Mesh->GetEdgeV(EdgeID).OtherElement(VertexID);
            if (Neighbour != Keep && Neighbour != Remove &&
                DistanceSquared(Mesh->GetVertex(Neighbour), NewPosition) >
                    Square(SplitAbove * std::min(NewTarget, GetVertexTargetLength(Neighbour))))
            {
                return false;
            }
        }
    }
    return true;
}

/** Most new triangles are above 15 degrees: the corners and the old shapes are looked at only for the others. */
bool FRemesher::CollapseKeepsShapes(int32 Keep, int32 Remove, const FVector& NewPosition,
                                    const FIndex2i& Removed) const
{
    const bool bKeepMoves = CanMoveVertex(Keep);
    double ThinnestBefore = -1.0;
    for (const int32 TriangleID : TriangleScratch)
    {
        if (Removed.Contains(TriangleID))
        {
            continue;
        }
        const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
        FVector New[3];
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            New[Corner] = Tri[Corner] == Keep || Tri[Corner] == Remove ? NewPosition : Mesh->GetVertex(Tri[Corner]);
        }
        const double Thinness = TriangleThinness(New[0], New[1], New[2]);
        const auto IsFixed = [this, Keep, Remove, bKeepMoves](int32 VertexID)
        { return VertexID == Keep || VertexID == Remove ? !bKeepMoves : !CanMoveVertex(VertexID); };
        if (Thinness <= TriangleShape::Thinness15Degrees || !(IsFixed(Tri.A) || IsFixed(Tri.B) || IsFixed(Tri.C)))
        {
            continue;
        }
        if (ThinnestBefore < 0.0)
        {
            ThinnestBefore = ThinnestOf(TriangleScratch);
        }
        if (Thinness > ThinnestBefore)
        {
            return false;
        }
    }
    return true;
}

double FRemesher::ThinnestOf(const TArray<int32>& Triangles) const
{
    double Thinnest = 0.0;
    for (const int32 TriangleID : Triangles)
    {
        const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
        Thinnest = std::max(Thinnest, TriangleThinness(Mesh->GetVertex(Tri.A), Mesh->GetVertex(Tri.B),
                                                       Mesh->GetVertex(Tri.C)));
    }
    return Thinnest;
}

bool FRemesher::KeepsOrientation(const TArray<int32>& Triangles, const FIndex2i& Moved, const FVector& NewPosition,
                                 const FIndex2i& Skip) const
{
    for (const int32 TriangleID : Triangles)
    {
        if (Skip.Contains(TriangleID))
        {
            continue;
        }
        const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
        FVector Old[3];
        FVector New[3];
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            Old[Corner] = Mesh->GetVertex(Tri[Corner]);
            New[Corner] = Moved.Contains(Tri[Corner]) ? NewPosition : Old[Corner];
        }
        const FVector OldCross = (Old[1] - Old[0]).Cross(Old[2] - Old[0]);
        const FVector NewCross = (New[1] - New[0]).Cross(New[2] - New[0]);
        if (OldCross != FVector::ZeroVector && NewCross.Dot(OldCross) <= 0.0)
        {
            return false;
        }
    }
    return true;
}

/**
 * Constraints of removed elements go; a removed side edge hands its constraint to the edge it merged
 * into when that one had none.
 */
void FRemesher::UpdateConstraintsAfterCollapse(const FEdgeCollapseInfo& Collapse)
{
    for (int32 Side = 0; Side < 2; ++Side)
    {
        const int32 Removed = Collapse.RemovedEdges[Side];
        if (Removed == FDynamicMesh3::InvalidID)
        {
            continue;
        }
        if (Constraints.HasEdgeConstraint(Removed) && !Constraints.HasEdgeConstraint(Collapse.KeptEdges[Side]))
        {
            Constraints.SetOrUpdateEdgeConstraint(Collapse.KeptEdges[Side], Constraints.GetEdgeConstraint(Removed));
        }
        Constraints.ClearEdgeConstraint(Removed);
    }
    Constraints.ClearEdgeConstraint(Collapse.CollapsedEdge);
    Constraints.ClearVertexConstraint(Collapse.RemovedVertex);
}

void FRemesher::FlipPass()
{
    for (const int32 EdgeID : PassEdges)
    {
        TryFlip(EdgeID);
    }
}

bool FRemesher::GetFlipQuad(int32 EdgeID, FFlipQuad& OutQuad) const
{
    if (!Mesh->IsEdge(EdgeID) || !IsEditableEdge(EdgeID) || !Constraints.GetEdgeConstraint(EdgeID).CanFlip())
    {
        return false;
    }
    const FIndex2i EdgeTris = Mesh->GetEdgeT(EdgeID);
    if (EdgeTris.B == FDynamicMesh3::InvalidID)
    {
        return false;
    }
    const FIndex2i EdgeVertices = Mesh->GetEdgeV(EdgeID);
    const FIndex3i Tri0 = Mesh->GetTriangle(EdgeTris.A);
    const FIndex3i Tri1 = Mesh->GetTriangle(EdgeTris.B);
    const bool bInOrder = Tri0[(Tri0.IndexOf(EdgeVertices.A) + 1) % 3] == EdgeVertices.B;
    OutQuad.EdgeID = EdgeID;
    OutQuad.Triangles = EdgeTris;
    OutQuad.A = bInOrder ? EdgeVertices.A : EdgeVertices.B;
    OutQuad.B = bInOrder ? EdgeVertices.B : EdgeVertices.A;
    OutQuad.C = Tri0[(Tri0.IndexOf(OutQuad.B) + 1) % 3];
    OutQuad.D = Tri1[(Tri1.IndexOf(OutQuad.A) + 1) % 3];
    return true;
}

void FRemesher::LoadCorners(FFlipQuad& Quad) const
{
    Quad.PA = Mesh->GetVertex(Quad.A);
    Quad.PB = Mesh->GetVertex(Quad.B);
    Quad.PC = Mesh->GetVertex(Quad.C);
    Quad.PD = Mesh->GetVertex(Quad.D);
}

void FRemesher::MeasureShapesBefore(FFlipQuad& Quad)
{
    Quad.Before = {TriangleThinness(Quad.PA, Quad.PB, Quad.PC), TriangleThinness(Quad.PB, Quad.PA, Quad.PD)};
}

void FRemesher::MeasureShapesAfter(FFlipQuad& Quad)
{
    Quad.After = {TriangleThinness(Quad.PC, Quad.PD, Quad.PB), TriangleThinness(Quad.PD, Quad.PC, Quad.PA)};
}

/** The flip takes an edge from A and B and gives one to C and D; each counts its distance to its target. */
int32 FRemesher::FlipValenceChange(const FFlipQuad& Quad) const
{
    int32 Change = 0;
    for (const int32 VertexID : {Quad.A, Quad.B})
    {
        const int32 Excess = ValenceExcess(VertexID);
        Change += std::abs(Excess - 1) - std::abs(Excess);
    }
    for (const int32 VertexID : {Quad.C, Quad.D})
    {
        const int32 Excess = ValenceExcess(VertexID);
        Change += std::abs(Excess + 1) - std::abs(Excess);
    }
    return Change;
}

bool FRemesher::FlipFoldsNothing(const FFlipQuad& Quad) const
{
    const FVector New0 = (Quad.PD - Quad.PC).Cross(Quad.PB - Quad.PC);
    const FVector New1 = (Quad.PC - Quad.PD).Cross(Quad.PA - Quad.PD);
    for (const FVector& OldNormal : {Mesh->GetTriNormal(Quad.Triangles.A), Mesh->GetTriNormal(Quad.Triangles.B)})
    {
        if (New0.Dot(OldNormal) <= 0.0 || New1.Dot(OldNormal) <= 0.0)
        {
            return false;
        }
    }
    return true;
}

bool FRemesher::ApplyFlip(const FFlipQuad& Quad)
{
    FEdgeFlipInfo Flip;
    if (Mesh->FlipEdge(Quad.EdgeID, Flip) != EMeshResult::Ok)
    {
        return false;
    }
    ++Stats.Flips;
    return true;
}

/**
 * Flips when the four vertices' valences come closer to their targets, unless that leaves a triangle
 * under 20 degrees thinner than both old ones, and the flip folds nothing over. The flip takes an edge
 * from each end, which helps only when one of them has more than its target: most edges stop there.
 */
bool FRemesher::TryFlip(int32 EdgeID)
{
    if (!Mesh->IsEdge(EdgeID))
    {
        return false;
    }
    const FIndex2i Ends = Mesh->GetEdgeV(EdgeID);
    if (ValenceExcess(Ends.A) < 1 && ValenceExcess(Ends.B) < 1)
    {
        return false;
    }
    FFlipQuad Quad;
    if (!GetFlipQuad(EdgeID, Quad) || FlipValenceChange(Quad) >= 0)
    {
        return false;
    }
    LoadCorners(Quad);
    MeasureShapesBefore(Quad);
    MeasureShapesAfter(Quad);
    return Quad.After.Thinnest() <= std::max(Quad.Before.Thinnest(), TriangleShape::Thinness20Degrees) &&
           FlipFoldsNothing(Quad) && ApplyFlip(Quad);
}

void FRemesher::SmoothPass()
{
    PassVertices.Reset();
    ListPassVertices(PassVertices);
    for (const int32 VertexID : PassVertices)
    {
        if (TrySmooth(VertexID))
        {
            ++Stats.VerticesMoved;
        }
    }
}

/** The vertex's triangles, each as its two other corners in order and its cross product. */
void FRemesher::GatherFan(int32 VertexID)
{
    const FVector Position = Mesh->GetVertex(VertexID);
    TriangleScratch.Reset();
    Mesh->GetVtxTriangles(VertexID, TriangleScratch);
    Fan.Reset();
    for (const int32 TriangleID : TriangleScratch)
    {
        const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
        const int32 Corner = Tri.IndexOf(VertexID);
        const FVector Next = Mesh->GetVertex(Tri[(Corner + 1) % 3]);
        const FVector Previous = Mesh->GetVertex(Tri[(Corner + 2) % 3]);
        Fan.Add({Next, Previous, (Next - Position).Cross(Previous - Position)});
    }
}

/** The area-weighted centre of the fan's triangles, moved into the vertex's tangent plane. */
bool FRemesher::TangentialCentre(const FVector& Position, FVector& OutCentre) const
{
    FVector WeightedCentroids = FVector::ZeroVector;
    FVector WeightedNormal = FVector::ZeroVector;
    double TotalArea = 0.0;
    for (const FFanTriangle& Triangle : Fan)
    {
        const double Area = 0.5 * Triangle.Cross.Size();
        WeightedCentroids += (Position + Triangle.Next + Triangle.Previous) * (Area / 3.0);
        WeightedNormal += Triangle.Cross;
        TotalArea += Area;
    }
    if (TotalArea <= 0.0)
    {
        return false;
    }
    const FVector Normal = WeightedNormal.GetSafeNormal(0.0);
    FVector Move = WeightedCentroids / TotalArea - Position;
    Move -= Normal * Normal.Dot(Move);
    OutCentre = Position + Move;
    return true;
}

/** True when no triangle of the fan, its vertex at NewPosition, faces away from where it faced. */
bool FRemesher::FanKeepsOrientation(const FVector& NewPosition) const
{
    for (const FFanTriangle& Triangle : Fan)
    {
        const FVector NewCross = (Triangle.Next - NewPosition).Cross(Triangle.Previous - NewPosition);
        if (Triangle.Cross != FVector::ZeroVector && NewCross.Dot(Triangle.Cross) <= 0.0)
        {
            return false;
        }
    }
    return true;
}

/**
 * Moves the vertex a share SmoothSpeedT of the way to the area-weighted centre of its triangles, along
 * its tangent plane (the area-weighted normal's), then onto its constraint's target or the remesher's. A
 * settled vertex, near its centre already, stays.
 */
bool FRemesher::TrySmooth(int32 VertexID)
{
    if (!Mesh->IsVertex(VertexID) || !CanMoveVertex(VertexID))
    {
        return false;
    }
    const FVector Position = Mesh->GetVertex(VertexID);
    FVector NewPosition = Position;
    GatherFan(VertexID);
    if (bEnableSmoothing)
    {
        FVector Centre;
        if (!TangentialCentre(Position, Centre) ||
            DistanceSquared(Centre, Position) < Square(SettledShare * GetVertexTargetLength(VertexID)))
        {
            return false;
        }
        NewPosition = Position + (Centre - Position) * SmoothSpeedT;
    }
    if (IProjectionTarget* Target = VertexProjectionTarget(VertexID))
    {
        NewPosition = Target->Project(NewPosition, VertexID);
    }
    if (NewPosition == Position || (bPreventNormalFlips && !FanKeepsOrientation(NewPosition)))
    {
        return false;
    }
    Mesh->SetVertex(VertexID, NewPosition);
    return true;
}

IProjectionTarget* FRemesher::VertexProjectionTarget(int32 VertexID) const
{
    IProjectionTarget* Target =
        Constraints.HasVertexConstraint(VertexID) ? Constraints.GetVertexConstraint(VertexID).Target : nullptr;
    return Target ? Target : ProjectionTarget;
}

/**
 * Shape flips over the pass's edges first, a Delaunay flip pass; then the corners of the triangles still
 * under 30 degrees move to better shapes.
 */
void FRemesher::CleanUpPass()
{
    RelocationVertices.Reset();
    ++ThinnessStamp;
    for (const int32 EdgeID : PassEdges)
    {
        TryShapeFlip(EdgeID);
    }
    for (const int32 VertexID : RelocationVertices)
    {
        RelocationMarks[VertexID] = 0;
        if (TryRelocate(VertexID))
        {
            ++Stats.VerticesMoved;
        }
    }
}

/**
 * Two triangles whose smallest angles reach 45 degrees have no obtuse angle, so their edge is already the
 * Delaunay one and no flip could widen them; neither is thin either. Most edges stop there, on thinness
 * measured once per triangle.
 */
bool FRemesher::TryShapeFlip(int32 EdgeID)
{
    if (!Mesh->IsEdge(EdgeID))
    {
        return false;
    }
    const FIndex2i EdgeTris = Mesh->GetEdgeT(EdgeID);
    if (EdgeTris.B == FDynamicMesh3::InvalidID ||
        std::max(MeasuredThinness(EdgeTris.A), MeasuredThinness(EdgeTris.B)) <= TriangleShape::Thinness45Degrees)
    {
        return false;
    }
    FFlipQuad Quad;
    if (!GetFlipQuad(EdgeID, Quad))
    {
        return false;
    }
    LoadCorners(Quad);
    Quad.Before = {MeasuredThinness(EdgeTris.A), MeasuredThinness(EdgeTris.B)};
    MeasureShapesAfter(Quad);
    const bool bFlipped = Quad.After.Thinnest() < Quad.Before.Thinnest() - ShapeFlipMargin &&
                          FlipFoldsNothing(Quad) && ApplyFlip(Quad);
    if (bFlipped)
    {
        // Both triangles changed: the edges that meet them later measure them again.
        for (const int32 TriangleID : {EdgeTris.A, EdgeTris.B})
        {
            ThinnessStamps[TriangleID] = ThinnessStamp - 1;
        }
    }
    MarkThinCorners(Quad, bFlipped);
    return bFlipped;
}

double FRemesher::MeasuredThinness(int32 TriangleID)
{
    if (TriangleID >= ThinnessStamps.Num())
    {
        ThinnessStamps.SetNum(Mesh->MaxTriangleID(), 0);
        Thinnesses.SetNum(Mesh->MaxTriangleID(), 0.0);
    }
    // Unchecked: both arrays now reach past the ID.
    int32& Stamp = ThinnessStamps.GetData()[TriangleID];
    double& Thinness = Thinnesses.GetData()[TriangleID];
    if (Stamp != ThinnessStamp)
    {
        const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
        Thinness = TriangleThinness(Mesh->GetVertex(Tri.A), Mesh->GetVertex(Tri.B), Mesh->GetVertex(Tri.C));
        Stamp = ThinnessStamp;
    }
    return Thinness;
}

void FRemesher::MarkThinCorners(const FFlipQuad& Quad, bool bFlipped)
{
    const FQuadShapes& Shapes = bFlipped ? Quad.After : Quad.Before;
    const FIndex3i Tris[2] = {bFlipped ? FIndex3i{Quad.C, Quad.D, Quad.B} : FIndex3i{Quad.A, Quad.B, Quad.C},
                              bFlipped ? FIndex3i{Quad.D, Quad.C, Quad.A} : FIndex3i{Quad.B, Quad.A, Quad.D}};
    for (int32 Side = 0; Side < 2; ++Side)
    {
        if (Shapes.Thinness[Side] > TriangleShape::Thinness30Degrees)
        {
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                MarkForRelocation(Tris[Side][Corner]);
            }
        }
    }
}

void FRemesher::MarkForRelocation(int32 VertexID)
{
    if (VertexID >= RelocationMarks.Num())
    {
        RelocationMarks.SetNum(Mesh->MaxVertexID(), 0);
    }
    if (RelocationMarks[VertexID] == 0)
    {
        RelocationMarks[VertexID] = 1;
        RelocationVertices.Add(VertexID);
    }
}

/**
 * Tries the fan's ideal centre, then half and a quarter of the way to it, each along the tangent plane and
 * back onto the surface, and takes the first that makes the fan's thinnest triangle less thin, keeps the
 * neighbours apart and, under bPreventNormalFlips, turns no triangle over.
 */
bool FRemesher::TryRelocate(int32 VertexID)
{
    if (!Mesh->IsVertex(VertexID) || !CanMoveVertex(VertexID))
    {
        return false;
    }
    const FVector Position = Mesh->GetVertex(VertexID);
    GatherFan(VertexID);
    const double Thinnest = FanThinnest(Position);
    if (Thinnest <= TriangleShape::Thinness30Degrees)
    {
        return false;
    }
    const FVector Move = FanIdealCentre(Position) - Position;
    const double Nearest = RelocationNearest * GetVertexTargetLength(VertexID);
    IProjectionTarget* Target = VertexProjectionTarget(VertexID);
    const auto IsBetter = [&](const FVector& Candidate)
    { return FanThinnest(Candidate) < Thinnest && FanKeepsNeighboursApart(Position, Candidate, Nearest); };
    for (const double Share : {1.0, 0.5, 0.25})
    {
        FVector NewPosition = Position + Move * Share;
        // Projection costs more than the checks and moves the point little: it waits for a likely move.
        if (!IsBetter(NewPosition))
        {
            continue;
        }
        if (Target)
        {
            NewPosition = Target->Project(NewPosition, VertexID);
        }
        if (IsBetter(NewPosition) && (!bPreventNormalFlips || FanKeepsOrientation(NewPosition)))
        {
            Mesh->SetVertex(VertexID, NewPosition);
            return true;
        }
    }
    return false;
}

double FRemesher::FanThinnest(const FVector& Position) const
{
    double Thinnest = -1.0;
    for (const FFanTriangle& Triangle : Fan)
    {
        Thinnest = std::max(Thinnest, TriangleThinness(Position, Triangle.Next, Triangle.Previous));
    }
    return Thinnest;
}

/** Each outer edge's equilateral apex lies on the vertex's side of it, within the fan's tangent plane. */
FVector FRemesher::FanIdealCentre(const FVector& Position) const
{
    FVector Normal = FVector::ZeroVector;
    for (const FFanTriangle& Triangle : Fan)
    {
        Normal += Triangle.Cross;
    }
    Normal = Normal.GetSafeNormal(0.0);
    FVector Sum = FVector::ZeroVector;
    for (const FFanTriangle& Triangle : Fan)
    {
        const FVector Edge = Triangle.Previous - Triangle.Next;
        const FVector Middle = (Triangle.Next + Triangle.Previous) * 0.5;
        FVector Inward = Normal.Cross(Edge).GetSafeNormal(0.0);
        if (Inward.Dot(Position - Middle) < 0.0)
        {
            Inward = -Inward;
        }
        Sum += Middle + Inward * (0.5 * std::sqrt(3.0) * Edge.Size());
    }
    FVector Move = Sum / static_cast<double>(Fan.Num()) - Position;
    Move -= Normal * Normal.Dot(Move);
    return Position + Move;
}

bool FRemesher::FanKeepsNeighboursApart(const FVector& Position, const FVector& NewPosition, double Nearest) const
{
    double NearestBefore = std::numeric_limits<double>::max();
    double NearestAfter = std::numeric_limits<double>::max();
    for (const FFanTriangle& Triangle : Fan)
    {
        NearestBefore = std::min(NearestBefore, DistanceSquared(Position, Triangle.Next));
        NearestAfter = std::min(NearestAfter, DistanceSquared(NewPosition, Triangle.Next));
    }
    return NearestAfter >= std::min(NearestBefore, Square(Nearest));
}
