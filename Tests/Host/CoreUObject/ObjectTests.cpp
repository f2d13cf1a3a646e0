#include "Host/CoreUObject/TestObjects.h"

#include "CoreUObject/Object/Package.h"

#include <gtest/gtest.h>

TEST(Object, NamesAreUniqueWithinTheirOuter)
{
    UPackage* Package = CreatePackage("/Game/Tests/Names");
    UTestObject* First = NewObject<UTestObject>(Package, "Thing");
    UTestObject* Unnamed = NewObject<UTestObject>(Package);
    UTestObject* Inner = NewObject<UTestObject>(First, "Thing");

    EXPECT_EQ(Inner->GetPackage(), Package);
    EXPECT_TRUE(Unnamed->GetName().StartsWith("TestObject_"));
    EXPECT_EQ(First->GetPathName(), "/Game/Tests/Names.Thing");
    EXPECT_EQ(Inner->GetPathName(), "/Game/Tests/Names.Thing.Thing");
    EXPECT_EQ(FindObject<UTestObject>("/Game/Tests/Names.Thing.Thing"), Inner);
    EXPECT_EQ(FindObject<UTestObject>("/Game/Tests/Names.Missing"), nullptr);
    EXPECT_EQ(CreatePackage("/Game/Tests/Names"), Package);
    EXPECT_EQ(NewObject<UTestObject>()->GetOuter(), GetTransientPackage()) << "the default outer";
}

TEST(ObjectDeathTest, ADuplicateNameIsAProgrammingError)
{
    UPackage* Package = CreatePackage("/Game/Tests/Duplicate");
    NewObject<UTestObject>(Package, "Twin");
    EXPECT_DEATH(NewObject<UTestObject>(Package, "Twin"), "already exists");
}

TEST(Object, ClassesKnowTheirHierarchyAndAreObjectsInTheirScriptPackage)
{
    UTestChild* Child = NewObject<UTestChild>();
    UObject* AsObject = Child;

    EXPECT_TRUE(UTestChild::StaticClass()->IsChildOf<UObject>());
    EXPECT_FALSE(UTestObject::StaticClass()->IsChildOf<UTestChild>());
    EXPECT_EQ(Cast<UTestObject>(AsObject), Child);
    EXPECT_EQ(Cast<UTestChild>(static_cast<UObject*>(NewObject<UTestObject>())), nullptr);

    UClass* Class = UTestObject::StaticClass();
    EXPECT_EQ(Class->GetCppName(), "UTestObject");
    EXPECT_EQ(Class->GetPathName(), "/Script/HostCoreUObjectTests.TestObject");
    EXPECT_EQ(Class->GetClass(), UClass::StaticClass());
    EXPECT_EQ(FindClass("/Script/HostCoreUObjectTests.TestObject"), Class);
    EXPECT_EQ(FindClass("UTestChild"), UTestChild::StaticClass());
    EXPECT_EQ(FindClass("Package"), UPackage::StaticClass());
    EXPECT_EQ(FindClass("NoSuchClass"), nullptr);
}

TEST(Object, ModifyMarksTheOuterPackageDirtyAndEveryMarkIsAnnounced)
{
    UPackage* Package = CreatePackage("/Game/Tests/Dirty");
    UTestObject* Asset = NewObject<UTestObject>(Package, "Asset");
    UTestObject* Transient = NewObject<UTestObject>();
    TArray<const UPackage*> Announced;
    const FDelegateHandle Handle =
        UPackage::OnMarkedDirty().Add([&Announced](const UPackage* Marked) { Announced.Add(Marked); });

    Asset->Modify(false);
    EXPECT_FALSE(Package->IsDirty());
    Transient->Modify(true);
    EXPECT_FALSE(Transient->MarkPackageDirty()) << "the transient package is never dirty";
    EXPECT_FALSE(GetTransientPackage()->IsDirty());
    EXPECT_TRUE(Announced.IsEmpty());
    Asset->Modify();
    EXPECT_TRUE(Package->IsDirty());
    Asset->MarkPackageDirty();
    EXPECT_EQ(Announced, (TArray<const UPackage*>{Package, Package})) << "even on a dirty package";

    UPackage::OnMarkedDirty().Remove(Handle);
}
