#include "Host/CoreUObject/TestObjects.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "CoreUObject/Object/WeakObjectPtr.h"

#include <gtest/gtest.h>

namespace
{
/** A fresh package that nothing keeps, so that its objects live only through references. */
UPackage* MakeLoosePackage()
{
    static int32 Counter = 0;
    return CreatePackage(FString::Printf("/Temp/Gc%d", Counter++));
}
} // namespace

TEST(GarbageCollection, WeakReferencesGoStaleAndStaySoWhenTheSlotIsReused)
{
    TWeakObjectPtr<UTestObject> Weak = NewObject<UTestObject>(MakeLoosePackage());
    ASSERT_TRUE(Weak.IsValid());
    EXPECT_GT(CollectGarbage(), 0);
    EXPECT_EQ(Weak.Get(), nullptr);
    EXPECT_TRUE(Weak.IsStale());
    TStrongObjectPtr<UTestObject> Newcomer(NewObject<UTestObject>(MakeLoosePackage()));
    EXPECT_EQ(Weak.Get(), nullptr);
    EXPECT_EQ(FindClass("TestObject"), UTestObject::StaticClass()) << "classes survive collection";
}

TEST(GarbageCollection, StrongPointersKeepObjectsAndWhatTheyReferTo)
{
    UPackage* Package = MakeLoosePackage();
    TStrongObjectPtr<UTestObject> Holder(NewObject<UTestObject>(Package));
    UTestObject* Referenced = NewObject<UTestObject>(MakeLoosePackage());
    UTestObject* InArray = NewObject<UTestObject>(MakeLoosePackage());
    UTestObject* Unreflected = NewObject<UTestObject>(MakeLoosePackage());
    Holder->Other = Referenced;
    Holder->Children.Add(InArray);
    Holder->Unreflected = Unreflected;
    TWeakObjectPtr<UTestObject> WeakReferenced = Referenced;
    TWeakObjectPtr<UTestObject> WeakInArray = InArray;
    TWeakObjectPtr<UTestObject> WeakUnreflected = Unreflected;
    TWeakObjectPtr<UPackage> WeakPackage = Package;

    CollectGarbage();
    EXPECT_TRUE(WeakReferenced.IsValid());
    EXPECT_TRUE(WeakInArray.IsValid());
    EXPECT_TRUE(WeakPackage.IsValid()) << "an object keeps its outer";
    EXPECT_FALSE(WeakUnreflected.IsValid()) << "only reflected references keep objects";

    TWeakObjectPtr<UTestObject> WeakHolder = Holder.Get();
    Holder.Reset();
    CollectGarbage();
    EXPECT_FALSE(WeakHolder.IsValid());
    EXPECT_FALSE(WeakReferenced.IsValid());
}

TEST(GarbageCollection, ALiveOuterKeepsItsInnersButTheTransientPackageAndACycleDoNot)
{
    UTestObject* Outer = NewObject<UTestObject>(MakeLoosePackage());
    Outer->AddToRoot();
    TWeakObjectPtr<UTestObject> Inner = NewObject<UTestObject>(Outer);
    TWeakObjectPtr<UTestObject> Transient = NewObject<UTestObject>();
    UTestObject* A = NewObject<UTestObject>(MakeLoosePackage());
    UTestObject* B = NewObject<UTestObject>(MakeLoosePackage());
    A->Other = B;
    B->Other = A;
    TWeakObjectPtr<UTestObject> WeakA = A;
    TWeakObjectPtr<UTestObject> WeakB = B;

    CollectGarbage();
    EXPECT_TRUE(Inner.IsValid());
    EXPECT_FALSE(Transient.IsValid());
    EXPECT_FALSE(WeakA.IsValid() || WeakB.IsValid()) << "a reference cycle keeps nothing";

    Outer->RemoveFromRoot();
    CollectGarbage();
    EXPECT_FALSE(Inner.IsValid());
}

TEST(GarbageCollection, StandaloneAssetsStayUntilMarkedAsGarbageWhichOnlyAStrongPointerKeeps)
{
    TWeakObjectPtr<UTestObject> Asset = NewObject<UTestObject>(MakeLoosePackage(), "Asset", RF_Standalone);
    UTestObject* Rooted = NewObject<UTestObject>(MakeLoosePackage());
    Rooted->AddToRoot();
    TWeakObjectPtr<UTestObject> WeakRooted = Rooted;
    CollectGarbage();
    ASSERT_TRUE(Asset.IsValid());

    UTestObject* Doomed = Asset.Get();
    Doomed->MarkAsGarbage();
    Rooted->MarkAsGarbage();
    EXPECT_FALSE(Asset.IsValid()) << "garbage is unreachable through weak references before the collection";
    EXPECT_FALSE(IsValid(Doomed));
    EXPECT_EQ(CollectGarbage(), 4) << "the two objects and the packages they kept";
    EXPECT_TRUE(Asset.IsStale());
    EXPECT_TRUE(WeakRooted.IsStale()) << "neither standalone nor root flags keep garbage";

    TStrongObjectPtr<UTestObject> Holder(NewObject<UTestObject>(MakeLoosePackage()));
    Holder->MarkAsGarbage();
    CollectGarbage();
    EXPECT_EQ(Holder->PressCount, 0) << "a strong pointer keeps even garbage allocated";
}
