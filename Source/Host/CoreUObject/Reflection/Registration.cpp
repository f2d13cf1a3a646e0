#include "CoreUObject/Reflection/Registration.h"

#include "CoreUObject/Object/ObjectArray.h"

namespace VT::Reflection
{
UClass* ConstructClass(UClass* SuperClass, const char* CppName, const char* ModuleName, EClassFlags Flags,
                       UClass::FFactory Factory, void (*Fill)(UClass&))
{
    UPackage* Script = CreatePackage(FString("/Script/") + ModuleName);
    Script->SetFlags(RF_RootSet | RF_Native);
    UClass* Class = new UClass(SuperClass, CppName, Flags, Factory);
    const FString Name = FString(CppName).RightChop(1);
    FUObjectArray::Get().Register(Class, UClass::StaticClass(), Script, FName(Name),
                                  RF_RootSet | RF_Native | RF_Public);
    Fill(*Class);
    return Class;
}
} // namespace VT::Reflection
