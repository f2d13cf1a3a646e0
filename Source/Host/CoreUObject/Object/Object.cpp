#include "CoreUObject/Object/Object.h"

#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/Transaction.h"
#include "CoreUObject/Reflection/Class.h"

ITransaction* GUndo = nullptr;

namespace
{
struct FCoreClasses
{
    UClass* Object;
    UClass* Class;
    UClass* Package;
};

UObject* MakePackage()
{
    return new UPackage();
}

/** Makes the three classes that every other class and package stands on, in one go. */
const FCoreClasses& GetCoreClasses()
{
    static const FCoreClasses Classes = []
    {
        FCoreClasses Result;
        Result.Object = new UClass(nullptr, "UObject", EClassFlags::Abstract, nullptr);
        Result.Class = new UClass(Result.Object, "UClass", EClassFlags::Abstract, nullptr);
        Result.Package = new UClass(Result.Object, "UPackage", EClassFlags::None, &MakePackage);
        const EObjectFlags Flags = RF_RootSet | RF_Native | RF_Public;
        UPackage* Script = new UPackage();
        FUObjectArray& Objects = FUObjectArray::Get();
        Objects.Register(Script, Result.Package, nullptr, FName("/Script/CoreUObject"), Flags);
        Objects.Register(Result.Object, Result.Class, Script, FName("Object"), Flags);
        Objects.Register(Result.Class, Result.Class, Script, FName("Class"), Flags);
        Objects.Register(Result.Package, Result.Class, Script, FName("Package"), Flags);
        return Result;
    }();
    return Classes;
}
} // namespace

UClass* UObject::StaticClass()
{
    return GetCoreClasses().Object;
}

UClass* UClass::StaticClass()
{
    return GetCoreClasses().Class;
}

UClass* UPackage::StaticClass()
{
    return GetCoreClasses().Package;
}

UPackage* UObject::GetPackage() const
{
    const UObject* Top = this;
    while (Top->GetOuter())
    {
        Top = Top->GetOuter();
    }
    return const_cast<UPackage*>(Cast<UPackage>(Top));
}

FString UObject::GetPathName() const
{
    return GetOuter() ? GetOuter()->GetPathName() + "." + GetName() : GetName();
}

bool UObject::IsA(const UClass* Class) const
{
    return ClassPrivate && ClassPrivate->IsChildOf(Class);
}

bool UObject::Modify(bool bAlwaysMarkDirty)
{
    const bool bSaved = GUndo && !HasAnyFlags(RF_Transient | RF_Native) && GUndo->SaveObject(this);
    if (bAlwaysMarkDirty)
    {
        MarkPackageDirty();
    }
    return bSaved;
}

bool UObject::MarkPackageDirty() const
{
    UPackage* Package = GetPackage();
    if (!Package || Package == GetTransientPackage() || HasAnyFlags(RF_Transient))
    {
        return false;
    }
    Package->SetDirtyFlag(true);
    UPackage::OnMarkedDirty().Broadcast(Package);
    return true;
}

void UObject::PostEditChangeProperty(FPropertyChangedEvent& Event)
{
    (void)Event;
}

void UObject::PostEditChange()
{
    FPropertyChangedEvent Event;
    PostEditChangeProperty(Event);
}

UObject* UObject::CloneForUndo() const
{
    return nullptr;
}

FName FPropertyChangedEvent::GetPropertyName() const
{
    return Property ? Property->GetFName() : NAME_None;
}
