#include "CoreUObject/Object/UObjectGlobals.h"

UObject* StaticConstructObject(UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags)
{
    VT_CHECK(Class != nullptr);
    VT_CHECKF(!Class->IsChildOf<UPackage>(), "packages are made with CreatePackage");
    if (!Outer)
    {
        Outer = GetTransientPackage();
    }
    FUObjectArray& Objects = FUObjectArray::Get();
    if (Name.IsNone())
    {
        Name = Objects.MakeUniqueObjectName(Outer, Class);
    }
    UObject* Object = Class->CreateInstance();
    Objects.Register(Object, Class, Outer, Name, Flags);
    return Object;
}

UObject* StaticFindObject(const FString& PathName)
{
    TArray<FString> Parts;
    PathName.ParseIntoArray(Parts, ".");
    UObject* Found = nullptr;
    for (const FString& Part : Parts)
    {
        Found = FUObjectArray::Get().FindObject(Found, FName(Part));
        if (!Found)
        {
            return nullptr;
        }
    }
    return Found;
}

UClass* FindClass(const FString& Name)
{
    if (UClass* ByPath = FindObject<UClass>(Name))
    {
        return ByPath;
    }
    UClass* Found = nullptr;
    ForEachObjectOfClass<UClass>(
        [&](UClass* Class)
        {
            if (!Found && (Class->GetName().Equals(Name, ESearchCase::IgnoreCase) ||
                           Class->GetCppName().Equals(Name, ESearchCase::IgnoreCase)))
            {
                Found = Class;
            }
        });
    return Found;
}
