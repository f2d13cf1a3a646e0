#include "CliTestFixture.h"
#include "PngReading.h"
#include "RivetCli/Render/RenderPalette.h"
#include "Support/Assimp/AssimpTestScene.h"

#include <assimp/scene.h>

#include <filesystem>

using testing::HasSubstr;

namespace
{
using RenderCommandTest = CliTest;

/** Pixels of the mesh area whose colour leans to the slot's: its palette colour under some light. */
int32 CountSlotPixels(const FDecodedPng& Image, int32 Slot)
{
    const FRenderColor Color = RenderPalette::SlotColor(Slot);
    int32 Count = 0;
    for (int Y = 0; Y < Image.Height - 80; ++Y)
    {
        for (int X = 0; X < Image.Width; ++X)
        {
            const uint32 Pixel = Image.Pixel(X, Y);
            const double R = Pixel >> 16, G = (Pixel >> 8) & 255, B = Pixel & 255;
            // Lighting scales every channel alike, so the ratios of the palette colour remain.
            Count += R > 0 && std::abs(G / R - double(Color.G) / Color.R) < 0.05 &&
                     std::abs(B / R - double(Color.B) / Color.R) < 0.05;
        }
    }
    return Count;
}
} // namespace

TEST_F(RenderCommandTest, RendersAnFbxCharacterWithItsSlotsColouredAndTheSameBytesEachTime)
{
    const std::string Fbx = Path("scene.fbx");
    ASSERT_EQ(ExportAssimpTestScene(*BuildAssimpTestScene(), "fbxa", Fbx), "");

    const FCliRun First = RunCli({"render", Fbx, "--out", Path("first.png"), "--view", "front"});
    const FCliRun Second = RunCli({"render", Fbx, "--out", Path("second.png"), "--view", "front"});

    ASSERT_EQ(First.ExitCode, 0) << First.Err;
    EXPECT_THAT(First.Out, HasSubstr("rendered " + Fbx + ": LOD 0, 6 triangles, front view, 800x800 -> "));
    EXPECT_EQ(ReadBytes(FString(Path("first.png"))), ReadBytes(FString(Path("second.png"))));
    FDecodedPng Image;
    ASSERT_TRUE(DecodePngFile(Path("first.png"), Image));
    EXPECT_EQ(Image.Width, 800);
    EXPECT_EQ(Image.Height, 800);
    // Skin is 4 triangles of the file, Cloth 2: their areas on the image are about 2 : 1.
    const int32 Skin = CountSlotPixels(Image, 0);
    const int32 Cloth = CountSlotPixels(Image, 1);
    EXPECT_GT(Cloth, 10000);
    EXPECT_NEAR(double(Skin) / Cloth, 2.0, 0.2);
}

TEST_F(RenderCommandTest, EveryOptionDrawsAndTheSelectionIsHighlighted)
{
    const std::vector<std::vector<std::string>> Options = {
        {"--view", "top", "--select", "slot:Slot_1", "--size", "300x200"},
        {"--view", "three-quarter", "--perspective", "--wireframe", "--color-by", "weights:Arm"},
        {"--view", "back", "--color-by", "bone:Head", "--bone-edit", "Spine:rotation=0,45,0"},
        {"--view", "left", "--color-by", "island", "--lod", "0"},
    };
    for (const std::vector<std::string>& Extra : Options)
    {
        std::vector<std::string> Args = {"render", Character, "--out", Path("picture.png")};
        Args.insert(Args.end(), Extra.begin(), Extra.end());
        const FCliRun Run = RunCli(Args);
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        FDecodedPng Image;
        ASSERT_TRUE(DecodePngFile(Path("picture.png"), Image)) << Extra[1];
    }
    FDecodedPng Selected;
    ASSERT_TRUE(RunCli({"render", Character, "--out", Path("selected.png"), "--view", "top", "--select",
                        "slot:Slot_1"})
                    .ExitCode == 0);
    ASSERT_TRUE(DecodePngFile(Path("selected.png"), Selected));
    EXPECT_GT(CountSlotPixels(Selected, 0), 1000);
    EXPECT_EQ(CountSlotPixels(Selected, 1), 0) << "slot 1 is drawn in the highlight";
}

TEST_F(RenderCommandTest, RefusesBadOptionsAndWritesNothing)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> Cases = {
        {{"--view", "side"}, "--view 'side': expected front, back, left, right, top or three-quarter"},
        {{"--size", "800"}, "--size '800': expected WIDTHxHEIGHT, each from 16 to 8192 pixels"},
        {{"--size", "10x10"}, "--size '10x10'"},
        {{"--color-by", "weights:"},
         "'weights:' is not a coloring (slot, bone:NAME, weights:NAME or island)"},
        {{"--color-by", "weights:Tail"}, "no bone 'Tail'"},
        {{"--bone-edit", "Tail:scale=2"}, "no bone 'Tail'"},
        {{"--bone-edit", "Spine"}, "got 'Spine'"},
        {{"--select", "slot:Nope"}, "--select: no material slot 'Nope'"},
        {{"--select", "all", "--lod", "1"}, "--select paints LOD 0: it cannot be combined with --lod"},
        {{"--lod", "3"}, "no LOD 3 with geometry (the mesh has 1 LODs)"},
    };
    for (const auto& [Extra, Message] : Cases)
    {
        std::vector<std::string> Args = {"render", Character, "--out", Path("refused.png")};
        Args.insert(Args.end(), Extra.begin(), Extra.end());
        const FCliRun Run = RunCli(Args);
        EXPECT_EQ(Run.ExitCode, 2) << Extra[0];
        EXPECT_THAT(Run.Err, HasSubstr(Message));
        EXPECT_FALSE(std::filesystem::exists(Path("refused.png")));
    }
    EXPECT_EQ(RunCli({"render", Character, "--out", Path("no/such/folder/x.png")}).ExitCode, 2);
}

TEST_F(RenderCommandTest, RunAndScriptSnapshotsDrawTheSelectionBeforeAndTheResultAfter)
{
    const std::string Script =
        WriteScript("edit.rivet", "open character.glb\ntool Delete Polygons\n"
                                  "select slot:Slot_1\npress Delete Selected Polygons\n");
    const std::vector<std::vector<std::string>> Commands = {
        {"run", Character, "--tool", "Delete Polygons", "--select", "slot:Slot_1", "--press",
         "Delete Selected Polygons", "--out", Path("run"), "--snapshot", Path("run-pictures")},
        {"script", Script, "--out", Path("script"), "--snapshot", Path("script-pictures")},
    };
    for (const std::vector<std::string>& Command : Commands)
    {
        const std::string Folder = Command.back();
        const FCliRun Run = RunCli(Command);

        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_THAT(Run.Out, HasSubstr("pictures: " + Folder + "/before.png, " + Folder + "/after.png"));
        FDecodedPng Before;
        FDecodedPng After;
        ASSERT_TRUE(DecodePngFile(Folder + "/before.png", Before));
        ASSERT_TRUE(DecodePngFile(Folder + "/after.png", After));
        EXPECT_EQ(CountSlotPixels(Before, 1), 0) << "the selection is highlighted";
        EXPECT_EQ(CountSlotPixels(After, 1), 0) << "the selection is gone";
        EXPECT_GT(CountSlotPixels(After, 0), 1000);
        EXPECT_NE(Before.Rgb, After.Rgb);
    }
}
