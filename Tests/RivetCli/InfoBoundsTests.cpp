#include "CliTestFixture.h"
#include "Core/Math/Box.h"
#include "Core/Math/Vector.h"
#include "Support/Assimp/AssimpTestScene.h"

#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <regex>

using nlohmann::json;
using testing::HasSubstr;

namespace
{
using InfoBoundsTest = CliTest;

std::string FormatBox(const FVector& A, const FVector& B)
{
    return *FString::Printf("%.17g,%.17g,%.17g,%.17g,%.17g,%.17g", A.X, A.Y, A.Z, B.X, B.Y, B.Z);
}

FVector ReadVector(const json& Vector)
{
    return FVector(Vector[0].get<double>(), Vector[1].get<double>(), Vector[2].get<double>());
}

std::string DeletedMessage(const FCliRun& Run)
{
    const size_t Start = Run.Out.find("note: Deleted ");
    return Start == std::string::npos ? std::string()
                                      : Run.Out.substr(Start, Run.Out.find('\n', Start) - Start);
}

/** A file, its frame as info names it, and a host point in the file's coordinates as the making program shows
 * it. */
struct FFrameCase
{
    const char* Name;
    const char* Axes;
    std::function<FVector(const FVector&)> ToFile;
};

/** The test scene as ASCII FBX whose header says Z up and inches: file coordinates are host centimetres
 * / 2.54. */
std::string WriteZUpInchesFbx(const std::string& Path)
{
    EXPECT_EQ(ExportAssimpTestScene(*BuildAssimpTestScene(), "fbxa", Path), "");
    std::string Text = ReadBytes(FString(Path));
    Text = std::regex_replace(Text, std::regex(R"(("UpAxis", "int", "Integer", "", )1)"), "$012");
    Text =
        std::regex_replace(Text, std::regex(R"(("UnitScaleFactor", "double", "Number", "", )1)"), "$012.54");
    WriteBytes(FString(Path), Text);
    return Path;
}
} // namespace

// rivet info prints each LOD's bounds in the host's frame and in the file's own, and a box@file: box in the
// file's coordinates selects what the same box: in the host's does: for glTF (Y up, metres: file (x, y, z)
// is host (x, z, -y) / 100) and for an FBX file that names its own up axis and unit.
TEST_F(InfoBoundsTest, BoundsInBothFramesAndTriangleListsLetABoxOrAnIslandBeWrittenWithoutGuessing)
{
    const FFrameCase Cases[] = {
        {"character.glb", "Y up, metres",
         [](const FVector& H)
         {
             return FVector(H.X, H.Z, -H.Y) / 100.0;
         }},
        {"inches.fbx", "Z up, inches",
         [](const FVector& H)
         {
             return H / 2.54;
         }},
    };
    WriteZUpInchesFbx(Path("inches.fbx"));
    for (const FFrameCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        const FCliRun Info = RunCli({"--json", "info", Path(Case.Name)});
        ASSERT_EQ(Info.ExitCode, 0) << Info.Err;
        EXPECT_THAT(Info.Err, HasSubstr("    bounds in host axes (Z up, centimetres): min ("));
        EXPECT_THAT(Info.Err,
                    HasSubstr(std::string("    bounds in the file's axes (") + Case.Axes + "): min ("));
        const json Asset = json::parse(Info.Out)["assets"][0];
        const FBox Host(ReadVector(Asset["lods"][0]["bounds"]["min"]),
                        ReadVector(Asset["lods"][0]["bounds"]["max"]));
        FBox Expected;
        Expected += Case.ToFile(Host.Min);
        Expected += Case.ToFile(Host.Max);
        EXPECT_TRUE(ReadVector(Asset["lods"][0]["fileBounds"]["min"]).Equals(Expected.Min, 1e-6));
        EXPECT_TRUE(ReadVector(Asset["lods"][0]["fileBounds"]["max"]).Equals(Expected.Max, 1e-6));

        // The left half, once in host coordinates and once in the file's: the same triangles.
        const FVector Low = Host.Min - FVector(1.0, 1.0, 1.0);
        const FVector High(Host.GetCenter().X, Host.Max.Y + 1.0, Host.Max.Z + 1.0);
        const auto Delete = [&](const std::string& Box, const char* Out)
        {
            return RunCli({"run", Path(Case.Name), "--tool", "Delete Polygons", "--select", Box, "--press",
                           "Delete Selected Polygons", "--out", Path(Out)});
        };
        const FCliRun ByHost = Delete("box:" + FormatBox(Low, High), "host");
        const FCliRun ByFile = Delete("box@file:" + FormatBox(Case.ToFile(Low), Case.ToFile(High)), "file");
        ASSERT_EQ(ByHost.ExitCode, 0) << ByHost.Err;
        ASSERT_EQ(ByFile.ExitCode, 0) << ByFile.Err;
        EXPECT_THAT(DeletedMessage(ByHost), HasSubstr("Deleted "));
        EXPECT_EQ(DeletedMessage(ByFile), DeletedMessage(ByHost));
    }

    const FCliRun Lists = RunCli({"--json", "info", Character, "--tris"});
    EXPECT_THAT(
        Lists.Err,
        HasSubstr("  islands (1; island:ID takes any ID of one):\n    island 0: 48 triangles: 0-47\n"));
    const json Listing = json::parse(Lists.Out);
    int32 Listed = 0;
    for (const json& Slot : Listing["assets"][0]["triangleLists"]["slots"])
    {
        Listed += Slot["triangles"].get<int32>();
    }
    EXPECT_EQ(Listed, 48);
    EXPECT_EQ(CountFileTriangles(FString(Path("file/character.glb"))), 24);
}
