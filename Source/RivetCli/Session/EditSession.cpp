#include "RivetCli/Session/EditSession.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Selection/SelectionPainter.h"
#include "RivetCli/Session/BoneEdit.h"
#include "RivetCli/Session/OutputFiles.h"
#include "RivetCli/Session/PackageFingerprint.h"
#include "RivetCli/Session/PropertyOptions.h"
#include "RivetCli/Session/SessionPackageWriter.h"
#include "RivetCli/Session/ToolNames.h"
#include "RivetEditorLog.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <charconv>

namespace
{
/** How long a tool may keep acting on one request before the session stops waiting for it. */
constexpr int32 MaxSettleFrames = 1000;
/** Frames that let a tool which takes one request a frame work off every kind of request it has. */
constexpr int32 RequestFrames = 5;

/** "'0: Skin  (120 polys)', '1: Shirt  (80 polys)'", or "none". */
FString DescribeOptions(const TArray<FString>& Options)
{
    TArray<FString> Quoted;
    for (const FString& Option : Options)
    {
        Quoted.Add(FString::Printf("'%s'", *Option));
    }
    return Quoted.IsEmpty() ? FString("none") : FString::Join(Quoted, ", ");
}

int32 CountTriangles(const USkeletalMesh& Mesh)
{
    const FMeshDescription* Description = Mesh.GetMeshDescription(0);
    return Description ? Description->Triangles().Num() : 0;
}
} // namespace

FEditSession::FEditSession(FRivetConsole& InConsole, const FSaveOptions& InSaveOptions)
    : Console(InConsole), SaveOptions(InSaveOptions)
{
}

FEditSession::~FEditSession() = default;

bool FEditSession::RunAll(const TArray<FEditStep>& Steps)
{
    for (const FEditStep& Step : Steps)
    {
        Console.SetErrorContext(Step.Origin);
        const bool bDone = Run(Step);
        Console.SetErrorContext(FString());
        if (!bDone)
        {
            return false;
        }
    }
    return true;
}

bool FEditSession::Run(const FEditStep& Step)
{
    bool bDone = false;
    switch (Step.Kind)
    {
        case EEditStepKind::Open:
            bDone = Open(Step.Arguments);
            break;
        case EEditStepKind::Tool:
            bDone = StartTool(FString::Join(Step.Arguments, " "));
            break;
        case EEditStepKind::Select:
            bDone = Select(Step.Arguments);
            break;
        case EEditStepKind::Bone:
            bDone = SelectBone(FString::Join(Step.Arguments, " "));
            break;
        case EEditStepKind::BoneEdit:
            bDone = EditBone(FString::Join(Step.Arguments, " "));
            break;
        case EEditStepKind::Set:
            bDone = Set(FString::Join(Step.Arguments, " "));
            break;
        case EEditStepKind::Press:
            bDone = Press(FString::Join(Step.Arguments, " "));
            break;
        case EEditStepKind::Tick:
            bDone = Tick(Step.Arguments);
            break;
        case EEditStepKind::Accept:
            bDone = EndTool(EToolShutdownType::Accept);
            break;
        case EEditStepKind::Cancel:
            bDone = EndTool(EToolShutdownType::Cancel);
            break;
        case EEditStepKind::Undo:
            bDone = UndoOrRedo(EEditStepKind::Undo);
            break;
        case EEditStepKind::Redo:
            bDone = UndoOrRedo(EEditStepKind::Redo);
            break;
    }
    // What a tool says as it starts (hints, warnings about the asset) answers no request of the user.
    ReportNewOutput(/*bMayRefuse=*/Step.Kind != EEditStepKind::Tool);
    return bDone;
}

bool FEditSession::Open(const TArray<FString>& Paths)
{
    if (!OpenedFiles.IsEmpty())
    {
        Console.Error("a session edits one asset: files are opened once");
        return false;
    }
    if (Paths.IsEmpty())
    {
        Console.Error("open needs the file of the asset to edit");
        return false;
    }
    for (const FString& Path : Paths)
    {
        if (SaveOptions.bInPlace && !IsGltfPath(Path))
        {
            Console.Error(FString::Printf(
                "%s: cannot be written in place: rivet writes glTF 2.0 (.gltf or .glb); use --out", *Path));
            return false;
        }
    }
    if (!OpenAsset(Paths[0]))
    {
        return false;
    }
    for (int32 Index = 1; Index < Paths.Num(); ++Index)
    {
        if (!OpenAnimations(Paths[Index]))
        {
            return false;
        }
    }
    return true;
}

