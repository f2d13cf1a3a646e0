#include "RivetCli/Session/PropertyOptions.h"

#include "CoreUObject/Reflection/Function.h"
#include "CoreUObject/Reflection/PropertyAccess.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"

namespace
{
/** "2" and "Trousers" of "2: Trousers  (120 polys)"; the whole option is the name when it has no ':'. */
void SplitOption(const FString& Option, FString& OutKey, FString& OutName)
{
    FString Rest;
    if (!Option.Split(":", &OutKey, &Rest))
    {
        OutKey = FString();
        Rest = Option;
    }
    OutKey = OutKey.TrimStartAndEnd();
    FString Name;
    OutName = (Rest.Split("  (", &Name, nullptr) ? Name : Rest).TrimStartAndEnd();
}
} // namespace

bool GetPropertyOptions(const FHeadlessEditor& Editor, const FString& Name, TArray<FString>& OutOptions)
{
    const UInteractiveTool* Tool = Editor.GetActiveTool();
    if (!Tool)
    {
        return false;
    }
    for (UInteractiveToolPropertySet* Panel : Tool->GetToolProperties())
    {
        const FProperty* Property = VT::Reflection::FindPropertyByAnyName(Panel->GetClass(), Name);
        if (!Property)
        {
            continue;
        }
        const FString& Getter = Property->GetMetaData("GetOptions");
        const FFunction* Function =
            Getter.IsEmpty() ? nullptr : VT::Reflection::FindFunctionByAnyName(Panel->GetClass(), Getter);
        return Function && Function->Call(Panel, OutOptions);
    }
    return false;
}

FString ResolvePropertyOption(const TArray<FString>& Options, const FString& Value)
{
    const FString Wanted = Value.TrimStartAndEnd();
    if (Options.Contains(Wanted))
    {
        return Wanted;
    }
    FString ByName;
    int32 NameMatches = 0;
    for (const FString& Option : Options)
    {
        FString Key;
        FString Name;
        SplitOption(Option, Key, Name);
        if (!Key.IsEmpty() && Key == Wanted)
        {
            return Option;
        }
        if (Name.Equals(Wanted, ESearchCase::IgnoreCase))
        {
            ByName = Option;
            ++NameMatches;
        }
    }
    return NameMatches == 1 ? ByName : FString();
}
