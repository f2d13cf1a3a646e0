#include "Host/CoreUObject/DuplicationTestObjects.h"

#include "CoreUObject/Object/ObjectDuplication.h"

#include <gtest/gtest.h>

namespace
{
/** A package of its own for every call, so that tests never share names. */
UPackage* MakePackage()
{
    static int32 Counter = 0;
    return CreatePackage(FString::Printf("/Temp/Duplication/Package%d", Counter++));
}

int32 CountRegisteredObjects()
{
    int32 Count = 0;
    FUObjectArray::Get().ForEachObject([&Count](UObject*) { ++Count; });
    return Count;
}

/** Hero with an arm inside it and a hand inside the arm. */
struct FNodeTree
{
    UDuplicationNode* Hero = nullptr;
    UDuplicationNode* Arm = nullptr;
    UDuplicationNode* Hand = nullptr;
};

FNodeTree MakeNodeTree()
{
    FNodeTree Tree;
    Tree.Hero = NewObject<UDuplicationNode>(MakePackage(), "Hero", RF_Public | RF_Standalone);
    Tree.Arm = NewObject<UDuplicationNode>(Tree.Hero, "Arm");
    Tree.Hand = NewObject<UDuplicationNode>(Tree.Arm, "Hand", RF_Transient);
    Tree.Hero->Values = {1, 2, 3};
    Tree.Hero->Label = "hero";
    Tree.Arm->Label = "arm";
    Tree.Hand->Values = {7};
    return Tree;
}
} // namespace

TEST(ObjectDuplication, CopiesStateSubobjectsAndInternalReferencesUnderTheGivenOuterAndNameThenPostDuplicates)
{
    const FNodeTree Tree = MakeNodeTree();
    UDuplicationNode* External = NewObject<UDuplicationNode>(MakePackage(), "External");
    Tree.Hero->Target = Tree.Arm;
    Tree.Hero->Reported = External;
    Tree.Arm->Target = Tree.Hand;
    Tree.Arm->Links = {Tree.Hand, External, Tree.Hero};
    Tree.Hand->Target = Tree.Hero;
    Tree.Hand->Reported = Tree.Arm;
    Tree.Hero->AddToRoot();
    UPackage* Destination = MakePackage();

    UDuplicationNode* Copy = DuplicateObject(Tree.Hero, Destination, "HeroCopy");
    Tree.Hero->RemoveFromRoot();

    ASSERT_NE(Copy, nullptr);
    const FString Root = Destination->GetName() + ".HeroCopy";
    EXPECT_EQ(Copy->GetPathName(), Root);
    EXPECT_EQ(Copy->GetFlags(), RF_Public | RF_Standalone) << "rooting is not copied";
    EXPECT_EQ(Copy->Values, (TArray<int32>{1, 2, 3}));
    EXPECT_EQ(Copy->Label, "hero");
    UDuplicationNode* Arm = FindObject<UDuplicationNode>(Root + ".Arm");
    UDuplicationNode* Hand = FindObject<UDuplicationNode>(Root + ".Arm.Hand");
    ASSERT_TRUE(Arm && Hand);
    EXPECT_EQ(Arm->Label, "arm");
    EXPECT_EQ(Hand->Values, (TArray<int32>{7}));
    EXPECT_EQ(Hand->GetFlags(), RF_Transient);
    EXPECT_EQ(Tree.Arm->GetOuter(), Tree.Hero) << "the originals stay where they were";

    EXPECT_EQ(Copy->Target.Get(), Arm);
    EXPECT_EQ(Copy->Reported.Get(), External) << "unreflected references are followed too";
    EXPECT_EQ(Arm->Target.Get(), Hand);
    EXPECT_EQ(Arm->Links, (TArray<TObjectPtr<UDuplicationNode>>{Hand, External, Copy}));
    EXPECT_EQ(Hand->Target.Get(), Copy);
    EXPECT_EQ(Hand->Reported.Get(), Arm);
    EXPECT_EQ(Tree.Hero->Target.Get(), Tree.Arm) << "the source keeps its references";
    EXPECT_EQ(Tree.Arm->Links, (TArray<TObjectPtr<UDuplicationNode>>{Tree.Hand, External, Tree.Hero}));
    EXPECT_EQ(Tree.Hand->Reported.Get(), Tree.Arm);

    for (const UDuplicationNode* Node : {Copy, Arm, Hand})
    {
        EXPECT_EQ(Node->PostDuplicateCalls, 1) << *Node->GetPathName();
        EXPECT_EQ(Node->TargetWhenDuplicated, Node->Target.Get()) << "after the references moved";
    }
    EXPECT_TRUE(Arm->bOuterDuplicatedFirst);
    EXPECT_TRUE(Hand->bOuterDuplicatedFirst);
    for (const UDuplicationNode* Original : {Tree.Hero, Tree.Arm, Tree.Hand})
    {
        EXPECT_EQ(Original->PostDuplicateCalls, 0) << *Original->GetPathName();
    }
}

