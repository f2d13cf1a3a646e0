#include "RivetCli/Selection/SelectionTerm.h"

#include <gtest/gtest.h>

namespace
{
FSelectionTerm Parse(const FString& Text)
{
    FSelectionTerm Term;
    FString Error;
    EXPECT_TRUE(ParseSelectionTerm(Text, Term, Error)) << *Error;
    return Term;
}
} // namespace

TEST(SelectionTermTest, ParsesEveryFormInAnyCaseAndMarksRemovals)
{
    EXPECT_EQ(Parse("all").Kind, ESelectionTermKind::All);

    const FSelectionTerm ByName = Parse("slot:Eyes");
    EXPECT_EQ(ByName.Kind, ESelectionTermKind::Slot);
    EXPECT_EQ(ByName.Name, "Eyes");
    EXPECT_EQ(ByName.SlotIndex, INDEX_NONE);
    const FSelectionTerm ByIndex = Parse("slot:12");
    EXPECT_TRUE(ByIndex.Name.IsEmpty());
    EXPECT_EQ(ByIndex.SlotIndex, 12);
    EXPECT_EQ(Parse("slot:2b").Name, "2b");

    const FSelectionTerm Bone = Parse("bone:Head");
    EXPECT_EQ(Bone.Kind, ESelectionTermKind::Bone);
    EXPECT_EQ(Bone.Name, "Head");
    EXPECT_EQ(Bone.MinWeight, 0.0);
    EXPECT_EQ(Parse("bone:Head:0.25").MinWeight, 0.25);
    EXPECT_EQ(Parse("bone:Head:1").MinWeight, 1.0);
    // Bone names may hold colons: only a last part that reads as a number is a weight.
    const FSelectionTerm Rigged = Parse("bone:rig:Hips:0.5");
    EXPECT_EQ(Rigged.Name, "rig:Hips");
    EXPECT_EQ(Rigged.MinWeight, 0.5);
    EXPECT_EQ(Parse("bone:rig:Hips").Name, "rig:Hips");

    const FSelectionTerm Box = Parse("box:4,-1,0.5,1,2,-3e0");
    EXPECT_EQ(Box.Kind, ESelectionTermKind::Box);
    EXPECT_EQ(Box.BoxMin, FVector(1.0, -1.0, -3.0));
    EXPECT_EQ(Box.BoxMax, FVector(4.0, 2.0, 0.5));

    const FSelectionTerm Tris = Parse("tris:7,1-3,2,5-5");
    EXPECT_EQ(Tris.Kind, ESelectionTermKind::Triangles);
    EXPECT_EQ(Tris.Triangles, (TArray<FTriangleIDRange>{{7, 7}, {1, 3}, {2, 2}, {5, 5}}));

    const FSelectionTerm Island = Parse("island:9");
    EXPECT_EQ(Island.Kind, ESelectionTermKind::Island);
    EXPECT_EQ(Island.Triangle, 9);

    // Modifiers, and removals marked.
    EXPECT_EQ(Parse("grow").Kind, ESelectionTermKind::Grow);
    EXPECT_EQ(Parse("shrink").Kind, ESelectionTermKind::Shrink);
    EXPECT_EQ(Parse("invert").Kind, ESelectionTermKind::Invert);
    EXPECT_TRUE(IsSelectionModifier(ESelectionTermKind::Grow));
    EXPECT_FALSE(IsSelectionModifier(ESelectionTermKind::All));
    EXPECT_FALSE(Parse("slot:Eyes").bRemove);

    for (const char* Text :
         {"-all", "-slot:Eyes", "-bone:Head", "-box:0,0,0,1,1,1", "-tris:3-5", "-island:7"})
    {
        EXPECT_TRUE(Parse(Text).bRemove) << Text;
    }

    // Keywords ignore case; spaces around the parts are allowed.
    EXPECT_EQ(Parse("ALL").Kind, ESelectionTermKind::All);
    EXPECT_EQ(Parse("Grow").Kind, ESelectionTermKind::Grow);

    const FSelectionTerm Slot = Parse("  - SLOT : Eyes  ");
    EXPECT_TRUE(Slot.bRemove);
    EXPECT_EQ(Slot.Name, "Eyes");
    EXPECT_EQ(Slot.Text, "- SLOT : Eyes");

    EXPECT_EQ(Parse("Tris: 1 - 3 , 5 ").Triangles, (TArray<FTriangleIDRange>{{1, 3}, {5, 5}}));
    EXPECT_EQ(Parse("box: 0 , 0,0 , 1,1, 1").BoxMax, FVector(1.0, 1.0, 1.0));
    const FSelectionTerm Spaced = Parse("Bone: Head : 0.5 ");
    EXPECT_EQ(Spaced.Name, "Head");
    EXPECT_EQ(Spaced.MinWeight, 0.5);
    EXPECT_EQ(Parse("ISLAND: 4").Triangle, 4);
}

