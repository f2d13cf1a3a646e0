#include "RivetCli/Session/ToolNames.h"

#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"

namespace
{
FString Normalize(const FString& Name)
{
    const FString Lower = Name.ToLower();
    FString Normalized;
    for (const char Character : Lower.View())
    {
        if (Character != ' ' && Character != '-' && Character != '_')
        {
            Normalized += Character;
        }
    }
    return Normalized;
}

bool NamesTool(const FExtensionToolDescription& Tool, const FString& Wanted)
{
    if (Normalize(Tool.ToolName.ToString()) == Wanted)
    {
        return true;
    }
    return Tool.ToolCommand && Normalize(Tool.ToolCommand->GetCommandName().ToString()) == Wanted;
}
} // namespace

const FExtensionToolDescription* FindToolByName(const TArray<FModelingModeToolSection>& Sections,
                                                const FString& Name)
{
    const FString Wanted = Normalize(Name);
    for (const FModelingModeToolSection& Section : Sections)
    {
        for (const FExtensionToolDescription& Tool : Section.Tools)
        {
            if (NamesTool(Tool, Wanted))
            {
                return &Tool;
            }
        }
    }
    return nullptr;
}

FString ListToolNames(const TArray<FModelingModeToolSection>& Sections)
{
    TArray<FString> Names;
    for (const FModelingModeToolSection& Section : Sections)
    {
        for (const FExtensionToolDescription& Tool : Section.Tools)
        {
            Names.Add(Tool.ToolName.ToString());
        }
    }
    return FString::Join(Names, ", ");
}