TEST(ObjectDuplication, ObjectsMarkedAsGarbageAreLeftOutWithEverythingInsideThem)
{
    const FNodeTree Tree = MakeNodeTree();
    Tree.Hero->Links = {Tree.Arm};
    Tree.Arm->MarkAsGarbage();
    UPackage* Destination = MakePackage();
    const int32 ObjectsBefore = CountRegisteredObjects();

    UDuplicationNode* Copy = DuplicateObject(Tree.Hero, Destination, "Copy");
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(CountRegisteredObjects(), ObjectsBefore + 1) << "neither the arm nor the hand inside it";
    EXPECT_EQ(Copy->Links, (TArray<TObjectPtr<UDuplicationNode>>{Tree.Arm}))
        << "a reference to an object left out stays as it was";
}

TEST(ObjectDuplication, RefusalsRegisterNothing)
{
    const FNodeTree Tree = MakeNodeTree();
    const FNodeTree WithUncopyable = MakeNodeTree();
    NewObject<UUncopyableNode>(WithUncopyable.Hand, "Uncopyable");
    UUncopyableNode* Lone = NewObject<UUncopyableNode>(MakePackage(), "Lone");
    UPackage* Destination = MakePackage();
    UPackage* OtherDestination = MakePackage();
    UDuplicationNode* Taken = NewObject<UDuplicationNode>(Destination, "Taken");
    UDuplicationNode* Destroyed = NewObject<UDuplicationNode>(MakePackage(), "Destroyed");
    Destroyed->MarkAsGarbage();
    const int32 ObjectsBefore = CountRegisteredObjects();

    EXPECT_EQ(DuplicateObject(WithUncopyable.Hero, Destination, "Copy"), nullptr) << "uncopyable inside";
    EXPECT_EQ(DuplicateObject(Lone, Destination, "LoneCopy"), nullptr);
    EXPECT_EQ(StaticDuplicateObject(Destination, OtherDestination, "PackageCopy"), nullptr)
        << "packages have no whole-state copy";
    EXPECT_EQ(StaticDuplicateObject(nullptr, Destination, "FromNothing"), nullptr);
    EXPECT_EQ(DuplicateObject(Destroyed, Destination, "FromGarbage"), nullptr);
    EXPECT_EQ(DuplicateObject(Tree.Hero, Destination, "Taken"), nullptr);

    EXPECT_EQ(CountRegisteredObjects(), ObjectsBefore);
    EXPECT_EQ(FUObjectArray::Get().FindObject(Destination, "Copy"), nullptr);
    EXPECT_EQ(FUObjectArray::Get().FindObject(Destination, "Taken"), Taken);
    EXPECT_EQ(Taken->Values, TArray<int32>());
    EXPECT_EQ(WithUncopyable.Hero->PostDuplicateCalls, 0);
}