bool FEditSession::OpenAsset(const FString& Path)
{
    FInterchangeResult Result;
    {
        FProgressIndicator Progress(Console, FString::Printf("reading %s", *Path));
        Result = ImportSkinnedMeshFile(Path);
    }
    if (!Result.bSuccess)
    {
        Console.Error(Result.Error);
        return false;
    }
    AddOpenedFile(Path, Result);
    Editor.OpenAsset(Result.Mesh);
    Console.Print(FString::Printf("opened %s: %d triangles, %d material slots, %d bones", *Path,
                                  CountTriangles(*Result.Mesh), Result.Mesh->GetMaterials().Num(),
                                  Result.Mesh->GetRefSkeleton().GetNum()));
    return true;
}

bool FEditSession::OpenAnimations(const FString& Path)
{
    FInterchangeResult Result;
    {
        FProgressIndicator Progress(Console, FString::Printf("reading %s", *Path));
        Result = ImportAnimationFile(Path, Editor.GetAsset()->GetSkeleton());
    }
    if (!Result.bSuccess)
    {
        Console.Error(Result.Error);
        return false;
    }
    AddOpenedFile(Path, Result);
    Console.Print(FString::Printf("opened %s: %d animations", *Path, Result.Animations.Num()));
    return true;
}

void FEditSession::AddOpenedFile(const FString& Path, const FInterchangeResult& Result)
{
    for (const FString& Warning : Result.Warnings)
    {
        Console.Warning(Warning);
    }
    // The package holds what the file holds: only what the session changes needs a save.
    Result.Package->SetDirtyFlag(false);
    OpenedFiles.Add({Path, Result.Package, FingerprintPackage(*Result.Package)});
    Animations.Append(Result.Animations);
}

bool FEditSession::RequireAsset(const char* Action)
{
    if (Editor.GetAsset())
    {
        return true;
    }
    Console.Error(FString::Printf("cannot %s: no asset is open", Action));
    return false;
}

bool FEditSession::RequireTool(const char* Action)
{
    if (!RequireAsset(Action))
    {
        return false;
    }
    if (Editor.GetActiveTool())
    {
        return true;
    }
    Console.Error(FString::Printf("cannot %s: no tool is active", Action));
    return false;
}

bool FEditSession::StartTool(const FString& Name)
{
    if (!RequireAsset("start a tool"))
    {
        return false;
    }
    const TArray<FModelingModeToolSection>& Sections = Editor.GetMode().GetToolSections();
    const FExtensionToolDescription* Tool = FindToolByName(Sections, Name);
    if (!Tool)
    {
        Console.Error(FString::Printf("no tool '%s' (tools: %s)", *Name, *ListToolNames(Sections)));
        return false;
    }
    const FString DisplayName = Tool->ToolName.ToString();
    if (!Tool->ToolBuilder)
    {
        Console.Error(FString::Printf("the tool '%s' is not available in this build", *DisplayName));
        return false;
    }
    if (!Editor.StartTool(DisplayName))
    {
        Console.Error(FString::Printf("the tool '%s' cannot start on this asset", *DisplayName));
        return false;
    }
    Console.Print(FString::Printf("started %s", *DisplayName));
    return true;
}

bool FEditSession::Select(const TArray<FString>& Terms)
{
    if (!RequireTool("select"))
    {
        return false;
    }
    TArray<FSelectionTerm> Parsed;
    for (const FString& Text : Terms)
    {
        FString Error;
        if (!ParseSelectionTerm(Text, Parsed[Parsed.AddDefaulted()], Error))
        {
            Console.Error(Error);
            return false;
        }
    }
    FString Error;
    if (!PaintSelection(Editor, Parsed, Error))
    {
        Console.Error(Error);
        return false;
    }
    const UMeshSelectionTool* Tool = Editor.GetSelectionTool();
    const int32 Selected = Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face).Num();
    Console.Print(FString::Printf("selected %d of %d preview triangles", Selected,
                                  Tool->GetPreviewMesh()->GetMesh()->TriangleCount()));
    if (Selected == 0)
    {
        // Said here, where the cause is: a button pressed next refuses with the tool's mapping message.
        Console.Warning("the selection is empty: no triangle matched, so a button that acts on the selection "
                        "will refuse");
    }
    return true;
}

