// Our sub-region remesher against CGAL's isotropic remeshing: the same region, target edge length (the
// region's average), pass count (10) and protected edges (the region's border, its seams and attribute
// borders), on a region of the demo character, an irregular surface of long thin triangles and half of a
// skinned grid. The sides take turns, round after round (the median of several rounds after a warm-up;
// one round for the largest input), and the results are measured the same way. Ours runs twice: as the
// remesh operation drives it, and with the remesher's curvature-adaptive sizing. Run by hand:
// build/Benchmarks/RemeshComparison
#include "RemeshComparison/CgalRemesh.h"
#include "RemeshComparison/RemeshQuality.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/DynamicSubmesh3.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "RivetCli/Demo/DemoBody.h"
#include "RivetCli/Demo/DemoRig.h"
#include "Support/GridMeshes.h"
#include "Support/RegionRemesh.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr int32 Passes = 10;

struct FInput
{
    const char* Name;
    FDynamicMesh3 Mesh;
    TArray<int32> Region;
    /** Timed runs per side, after one warm-up run when more than one. */
    int32 Runs;
};

/** The demo figure's shirt (torso and arms). */
FInput DemoCharacterInput()
{
    const FDemoRig Rig;
    FInput Input{"(a) demo character, shirt", FDynamicMesh3(), {}, 15};
    FMeshDescriptionToDynamicMesh().Convert(BuildDemoBody(Rig, FDemoTessellation()), Input.Mesh);
    const auto Slots = GetDemoSlots();
    const int32 Shirt = static_cast<int32>(
        std::find_if(Slots.begin(), Slots.end(), [](const FDemoSlot& Slot) { return std::strcmp(Slot.Name, "Shirt") == 0; }) -
        Slots.begin());
    for (const int32 TriangleID : Input.Mesh.TriangleIndices())
    {
        if (Input.Mesh.Attributes()->GetMaterialID()->GetValue(TriangleID) == Shirt)
        {
            Input.Region.Add(TriangleID);
        }
    }
    return Input;
}

/**
 * A wavy sheet of 1000 by 100 quads whose columns are 20 times narrower than its rows, at random widths
 * and heights, each quad cut along a random diagonal: 200,000 long thin triangles, all in the region.
 */
FInput IrregularSurfaceInput()
{
    constexpr int32 Columns = 1000;
    constexpr int32 Rows = 100;
    std::mt19937 Random(20);
    std::uniform_real_distribution<double> Width(0.02, 0.08);
    std::uniform_real_distribution<double> Height(0.5, 1.5);
    std::vector<double> Xs{0.0};
    std::vector<double> Ys{0.0};
    for (int32 Column = 0; Column < Columns; ++Column)
    {
        Xs.push_back(Xs.back() + Width(Random));
    }
    for (int32 Row = 0; Row < Rows; ++Row)
    {
        Ys.push_back(Ys.back() + Height(Random));
    }
    FInput Input{"(b) irregular thin triangles", FDynamicMesh3(), {}, 3};
    for (const double Y : Ys)
    {
        for (const double X : Xs)
        {
            Input.Mesh.AppendVertex(FVector(X, Y, 3.0 * std::sin(0.2 * X) * std::cos(0.05 * Y)));
        }
    }
    const auto Vertex = [](int32 Column, int32 Row) { return Row * (Columns + 1) + Column; };
    for (int32 Row = 0; Row < Rows; ++Row)
    {
        for (int32 Column = 0; Column < Columns; ++Column)
        {
            const int32 V00 = Vertex(Column, Row);
            const int32 V10 = Vertex(Column + 1, Row);
            const int32 V01 = Vertex(Column, Row + 1);
            const int32 V11 = Vertex(Column + 1, Row + 1);
            if (Random() % 2)
            {
                Input.Region.Add(Input.Mesh.AppendTriangle({V00, V10, V11}));
                Input.Region.Add(Input.Mesh.AppendTriangle({V00, V11, V01}));
            }
            else
            {
                Input.Region.Add(Input.Mesh.AppendTriangle({V00, V10, V01}));
                Input.Region.Add(Input.Mesh.AppendTriangle({V10, V11, V01}));
            }
        }
    }
    return Input;
}

