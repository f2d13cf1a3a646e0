#include "CliTestFixture.h"
#include "Support/Assimp/AssimpTestScene.h"

#include <assimp/scene.h>
#include <nlohmann/json.hpp>

using nlohmann::json;
using testing::HasSubstr;

namespace
{
using InfoBoundsTest = CliTest;

std::string FormatBox(double X0, double Y0, double Z0, double X1, double Y1, double Z1)
{
    return *FString::Printf("%.9g,%.9g,%.9g,%.9g,%.9g,%.9g", X0, Y0, Z0, X1, Y1, Z1);
}

std::string DeletedMessage(const FCliRun& Run)
{
    const size_t Start = Run.Out.find("note: Deleted ");
    return Start == std::string::npos ? std::string()
                                      : Run.Out.substr(Start, Run.Out.find('\n', Start) - Start);
}
} // namespace

TEST_F(InfoBoundsTest, BoundsInBothFramesAndTriangleListsLetABoxOrAnIslandBeWrittenWithoutGuessing)
{
    const FCliRun Info = RunCli({"--json", "info", Character, "--tris"});
    ASSERT_EQ(Info.ExitCode, 0) << Info.Err;
    EXPECT_THAT(Info.Err, HasSubstr("    bounds in host axes (Z up, centimetres): min ("));
    EXPECT_THAT(Info.Err, HasSubstr("    bounds in the file's axes (Y up, metres): min ("));
    EXPECT_THAT(
        Info.Err,
        HasSubstr("  islands (1; island:ID takes any ID of one):\n    island 0: 48 triangles: 0-47\n"));
    const json Asset = json::parse(Info.Out)["assets"][0];
    const json& Host = Asset["lods"][0]["bounds"];
    const json& File = Asset["lods"][0]["fileBounds"];
    for (const char* Corner : {"min", "max"})
    {
        // glTF is Y up in metres: file (x, y, z) = host (x, z, -y) / 100, so the file's minimum z is -max y.
        const json& Other = Host[std::string(Corner) == "min" ? "max" : "min"];
        EXPECT_DOUBLE_EQ(File[Corner][0].get<double>(), Host[Corner][0].get<double>() / 100);
        EXPECT_DOUBLE_EQ(File[Corner][1].get<double>(), Host[Corner][2].get<double>() / 100);
        EXPECT_DOUBLE_EQ(File[Corner][2].get<double>(), -Other[1].get<double>() / 100);
    }
    int32 Listed = 0;
    for (const json& Slot : Asset["triangleLists"]["slots"])
    {
        Listed += Slot["triangles"].get<int32>();
    }
    EXPECT_EQ(Listed, 48);

    // The left half of the grid, once in host coordinates and once in the file's: the same triangles.
    const double MinX = Host["min"][0], MinY = Host["min"][1], MinZ = Host["min"][2];
    const double MaxY = Host["max"][1], MaxZ = Host["max"][2];
    const double MidX = (MinX + Host["max"][0].get<double>()) / 2;
    const std::string HostBox = "box:" + FormatBox(MinX - 1, MinY - 1, MinZ - 1, MidX, MaxY + 1, MaxZ + 1);
    const std::string FileBox = "box@file:" + FormatBox((MinX - 1) / 100, (MinZ - 1) / 100, -(MaxY + 1) / 100,
                                                        MidX / 100, (MaxZ + 1) / 100, -(MinY - 1) / 100);
    const auto Delete = [&](const std::string& Box, const char* Out)
    {
        return RunCli({"run", Character, "--tool", "Delete Polygons", "--select", Box, "--press",
                       "Delete Selected Polygons", "--out", Path(Out)});
    };
    const FCliRun ByHost = Delete(HostBox, "host");
    const FCliRun ByFile = Delete(FileBox, "file");
    ASSERT_EQ(ByHost.ExitCode, 0) << ByHost.Err;
    ASSERT_EQ(ByFile.ExitCode, 0) << ByFile.Err;
    EXPECT_EQ(DeletedMessage(ByFile), DeletedMessage(ByHost));
    EXPECT_EQ(CountFileTriangles(FString(Path("file/character.glb"))), 24);
}

TEST_F(InfoBoundsTest, AnFbxFileShowsHostBoundsOnlyAndRefusesFileBoxes)
{
    const std::string Fbx = Path("scene.fbx");
    ASSERT_EQ(ExportAssimpTestScene(*BuildAssimpTestScene(), "fbxa", Fbx), "");

    const FCliRun Info = RunCli({"info", Fbx});
    const FCliRun Run = RunCli({"run", Fbx, "--tool", "Delete Polygons", "--select", "box@file:0,0,0,1,1,1"});

    EXPECT_THAT(Info.Out,
                HasSubstr("  the file's axes are unknown: an FBX file names its own up axis and unit\n"));
    EXPECT_THAT(Info.Out, testing::Not(HasSubstr("bounds in the file's axes")));
    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err,
                HasSubstr("box@file: the file's axes are unknown: an FBX file names its own up axis and "
                          "unit; use box: with the host's coordinates (rivet info prints the bounds in "
                          "both)"));
}