bool FEditSession::SelectBone(const FString& Name)
{
    if (!RequireAsset("select a bone"))
    {
        return false;
    }
    const FReferenceSkeleton& Skeleton = Editor.GetAsset()->GetRefSkeleton();
    const int32 Bone = Skeleton.FindBoneIndex(FName(Name));
    if (Bone == INDEX_NONE)
    {
        Console.Error(FString::Printf("the skeleton has no bone '%s'", *Name));
        return false;
    }
    Editor.GetPreviewComponent()->SetSelectedBoneIndices({Bone});
    Console.Print(FString::Printf("selected bone %s", *Name));
    return true;
}

bool FEditSession::EditBone(const FString& Text)
{
    if (!RequireAsset("edit a bone"))
    {
        return false;
    }
    FBoneEditRequest Edit;
    FString Error;
    if (!ParseBoneEdit(Text, Edit, Error))
    {
        Console.Error(Error);
        return false;
    }
    if (Editor.GetAsset()->GetRefSkeleton().FindBoneIndex(FName(Edit.Bone)) == INDEX_NONE)
    {
        Console.Error(FString::Printf("the skeleton has no bone '%s'", *Edit.Bone));
        return false;
    }
    ApplyBoneEdit(*Editor.GetPreviewComponent()->GetPreviewInstance(), Edit);
    Editor.Tick();
    Console.Print(FString::Printf("edited bone %s", *Edit.Bone));
    return true;
}

bool FEditSession::Set(const FString& Assignment)
{
    if (!RequireTool("set a property"))
    {
        return false;
    }
    FString Name;
    FString Value;
    if (!Assignment.Split("=", &Name, &Value) || Name.TrimStartAndEnd().IsEmpty())
    {
        Console.Error(FString::Printf("expected NAME=VALUE, got '%s'", *Assignment));
        return false;
    }
    Name = Name.TrimStartAndEnd();
    Value = Value.TrimStartAndEnd();
    TArray<FString> Options;
    if (GetPropertyOptions(Editor, Name, Options))
    {
        const FString Option = ResolvePropertyOption(Options, Value);
        if (Option.IsEmpty())
        {
            Console.Error(FString::Printf("cannot set '%s': '%s' is not one of its options: %s", *Name,
                                          *Value, *DescribeOptions(Options)));
            return false;
        }
        Value = Option;
    }
    FString Error;
    if (!Editor.SetProperty(Name, Value, Error))
    {
        Console.Error(FString::Printf("cannot set '%s': %s", *Name, *Error));
        return false;
    }
    Console.Print(FString::Printf("set %s = %s", *Name, *Editor.GetPropertyText(Name)));
    Settle();
    return true;
}

bool FEditSession::Press(const FString& Button)
{
    if (!RequireTool("press a button"))
    {
        return false;
    }
    FString Error;
    if (!Editor.PressButton(Button, Error))
    {
        Console.Error(FString::Printf("cannot press '%s': %s", *Button, *Error));
        return false;
    }
    Console.Print(FString::Printf("pressed %s", *Button));
    FProgressIndicator Progress(Console, FString::Printf("running %s", *Button));
    Settle();
    return true;
}

void FEditSession::Settle()
{
    for (int32 Frame = 0; Frame < MaxSettleFrames; ++Frame)
    {
        Editor.Tick();
        const UMeshSelectionTool* SelectionTool = Editor.GetSelectionTool();
        const bool bIdle = SelectionTool ? !SelectionTool->HasPendingAction() : Frame + 1 >= RequestFrames;
        if (!Editor.GetActiveTool() || bIdle)
        {
            return;
        }
    }
    Console.Warning(FString::Printf("the tool was still busy after %d frames", MaxSettleFrames));
}

bool FEditSession::Tick(const TArray<FString>& Arguments)
{
    if (!RequireAsset("tick"))
    {
        return false;
    }
    int32 Frames = 1;
    if (!Arguments.IsEmpty())
    {
        const std::string_view Text = Arguments[0].View();
        const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Frames);
        if (Arguments.Num() > 1 || Error != std::errc() || End != Text.data() + Text.size() || Frames < 1 ||
            Frames > MaxSettleFrames)
        {
            Console.Error(FString::Printf("tick takes a number of frames from 1 to %d", MaxSettleFrames));
            return false;
        }
    }
    Editor.Tick(Frames);
    return true;
}