/** The lower half of the benchmarks' skinned grid of Quads by Quads quads. */
FInput GridHalfInput(const char* Name, int32 Quads, int32 Runs)
{
    FInput Input{Name, GridPreview(Quads), {}, Runs};
    Input.Region = PaintedHalf(Input.Mesh);
    return Input;
}

/** The region's average edge length, each triangle's three edges counted, as the remesh operation does. */
double AverageEdgeLength(const FDynamicMesh3& Mesh, const TArray<int32>& Region)
{
    double Sum = 0.0;
    for (const int32 TriangleID : Region)
    {
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            Sum += (Mesh.GetVertex(Tri[Corner]) - Mesh.GetVertex(Tri[(Corner + 1) % 3])).Size();
        }
    }
    return Sum / (3.0 * Region.Num());
}

double Median(std::vector<double> Values)
{
    std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
    return Values[Values.size() / 2];
}

/**
 * Runs each side (which returns its time and keeps its result) once per round, Runs rounds after a
 * warm-up round, so that a changing load on the machine falls on every side alike; each side's median.
 */
std::vector<double> TimeInRounds(int32 Runs, const std::vector<std::function<double()>>& Sides)
{
    std::vector<std::vector<double>> Seconds(Sides.size());
    for (int32 Round = Runs > 1 ? -1 : 0; Round < Runs; ++Round)
    {
        for (size_t Side = 0; Side < Sides.size(); ++Side)
        {
            const double Time = Sides[Side]();
            if (Round >= 0)
            {
                Seconds[Side].push_back(Time);
            }
        }
    }
    std::vector<double> Medians;
    for (const std::vector<double>& Times : Seconds)
    {
        Medians.push_back(Median(Times));
    }
    return Medians;
}

void PrintQuality(const char* Label, const FRemeshQuality& Quality)
{
    std::printf("  %-9s %9d %9.2f %8.1f%% %8.3f %8.1f%% %10.4f%%\n", Label, Quality.Triangles, Quality.MinAngle,
                100.0 * Quality.ShareBelow30, Quality.EdgeLengthCV, 100.0 * Quality.Valence6Share,
                100.0 * Quality.Hausdorff);
}

/**
 * The sag adaptive sizing allows, as a share of the region's bounding-box diagonal: less than half the
 * distance the comparison aims to stay within (its triangles sag further than a sphere's would).
 */
constexpr double AdaptiveDeviationShare = 0.002;

double AdaptiveDeviation(const FDynamicMesh3& Region)
{
    FVector Min(std::numeric_limits<double>::max());
    FVector Max(-std::numeric_limits<double>::max());
    for (const int32 VertexID : Region.VertexIndices())
    {
        Min = Min.ComponentMin(Region.GetVertex(VertexID));
        Max = Max.ComponentMax(Region.GetVertex(VertexID));
    }
    return AdaptiveDeviationShare * (Max - Min).Size();
}

/**
 * Our remesh of the input, timed; the region afterwards in OutRegion when given. Like CGAL's protected
 * edges, the constraints are made before the clock starts.
 */
std::function<double()> OurSide(const FInput& Input, const FMeshConstraints& Constraints, double Target,
                                double MaxDeviation, FDynamicMesh3* OutRegion)
{
    return [&Input, &Constraints, Target, MaxDeviation, OutRegion]
    {
        FDynamicMesh3 Mesh = Input.Mesh;
        const auto Start = std::chrono::steady_clock::now();
        const TArray<int32> Region =
            FRegionRemesh::Run(Mesh, Input.Region, Target, Passes, MaxDeviation, &Constraints);
        const auto End = std::chrono::steady_clock::now();
        if (OutRegion)
        {
            *OutRegion = FDynamicSubmesh3(&Mesh, Region).GetSubmesh();
        }
        return std::chrono::duration<double>(End - Start).count();
    };
}

/** Only our side as the operation runs it, Runs times, for a profiler: the median time and nothing else. */
void ProfileOurs(const FInput& Input, int32 Runs)
{
    const FMeshConstraints Constraints = FRegionRemesh::BuildConstraints(Input.Mesh, Input.Region);
    const double Seconds =
        TimeInRounds(Runs, {OurSide(Input, Constraints, AverageEdgeLength(Input.Mesh, Input.Region), 0.0, nullptr)})[0];
    std::printf("%s: ours %.4f s (median of %d)\n", Input.Name, Seconds, Runs);
}

