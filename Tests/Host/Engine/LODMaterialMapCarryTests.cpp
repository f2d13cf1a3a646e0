#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/LODMaterialMapCarry.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshEdits.h"
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

/** A committed three-group grid whose material map sends group 0 to slot 2 and group 2 to slot 0. */
class LODMaterialMapCommitTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Mesh = NewObject<USkeletalMesh>(CreatePackage(FString::Printf("/Game/MapCarry/Mesh%d", ++Counter)),
                                        FName("Mesh"));
        Mesh->AddLODInfo();
        FSkinnedGridOptions Options;
        Options.QuadsX = 6;
        Options.NumGroups = 3;
        Mesh->CreateMeshDescription(0, BuildSkinnedGrid(Options));
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        Mesh->GetLODInfo(0)->LODMaterialMap = {2, INDEX_NONE, 0};
    }

    FMeshDescription& Description() const { return *Mesh->GetMeshDescription(0); }
    const TArray<int32>& Map() const { return Mesh->GetLODInfo(0)->LODMaterialMap; }

    TArray<FTriangleID> TrianglesOfGroup(int32 Group) const
    {
        TArray<FTriangleID> Triangles;
        for (const FTriangleID Triangle : Description().Triangles().GetElementIDs())
        {
            if (Description().GetTrianglePolygonGroup(Triangle).GetValue() == Group)
            {
                Triangles.Add(Triangle);
            }
        }
        return Triangles;
    }

    static inline int32 Counter = 0;
    USkeletalMesh* Mesh = nullptr;
};

TEST_F(LODMaterialMapCommitTest, ACommitThatEmptiesAGroupKeepsTheOthersOnTheirSlots)
{
    {
        FScopedTransaction Transaction(FText::FromString("Empty group 0"));
        Mesh->ModifyMeshDescription(0);
        DeleteTrianglesAndUnusedElements(Description(), TrianglesOfGroup(0));
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }
    EXPECT_EQ(Map(), (TArray<int32>{INDEX_NONE, 0})) << "group 2, now the second section, still draws slot 0";

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Map(), (TArray<int32>{2, INDEX_NONE, 0}));
}

TEST_F(LODMaterialMapCommitTest, ASectionOfAGroupThatHadNoneGetsNoEntry)
{
    const FPolygonGroupID NewGroup = Description().CreatePolygonGroup();
    for (const FTriangleID Triangle : TrianglesOfGroup(1))
    {
        Description().SetPolygonPolygonGroup(Description().GetTrianglePolygon(Triangle), NewGroup);
    }
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    EXPECT_EQ(Map(), (TArray<int32>{2, 0})) << "sections of groups 0, 2 and 3";

    // Group 1 takes triangles back from group 0: its new section sits between two redirected ones.
    Description().SetPolygonPolygonGroup(Description().GetTrianglePolygon(TrianglesOfGroup(0)[0]),
                                         FPolygonGroupID(1));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    EXPECT_EQ(Map(), (TArray<int32>{2, INDEX_NONE, 0})) << "sections of groups 0, 1, 2 and 3";
}
} // namespace
