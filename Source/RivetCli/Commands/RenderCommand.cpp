#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/Preview/PreviewMesh.h"
#include "InteractiveToolsFramework/Selection/MeshSelectionSet.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Render/PictureSource.h"
#include "RivetCli/Render/PngFile.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Selection/SelectionPainter.h"
#include "RivetCli/Session/OutputFiles.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"

#include <charconv>

namespace
{
/** The selection tool that `--select` paints with; any selection tool shows the same preview. */
const char* const PaintingTool = "Delete Polygons";
constexpr int32 MinImageSide = 16;
constexpr int32 MaxImageSide = 8192;

bool ParseSide(std::string_view Text, int32& Out)
{
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Out);
    return !Text.empty() && Error == std::errc() && End == Text.data() + Text.size() && Out >= MinImageSide &&
           Out <= MaxImageSide;
}

bool ParseImageSize(const FString& Text, FPictureOptions& Options, FString& OutError)
{
    FString Width;
    FString Height;
    if (!Text.ToLower().Split("x", &Width, &Height) || !ParseSide(Width.View(), Options.Width) ||
        !ParseSide(Height.View(), Options.Height))
    {
        OutError = FString::Printf("--size '%s': expected WIDTHxHEIGHT, each from %d to %d pixels", *Text,
                                   MinImageSide, MaxImageSide);
        return false;
    }
    return true;
}

/** Reads every option into the picture options and the source's edits; false with a message. */
bool ParseRenderOptions(const FRenderArguments& Arguments, FPictureOptions& Options, FPictureSource& Source,
                        TArray<FSelectionTerm>& Terms, FString& OutError)
{
    if (!ParseRenderView(Arguments.View, Options.View))
    {
        OutError = FString::Printf("--view '%s': expected front, back, left, right, top or three-quarter",
                                   *Arguments.View);
        return false;
    }
    if (!ParseImageSize(Arguments.Size, Options, OutError) ||
        !ParseRenderColorBy(Arguments.ColorBy, Options.ColorBy, OutError))
    {
        return false;
    }
    Options.bPerspective = Arguments.bPerspective;
    Options.bWireframe = Arguments.bWireframe;
    for (const FString& Text : Arguments.BoneEdits)
    {
        if (!ParseBoneEdit(Text, Source.BoneEdits.Emplace_GetRef(), OutError))
        {
            return false;
        }
    }
    for (const FString& Text : Arguments.Selections)
    {
        if (!ParseSelectionTerm(Text, Terms.Emplace_GetRef(), OutError))
        {
            return false;
        }
    }
    if (!Terms.IsEmpty() && Arguments.LOD != 0)
    {
        OutError = "--select paints LOD 0: it cannot be combined with --lod";
        return false;
    }
    return true;
}

/** Makes the picture from the source, then draws and writes it. */
bool DrawAndWrite(FRivetConsole& Console, const FRenderArguments& Arguments, const FPictureOptions& Options,
                  const FPictureSource& Source)
{
    FPicture Picture;
    FString Error;
    if (!MakePicture(Source, Options.ColorBy, Picture, Error))
    {
        Console.Error(FString::Printf("%s: %s", *Arguments.File, *Error));
        return false;
    }
    const int32 Triangles = Source.Mesh->TriangleCount();
    Picture.Caption = MakePictureCaption(GetPathStem(Arguments.File), Arguments.LOD, Triangles, Options);
    if (!WritePngFile(DrawPicture(Picture, Options, ComputeDrawnBounds(Picture.Mesh)), Arguments.Out, Error))
    {
        Console.Error(Error);
        return false;
    }
    Console.Print(FString::Printf("rendered %s: LOD %d, %d triangles, %s view, %dx%d -> %s", *Arguments.File,
                                  Arguments.LOD, Triangles, RenderViewName(Options.View), Options.Width,
                                  Options.Height, *Arguments.Out));
    Console.Json()["image"] = *Arguments.Out;
    Console.Json()["triangles"] = Triangles;
    return true;
}

/** Paints the selection on a selection tool's preview of LOD 0, as `run` does, and draws that preview. */
bool RenderSelection(FRivetConsole& Console, const FRenderArguments& Arguments,
                     const FPictureOptions& Options, USkeletalMesh& Asset, FPictureSource& Source,
                     const TArray<FSelectionTerm>& Terms)
{
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    Editor.OpenAsset(&Asset);
    if (!Editor.StartTool(PaintingTool) || !Editor.GetSelectionTool())
    {
        Console.Error(FString::Printf("%s: the selection cannot be painted on this asset", *Arguments.File));
        return false;
    }
    FString Error;
    if (!PaintSelection(Editor, Terms, Error))
    {
        Console.Error(FString::Printf("--select: %s", *Error));
        return false;
    }
    const UMeshSelectionTool& Tool = *Editor.GetSelectionTool();
    Source.Mesh = Tool.GetPreviewMesh()->GetMesh();
    Source.Selected = Tool.GetSelection()->GetElements(EMeshSelectionElementType::Face);
    const bool bWritten = DrawAndWrite(Console, Arguments, Options, Source);
    Editor.CancelTool();
    return bWritten;
}
} // namespace

int RunRenderCommand(FRivetConsole& Console, const FRenderArguments& Arguments)
{
    FPictureOptions Options;
    FPictureSource Source;
    TArray<FSelectionTerm> Terms;
    FString Error;
    if (!ParseRenderOptions(Arguments, Options, Source, Terms, Error))
    {
        Console.Error(Error);
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    const FScopedPackageRelease ReadPackages;
    FInterchangeResult Result;
    {
        FProgressIndicator Progress(Console, FString::Printf("reading %s", *Arguments.File));
        Result = ImportSkinnedMeshFile(Arguments.File);
    }
    if (!Result.bSuccess)
    {
        Console.Error(Result.Error);
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    Source.Asset = Result.Mesh;
    Source.LOD = Arguments.LOD;
    bool bWritten = false;
    if (!Terms.IsEmpty())
    {
        bWritten = RenderSelection(Console, Arguments, Options, *Result.Mesh, Source, Terms);
    }
    else
    {
        FDynamicMesh3 Converted;
        if (!ConvertLODForPicture(*Result.Mesh, Arguments.LOD, Converted))
        {
            Console.Error(FString::Printf("%s: no LOD %d with geometry (the mesh has %d LODs)",
                                          *Arguments.File, Arguments.LOD, Result.Mesh->GetLODNum()));
            return static_cast<int>(ERivetExitCode::BadInput);
        }
        Source.Mesh = &Converted;
        bWritten = DrawAndWrite(Console, Arguments, Options, Source);
    }
    return static_cast<int>(bWritten ? ERivetExitCode::Success : ERivetExitCode::BadInput);
}