void Compare(const FInput& Input)
{
    const double Target = AverageEdgeLength(Input.Mesh, Input.Region);
    const FMeshConstraints Constraints = FRegionRemesh::BuildConstraints(Input.Mesh, Input.Region);
    TArray<int32> ProtectedEdges;
    for (const auto& [EdgeID, Constraint] : Constraints.GetEdgeConstraints())
    {
        ProtectedEdges.Add(EdgeID);
    }
    const FDynamicMesh3 Original = FDynamicSubmesh3(&Input.Mesh, Input.Region).GetSubmesh();
    const double Deviation = AdaptiveDeviation(Original);

    FDynamicMesh3 Ours;
    FDynamicMesh3 Adaptive;
    FDynamicMesh3 Peer;
    const auto CgalSide = [&]
    {
        FCgalRemeshResult Result = RemeshWithCgal(Input.Mesh, Input.Region, ProtectedEdges, Target, Passes);
        Peer = std::move(Result.Region);
        return Result.Seconds;
    };
    const std::vector<double> Seconds = TimeInRounds(
        Input.Runs, {OurSide(Input, Constraints, Target, 0.0, &Ours), OurSide(Input, Constraints, Target, Deviation, &Adaptive),
                     CgalSide});
    const double OurSeconds = Seconds[0];
    const double AdaptiveSeconds = Seconds[1];
    const double PeerSeconds = Seconds[2];

    std::printf("\n%s: %d of %d triangles, target edge length %.4f, %d protected edges\n", Input.Name,
                Input.Region.Num(), Input.Mesh.TriangleCount(), Target, ProtectedEdges.Num());
    std::printf("  time: ours %.3f s (%.2f us per region triangle), adaptive %.3f s, CGAL %.3f s; CGAL / ours = "
                "%.2f, CGAL / adaptive = %.2f\n",
                OurSeconds, 1e6 * OurSeconds / Input.Region.Num(), AdaptiveSeconds, PeerSeconds,
                PeerSeconds / OurSeconds, PeerSeconds / AdaptiveSeconds);
    std::printf("  %-9s %9s %9s %9s %8s %9s %11s\n", "", "triangles", "min angle", "< 30 deg", "edge CV", "valence 6",
                "Hausdorff");
    PrintQuality("before", MeasureRemeshQuality(Original, Original));
    PrintQuality("ours", MeasureRemeshQuality(Ours, Original));
    PrintQuality("adaptive", MeasureRemeshQuality(Adaptive, Original));
    PrintQuality("CGAL", MeasureRemeshQuality(Peer, Original));
}
} // namespace

int main(int ArgCount, char** Args)
{
    // "--quick" leaves out the largest grid; "--only=ab" runs only the inputs whose letters it lists;
    // "--profile=N" runs only our side N times on each, for a profiler.
    bool bQuick = false;
    const char* Only = "abc";
    int32 ProfileRuns = 0;
    for (int32 Arg = 1; Arg < ArgCount; ++Arg)
    {
        bQuick = bQuick || std::strcmp(Args[Arg], "--quick") == 0;
        Only = std::strncmp(Args[Arg], "--only=", 7) == 0 ? Args[Arg] + 7 : Only;
        ProfileRuns = std::strncmp(Args[Arg], "--profile=", 10) == 0 ? std::atoi(Args[Arg] + 10) : ProfileRuns;
    }
    const auto Run = [ProfileRuns](const FInput& Input)
    { ProfileRuns > 0 ? ProfileOurs(Input, ProfileRuns) : Compare(Input); };
    const auto Wanted = [Only](char Letter) { return std::strchr(Only, Letter) != nullptr; };
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("Sub-region remesher against CGAL isotropic_remeshing, %d passes at the region's average edge length\n",
                Passes);
    if (Wanted('a'))
    {
        Run(DemoCharacterInput());
    }
    if (Wanted('b'))
    {
        Run(IrregularSurfaceInput());
    }
    if (Wanted('c'))
    {
        Run(GridHalfInput("(c) half of a 250k-triangle grid", 354, 3));
        if (!bQuick)
        {
            Run(GridHalfInput("(c) half of a 1M-triangle grid", 707, 1));
        }
    }
    return 0;
}
