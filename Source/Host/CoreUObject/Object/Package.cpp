#include "CoreUObject/Object/Package.h"

#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/UObjectGlobals.h"

TMulticastDelegate<void(const UPackage*)>& UPackage::OnMarkedDirty()
{
    // Never destroyed: objects may mark their packages while other statics go.
    static auto& MarkedDirty = *new TMulticastDelegate<void(const UPackage*)>();
    return MarkedDirty;
}

UPackage* GetTransientPackage()
{
    static UPackage* const Package = []
    {
        // Transient from the start, so that undo never records its making.
        UPackage* Transient = new UPackage();
        FUObjectArray::Get().Register(Transient, UPackage::StaticClass(), nullptr, FName("/Engine/Transient"),
                                      RF_Public | RF_RootSet | RF_Transient);
        return Transient;
    }();
    return Package;
}

UPackage* FindPackage(const FString& LongPackageName)
{
    return Cast<UPackage>(FUObjectArray::Get().FindObject(nullptr, FName(LongPackageName)));
}

UPackage* CreatePackage(const FString& LongPackageName)
{
    if (UPackage* Existing = FindPackage(LongPackageName))
    {
        return Existing;
    }
    UPackage* Package = new UPackage();
    FUObjectArray::Get().Register(Package, UPackage::StaticClass(), nullptr, FName(LongPackageName),
                                  RF_Public);
    return Package;
}
