#include "RivetCli/Selection/SelectionTerm.h"

#include <gtest/gtest.h>

// Keywords ignore case and spaces around the parts are allowed; the term keeps its text trimmed.
TEST(SelectionTermTest, ParsesEveryFormInAnyCaseAndMarksRemovals)
{
    using enum ESelectionTermKind;
    const FVector One(1.0, 1.0, 1.0);
    const std::pair<const char*, FSelectionTerm> Cases[] = {
        {"all", {.Kind = All}},
        {"ALL", {.Kind = All}},
        {"-all", {.Kind = All, .bRemove = true}},
        {"slot:Eyes", {.Kind = Slot, .Name = "Eyes"}},
        {"slot:12", {.Kind = Slot, .SlotIndex = 12}},
        {"slot:2b", {.Kind = Slot, .Name = "2b"}},
        {"  - SLOT : Eyes  ", {.Kind = Slot, .bRemove = true, .Text = "- SLOT : Eyes", .Name = "Eyes"}},
        {"bone:Head", {.Kind = Bone, .Name = "Head"}},
        {"-bone:Head:0.25", {.Kind = Bone, .bRemove = true, .Name = "Head", .MinWeight = 0.25}},
        {"bone:Head:1", {.Kind = Bone, .Name = "Head", .MinWeight = 1.0}},
        // Bone names may hold colons: only a last part that reads as a number is a weight.
        {"bone:rig:Hips:0.5", {.Kind = Bone, .Name = "rig:Hips", .MinWeight = 0.5}},
        {"bone:rig:Hips", {.Kind = Bone, .Name = "rig:Hips"}},
        {"Bone: Head : 0.5 ", {.Kind = Bone, .Text = "Bone: Head : 0.5", .Name = "Head", .MinWeight = 0.5}},
        {"box:4,-1,0.5,1,2,-3e0",
         {.Kind = Box, .BoxMin = FVector(1.0, -1.0, -3.0), .BoxMax = FVector(4.0, 2.0, 0.5)}},
        {"-box@file: 0 ,0,0, 1,1,1", {.Kind = Box, .bRemove = true, .BoxMax = One, .bFileCoordinates = true}},
        {"tris:7,1-3,2,5-5", {.Kind = Triangles, .Triangles = {{7, 7}, {1, 3}, {2, 2}, {5, 5}}}},
        {"-Tris: 1 - 3 , 5 ",
         {.Kind = Triangles, .bRemove = true, .Text = "-Tris: 1 - 3 , 5", .Triangles = {{1, 3}, {5, 5}}}},
        {"island:9", {.Kind = Island, .Triangle = 9}},
        {"-ISLAND: 4", {.Kind = Island, .bRemove = true, .Triangle = 4}},
        {"grow", {.Kind = Grow}},
        {"Grow", {.Kind = Grow}},
        {"shrink", {.Kind = Shrink}},
        {"invert", {.Kind = Invert}},
    };
    for (auto [Text, Expected] : Cases)
    {
        if (Expected.Text.IsEmpty())
        {
            Expected.Text = Text;
        }
        FSelectionTerm Term;
        FString Error;
        EXPECT_TRUE(ParseSelectionTerm(Text, Term, Error)) << *Error;
        EXPECT_TRUE(Term == Expected) << Text;
    }
    EXPECT_TRUE(IsSelectionModifier(ESelectionTermKind::Grow));
    EXPECT_FALSE(IsSelectionModifier(ESelectionTermKind::All));
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
