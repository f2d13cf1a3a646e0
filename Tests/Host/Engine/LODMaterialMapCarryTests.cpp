#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/LODMaterialMapCarry.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Support/MeshBuilders.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
TArray<FImportedSection> SectionsOfGroups(std::initializer_list<uint16> Groups)
{
    TArray<FImportedSection> Sections;
    for (const uint16 Group : Groups)
    {
        Sections.Add(FImportedSection{.MaterialIndex = Group});
    }
    return Sections;
}

struct FCarryCase
{
    const char* Name;
    TArray<int32> Map;
    std::initializer_list<uint16> OldGroups;
    std::initializer_list<uint16> NewGroups;
    TArray<int32> Expected;
};

TEST(LODMaterialMapCarryTest, EachGroupKeepsItsEntryWhenSectionsComeAndGo)
{
    const FCarryCase Cases[] = {
        {"a middle group loses its section", {2, 0, 1}, {0, 1, 2}, {0, 2}, {2, 1}},
        {"a middle group gains a section", {2, 0}, {0, 2}, {0, 1, 2}, {2, INDEX_NONE, 0}},
        {"the first group goes, later ones move up", {INDEX_NONE, 3, 0}, {0, 1, 2}, {1, 2}, {3, 0}},
        {"a new last section needs no entry", {1, 0}, {0, 1}, {0, 1, 2}, {1, 0}},
        {"every redirected group goes", {5}, {0, 1, 2}, {1, 2}, {}},
        {"a short map stays short", {2}, {0, 1, 2}, {0, 2, 3}, {2}},
        {"the same groups keep the map as it is", {4, 0, 7, 9}, {0, 1}, {0, 1}, {4, 0, 7, 9}},
        {"an empty map stays empty", {}, {0, 1, 2}, {0, 2}, {}},
        {"a first build keeps the map it was given", {2, 1}, {}, {0, 1}, {2, 1}},
    };
    for (const FCarryCase& Case : Cases)
    {
        TArray<int32> Map = Case.Map;
        CarryLODMaterialMapToSections(Map, SectionsOfGroups(Case.OldGroups),
                                      SectionsOfGroups(Case.NewGroups));
        EXPECT_EQ(Map, Case.Expected) << Case.Name;
    }
}

/** Commits that empty a group and fill one again keep the other groups on their slots, and undo. */
TEST(LODMaterialMapCommitTest, CommitsCarryTheMapAndUndoRestoresIt)
{
    FTransactionBuffer::Get().Reset();
    USkeletalMesh* Mesh = NewObject<USkeletalMesh>(CreatePackage("/Game/MapCarry/Mesh"), FName("Mesh"));
    Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(0, BuildSkinnedGrid({.QuadsX = 6, .NumGroups = 3}));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    Mesh->GetLODInfo(0)->LODMaterialMap = {2, INDEX_NONE, 0};
    const auto Groups = [Mesh](int32 Group)
    {
        return Mesh->GetMeshDescription(0)->GetPolygonGroupPolygonIDs(FPolygonGroupID(Group));
    };
    const auto MovePolygon = [Mesh, &Groups](int32 From, int32 To)
    {
        Mesh->GetMeshDescription(0)->SetPolygonPolygonGroup(*Groups(From).begin(), FPolygonGroupID(To));
    };

    {
        FScopedTransaction Transaction(FText::FromString("Move group 1"));
        Mesh->ModifyMeshDescription(0);
        const int32 NewGroup = Mesh->GetMeshDescription(0)->CreatePolygonGroup().GetValue();
        while (!Groups(1).IsEmpty())
        {
            MovePolygon(1, NewGroup);
        }
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{2, 0})) << "sections of groups 0, 2 and 3";
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{2, INDEX_NONE, 0}));
    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{2, 0}));

    // Group 1 takes a polygon back: its new section sits between two redirected ones.
    MovePolygon(0, 1);
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{2, INDEX_NONE, 0}))
        << "sections of groups 0, 1, 2 and 3";
}
} // namespace
