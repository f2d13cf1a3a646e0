#include "HeadlessEditor/HeadlessEditor.h"

#include "Core/Modules/ModuleManager.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/PropertyAccess.h"
#include "Engine/Components/StaticMeshComponent.h"
#include "Engine/World/World.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

namespace
{
const char* const EditorServices[] = {"AssetRegistry", "AssetTools", "ContentBrowser"};
constexpr float FrameTime = 1.0f / 60.0f;
} // namespace

FHeadlessEditor::FHeadlessEditor(const TArray<FName>& InPluginModules)
    : PluginModules(InPluginModules), Log(std::make_unique<FScopedLogCapture>())
{
    FTransactionBuffer::Get().Reset();
    for (const char* Service : EditorServices)
    {
        FModuleManager::Get().LoadModule(FName(Service));
    }
    for (const FName Plugin : PluginModules)
    {
        FModuleManager::Get().LoadModule(Plugin);
    }
    CreatePreviewWorld();
    ToolManager.Reset(NewObject<UInteractiveToolManager>(GetTransientPackage()));
    Mode = std::make_unique<FSkeletalMeshModelingMode>(PreviewWorld.Get(), ToolManager.Get());
}

FHeadlessEditor::~FHeadlessEditor()
{
    Mode.reset();
    for (int32 Index = PluginModules.Num() - 1; Index >= 0; --Index)
    {
        FModuleManager::Get().UnloadModule(PluginModules[Index]);
    }
    FTransactionBuffer::Get().Reset();
}

void FHeadlessEditor::CreatePreviewWorld()
{
    PreviewWorld.Reset(NewObject<UWorld>(GetTransientPackage()));
    UActor* PreviewActor = PreviewWorld->SpawnActor<UActor>(FName("PreviewActor"));
    PreviewComponent = PreviewActor->AddComponent<UDebugSkelMeshComponent>(FName("PreviewMeshComponent"));

    UStaticMesh* FloorMesh = NewObject<UStaticMesh>(PreviewWorld.Get(), FName("EditorFloorPlane"));
    FloorMesh->SetBoundingBox(FBox(FVector(-1000.0, -1000.0, -1.0), FVector(1000.0, 1000.0, 0.0)));
    UStaticMeshComponent* Floor =
        NewObject<UStaticMeshComponent>(PreviewWorld.Get(), FName("FloorComponent"));
    Floor->SetStaticMesh(FloorMesh);
    Floor->RegisterComponentWithWorld(PreviewWorld.Get());
}

void FHeadlessEditor::OpenAsset(USkeletalMesh* Mesh)
{
    PreviewComponent->SetSkeletalMeshAsset(Mesh);
    if (UAnimPreviewInstance* Instance = PreviewComponent->GetPreviewInstance())
    {
        Instance->ResetModifiedBone();
    }
    PreviewComponent->SetSelectedBoneIndices({});
    PreviewComponent->ReinitializeAnimation();
    Mode->Enter(Mesh);
}

USkeletalMesh* FHeadlessEditor::GetAsset() const
{
    return Mode->GetSkeletalMesh();
}

UInteractiveTool* FHeadlessEditor::StartTool(const FString& DisplayName)
{
    return Mode->StartToolByName(DisplayName);
}

UMeshSelectionTool* FHeadlessEditor::GetSelectionTool() const
{
    return Cast<UMeshSelectionTool>(GetActiveTool());
}

bool FHeadlessEditor::SelectPreviewTriangles(const TArray<int32>& TriangleIDs)
{
    UMeshSelectionTool* Tool = GetSelectionTool();
    if (!Tool || !Tool->GetSelection())
    {
        return false;
    }
    Tool->GetSelection()->AddIndices(EMeshSelectionElementType::Face, TriangleIDs);
    return true;
}

UInteractiveToolPropertySet* FHeadlessEditor::FindToolProperty(const FString& Name,
                                                               const FProperty*& OutProperty) const
{
    if (!GetActiveTool())
    {
        return nullptr;
    }
    for (UInteractiveToolPropertySet* PropertySet : GetActiveTool()->GetToolProperties())
    {
        OutProperty = VT::Reflection::FindPropertyByAnyName(PropertySet->GetClass(), Name);
        if (OutProperty)
        {
            return PropertySet;
        }
    }
    return nullptr;
}

bool FHeadlessEditor::SetProperty(const FString& Name, const FString& Value, FString& OutError)
{
    if (!GetActiveTool())
    {
        OutError = "no tool is active";
        return false;
    }
    const FProperty* Property = nullptr;
    UInteractiveToolPropertySet* PropertySet = FindToolProperty(Name, Property);
    if (!PropertySet)
    {
        OutError = FString::Printf("the tool has no property '%s'", *Name);
        return false;
    }
    if (!Property->IsEditable())
    {
        OutError = FString::Printf("'%s' cannot be edited", *Name);
        return false;
    }
    if (!VT::Reflection::IsEditConditionMet(PropertySet, *Property))
    {
        OutError = FString::Printf("'%s' is disabled by the other settings", *Name);
        return false;
    }
    return VT::Reflection::SetPropertyValueFromText(PropertySet, *Property, Value, OutError);
}

FString FHeadlessEditor::GetPropertyText(const FString& Name) const
{
    const FProperty* Property = nullptr;
    const UInteractiveToolPropertySet* PropertySet = FindToolProperty(Name, Property);
    return PropertySet ? Property->ExportText(PropertySet) : FString();
}

bool FHeadlessEditor::PressButton(const FString& Name, FString& OutError)
{
    if (!GetActiveTool())
    {
        OutError = "no tool is active";
        return false;
    }
    for (UInteractiveToolPropertySet* PropertySet : GetActiveTool()->GetToolProperties())
    {
        const FFunction* Function = VT::Reflection::FindFunctionByAnyName(PropertySet->GetClass(), Name);
        if (Function && Function->HasMetaData("CallInEditor"))
        {
            return VT::Reflection::CallFunctionByName(PropertySet, Function->GetName(), OutError);
        }
    }
    OutError = FString::Printf("the tool has no button '%s'", *Name);
    return false;
}

void FHeadlessEditor::Tick(int32 Frames)
{
    for (int32 Frame = 0; Frame < Frames; ++Frame)
    {
        ToolManager->Tick(FrameTime);
        if (PreviewComponent->GetSkeletalMeshAsset())
        {
            PreviewComponent->TickPose();
        }
    }
}

void FHeadlessEditor::AcceptTool()
{
    ToolManager->EndTool(EToolShutdownType::Accept);
}

void FHeadlessEditor::CancelTool()
{
    ToolManager->EndTool(EToolShutdownType::Cancel);
}

FString FHeadlessEditor::GetLastMessage() const
{
    const TArray<FToolMessage>& Messages = GetMessages();
    return Messages.Num() > 0 ? Messages.Last().Text.ToString() : FString();
}

bool FHeadlessEditor::Undo()
{
    return FTransactionBuffer::Get().Undo();
}

bool FHeadlessEditor::Redo()
{
    return FTransactionBuffer::Get().Redo();
}