TEST(SelectionTermTest, RefusesBadTextNamingTheTerm)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"foo", "unknown selection 'foo' (expected all, slot:, bone:, box:, tris:, island:, grow, shrink or "
                "invert)"},
        {"",
         "unknown selection '' (expected all, slot:, bone:, box:, tris:, island:, grow, shrink or invert)"},
        {"-grow", "'grow' cannot be removed: only regions and all take '-': '-grow'"},
        {"-invert", "'invert' cannot be removed: only regions and all take '-': '-invert'"},
        {"grow:2", "'grow' takes no value: 'grow:2'"},
        {"all:x", "'all' takes no value: 'all:x'"},
        {"slot", "slot needs a slot name or index: 'slot'"},
        {"slot: ", "slot needs a slot name or index: 'slot:'"},
        {"slot:99999999999", "slot index 99999999999 is too large: 'slot:99999999999'"},
        {"bone:", "bone needs a bone name: 'bone:'"},
        {"bone::0.5", "bone needs a bone name: 'bone::0.5'"},
        {"bone:Head:2", "minimum weight must be between 0 and 1: 'bone:Head:2'"},
        {"bone:Head:-0.1", "minimum weight must be between 0 and 1: 'bone:Head:-0.1'"},
        {"bone:Hand_L:nan", "minimum weight: 'nan' is not a finite number: 'bone:Hand_L:nan'"},
        {"bone:Hand_L:1e999", "minimum weight: '1e999' is not a finite number: 'bone:Hand_L:1e999'"},
        {"box:1,2", "box needs six numbers: 'box:1,2'"},
        {"box:1,2,3,4,5,6,7", "box needs six numbers: 'box:1,2,3,4,5,6,7'"},
        {"box:1,2,3,4,5,x", "box: 'x' is not a number: 'box:1,2,3,4,5,x'"},
        {"box:1,,3,4,5,6", "box: '' is not a number: 'box:1,,3,4,5,6'"},
        {"box:0,0,0,inf,1,1", "box: 'inf' is not a finite number: 'box:0,0,0,inf,1,1'"},
        {"box:0,0,0,1e999,1,1", "box: '1e999' is not a finite number: 'box:0,0,0,1e999,1,1'"},
        {"tris:", "tris needs triangle IDs: 'tris:'"},
        {"tris:1,,2", "empty entry in the triangle list: 'tris:1,,2'"},
        {"tris:5-3", "range 5-3 is reversed: 'tris:5-3'"},
        {"tris:-3", "'-3' is not a triangle ID or range: 'tris:-3'"},
        {"tris:1-2-3", "'1-2-3' is not a triangle ID or range: 'tris:1-2-3'"},
        {"tris:1.5", "'1.5' is not a triangle ID or range: 'tris:1.5'"},
        {"island:", "island needs a triangle ID: 'island:'"},
        {"island:x", "'x' is not a triangle ID: 'island:x'"},
        {"island:3000000000", "'3000000000' is not a triangle ID: 'island:3000000000'"},
    };
    for (const auto& [Text, Message] : Cases)
    {
        FSelectionTerm Term;
        Term.Text = "untouched";
        FString Error;
        EXPECT_FALSE(ParseSelectionTerm(Text, Term, Error)) << Text;
        EXPECT_EQ(Error, Message) << Text;
        EXPECT_EQ(Term.Text, "untouched") << Text;
    }
}
