#include "CoreUObject/Object/Package.h"
#include "Host/CoreUObject/TestObjects.h"

#include <gtest/gtest.h>

TEST(Package, EveryDirtyMarkIsAnnouncedEvenOnADirtyPackage)
{
    UPackage* Package = CreatePackage("/Game/Tests/DirtyNotice");
    UTestObject* Asset = NewObject<UTestObject>(Package, "Asset");
    UTestObject* Transient = NewObject<UTestObject>(GetTransientPackage());
    TArray<const UPackage*> Announced;
    const FDelegateHandle Handle =
        UPackage::OnMarkedDirty().Add([&Announced](const UPackage* Marked) { Announced.Add(Marked); });

    Asset->Modify(false);
    Transient->Modify(true);
    EXPECT_TRUE(Announced.IsEmpty()) << "nothing marked: no record asked for it, transient objects never are";
    Asset->Modify(true);
    Asset->MarkPackageDirty();
    EXPECT_EQ(Announced, (TArray<const UPackage*>{Package, Package}));

    UPackage::OnMarkedDirty().Remove(Handle);
}
