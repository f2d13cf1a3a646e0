#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"

#include "Core/Modules/ModularFeatures.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshToolTarget.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

FSkeletalMeshModelingMode::FSkeletalMeshModelingMode(UWorld* InPreviewWorld,
                                                     UInteractiveToolManager* InToolManager)
    : PreviewWorld(InPreviewWorld), ToolManager(InToolManager)
{
    FeaturesListener = IModularFeatures::Get().AddFeaturesChangedListener(
        [this](FName Type, IModularFeature*, bool) { OnFeaturesChanged(Type); });
}

FSkeletalMeshModelingMode::~FSkeletalMeshModelingMode()
{
    IModularFeatures::Get().RemoveFeaturesChangedListener(FeaturesListener);
    Exit();
}

void FSkeletalMeshModelingMode::OnFeaturesChanged(FName Type)
{
    if (IsActive() && Type == ISkeletalMeshModelingModeToolExtension::GetModularFeatureName())
    {
        Sections = QueryToolSections(false);
    }
}

void FSkeletalMeshModelingMode::Enter(USkeletalMesh* Mesh)
{
    Exit();
    Target.Reset(USkeletalMeshToolTarget::Make(Mesh));
    Sections = QueryToolSections(false);
}

void FSkeletalMeshModelingMode::Exit(EToolShutdownType ToolShutdownType)
{
    if (UInteractiveToolManager* Manager = ToolManager.Get(); Manager && Manager->HasActiveTool())
    {
        Manager->EndTool(ToolShutdownType);
    }
    Sections.Reset();
    Target.Reset();
}

TArray<FModelingModeToolSection> FSkeletalMeshModelingMode::QueryToolSections(bool bInfoOnly)
{
    TArray<FModelingModeToolSection> Result;
    const FExtensionToolQueryInfo Query{bInfoOnly};
    for (ISkeletalMeshModelingModeToolExtension* Extension :
         IModularFeatures::Get().GetModularFeatureImplementations<ISkeletalMeshModelingModeToolExtension>(
             ISkeletalMeshModelingModeToolExtension::GetModularFeatureName()))
    {
        FModelingModeToolSection& Section = Result.Emplace_GetRef();
        Section.ExtensionName = Extension->GetExtensionName();
        Section.SectionName = Extension->GetToolSectionName();
        Extension->GetExtensionTools(Query, Section.Tools);
    }
    return Result;
}

UInteractiveTool* FSkeletalMeshModelingMode::StartToolByName(const FString& DisplayName)
{
    return StartFirstTool([&DisplayName](const FExtensionToolDescription& Tool)
                          { return Tool.ToolName.ToString() == DisplayName; });
}

UInteractiveTool* FSkeletalMeshModelingMode::StartToolByCommand(FName CommandName)
{
    return StartFirstTool([CommandName](const FExtensionToolDescription& Tool)
                          { return Tool.ToolCommand && Tool.ToolCommand->GetCommandName() == CommandName; });
}

template <typename PredicateType>
UInteractiveTool* FSkeletalMeshModelingMode::StartFirstTool(PredicateType Matches)
{
    for (const FModelingModeToolSection& Section : Sections)
    {
        for (const FExtensionToolDescription& Tool : Section.Tools)
        {
            if (Matches(Tool))
            {
                return StartTool(Tool);
            }
        }
    }
    return nullptr;
}

UInteractiveTool* FSkeletalMeshModelingMode::StartTool(const FExtensionToolDescription& Tool)
{
    if (!IsActive() || !Tool.ToolBuilder)
    {
        return nullptr;
    }
    FToolBuilderState State;
    State.World = PreviewWorld;
    State.ToolManager = ToolManager.Get();
    State.Targets.Add(Target.Get());
    return ToolManager->BeginTool(Tool.ToolBuilder, State);
}

USkeletalMesh* FSkeletalMeshModelingMode::GetSkeletalMesh() const
{
    const USkeletalMeshToolTarget* MeshTarget = Cast<USkeletalMeshToolTarget>(Target.Get());
    return MeshTarget ? MeshTarget->GetSkeletalMesh() : nullptr;
}