bool FEditSession::EndTool(EToolShutdownType ShutdownType)
{
    if (!RequireAsset(ShutdownType == EToolShutdownType::Accept ? "accept" : "cancel"))
    {
        return false;
    }
    UInteractiveTool* Tool = Editor.GetActiveTool();
    if (!Tool)
    {
        // The tool ended itself, as a tool does after its work is done: nothing is left to end.
        return true;
    }
    const FString Name = Tool->GetToolDisplayName().ToString();
    if (ShutdownType == EToolShutdownType::Accept)
    {
        Editor.AcceptTool();
    }
    else
    {
        Editor.CancelTool();
    }
    Console.Print(FString::Printf(
        "%s %s", ShutdownType == EToolShutdownType::Accept ? "accepted" : "cancelled", *Name));
    return true;
}

void FEditSession::CloseTool()
{
    if (Editor.GetActiveTool())
    {
        EndTool(EToolShutdownType::Cancel);
    }
}

bool FEditSession::UndoOrRedo(EEditStepKind Step)
{
    const bool bUndo = Step == EEditStepKind::Undo;
    if (!RequireAsset(bUndo ? "undo" : "redo"))
    {
        return false;
    }
    // The history belongs to the editor: a running tool is ended by the user first, so that no edit of
    // it is thrown away unasked.
    if (const UInteractiveTool* Tool = Editor.GetActiveTool())
    {
        Console.Error(FString::Printf("cannot %s while %s is running: accept or cancel it first",
                                      bUndo ? "undo" : "redo", *Tool->GetToolDisplayName().ToString()));
        return false;
    }
    FTransactionBuffer& History = FTransactionBuffer::Get();
    const TArray<FText> Titles = bUndo ? History.GetUndoTitles() : History.GetRedoTitles();
    if (Titles.IsEmpty())
    {
        Console.Warning(bUndo ? "nothing to undo" : "nothing to redo");
        return true;
    }
    if (bUndo ? Editor.Undo() : Editor.Redo())
    {
        const FText& Title = bUndo ? Titles.Last() : Titles[0];
        Console.Print(FString::Printf("%s %s", bUndo ? "undid" : "redid", *Title.ToString()));
    }
    return true;
}

void FEditSession::ReportNewOutput(bool bMayRefuse)
{
    const TArray<FToolMessage>& Messages = Editor.GetMessages();
    // A warning after a result (a detach that left the part's extra LODs behind) qualifies the result.
    bool bResultShown = false;
    for (; MessagesReported < Messages.Num(); ++MessagesReported)
    {
        const FToolMessage& Message = Messages[MessagesReported];
        if (Message.Level == EToolMessageLevel::Internal)
        {
            continue;
        }
        Console.ToolMessage(Message.Level, Message.Text.ToString());
        bToolRefused |= bMayRefuse && !bResultShown && Message.Level >= EToolMessageLevel::UserWarning;
        bResultShown |= Message.Level == EToolMessageLevel::UserNotification;
    }
    const TArray<FLogLine> NewLines = Editor.GetLog().GetLinesFrom(LogLinesSeen);
    LogLinesSeen += NewLines.Num();
    for (const FLogLine& Line : NewLines)
    {
        if (Line.Category == LogRivetEditor.GetCategoryName())
        {
            Console.LogLine(Line);
        }
    }
}

TArray<UPackage*> FEditSession::FindChangedPackages() const
{
    TArray<UPackage*> Changed;
    if (!FTransactionBuffer::Get().CanUndo())
    {
        return Changed;
    }
    ForEachObjectOfClass<UPackage>(
        [this, &Changed](UPackage* Package)
        {
            if (Package->IsDirty() && SessionPackages.IsNew(*Package) && !IsAsOpened(*Package))
            {
                Changed.Add(Package);
            }
        });
    return Changed;
}

bool FEditSession::IsAsOpened(UPackage& Package) const
{
    // A dirty package is not always a changed one: a tool that refuses has still recorded its asset.
    const FOpenedFile* Opened =
        OpenedFiles.FindByPredicate([&Package](const FOpenedFile& File) { return File.Package == &Package; });
    return Opened && !Opened->Fingerprint.IsEmpty() && FingerprintPackage(Package) == Opened->Fingerprint;
}

bool FEditSession::SaveChanged()
{
    CloseTool();
    ReportNewOutput();
    const TArray<UPackage*> Changed = FindChangedPackages();
    if (Changed.IsEmpty())
    {
        Console.Print("nothing changed: no files written");
        return true;
    }
    return FSessionPackageWriter(Console, SaveOptions, OpenedFiles).Write(Changed, SavedFiles);
}
