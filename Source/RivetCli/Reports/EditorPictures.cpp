#include "RivetCli/Reports/EditorPictures.h"

#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/Preview/PreviewMesh.h"
#include "InteractiveToolsFramework/Selection/MeshSelectionSet.h"
#include "RivetCli/Render/PictureSource.h"
#include "RivetCli/Render/PngFile.h"

#include <filesystem>

bool CaptureEditorPicture(const FHeadlessEditor& Editor, const FPictureOptions& Options, const FString& Name,
                          FPicture& Out, FString& OutError)
{
    const USkeletalMesh* Asset = Editor.GetAsset();
    if (!Asset)
    {
        OutError = "no asset is open to draw";
        return false;
    }
    FDynamicMesh3 Converted;
    FPictureSource Source;
    Source.Asset = Asset;
    const UMeshSelectionTool* Tool = Editor.GetSelectionTool();
    if (Tool && Tool->GetPreviewMesh() && Tool->GetSelection())
    {
        Source.Mesh = Tool->GetPreviewMesh()->GetMesh();
        Source.Selected = Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face);
    }
    else if (ConvertLODForPicture(*Asset, 0, Converted))
    {
        Source.Mesh = &Converted;
    }
    else
    {
        OutError = "the asset has no LOD 0 geometry to draw";
        return false;
    }
    if (!MakePicture(Source, Options.ColorBy, Out, OutError))
    {
        return false;
    }
    Out.Caption = MakePictureCaption(Name, 0, Source.Mesh->TriangleCount(), Options);
    return true;
}

bool FBeforeAfterPictures::CaptureBefore(const FHeadlessEditor& Editor, const FString& Name,
                                         FString& OutError)
{
    bHasBefore = CaptureEditorPicture(Editor, Options, Name + " before", Before, OutError);
    return bHasBefore;
}

bool FBeforeAfterPictures::CaptureAfter(const FHeadlessEditor& Editor, const FString& Name, FString& OutError)
{
    bHasAfter = CaptureEditorPicture(Editor, Options, Name + " after", After, OutError);
    return bHasAfter;
}

bool FBeforeAfterPictures::Write(const FString& Folder, TArray<FString>& OutFiles, FString& OutError) const
{
    if (!HasBoth())
    {
        OutError = "the edit has no before and after pictures to write";
        return false;
    }
    std::error_code Error;
    std::filesystem::create_directories(*Folder, Error);
    if (Error)
    {
        OutError = FString::Printf("%s: cannot create the folder: %s", *Folder, Error.message().c_str());
        return false;
    }
    FBox Framed = ComputeDrawnBounds(Before.Mesh);
    Framed += ComputeDrawnBounds(After.Mesh);
    for (const auto& [Picture, FileName] : {std::pair{&Before, "before.png"}, std::pair{&After, "after.png"}})
    {
        const FString Path = FString((std::filesystem::path(*Folder) / FileName).string());
        if (!WritePngFile(DrawPicture(*Picture, Options, Framed), Path, OutError))
        {
            return false;
        }
        OutFiles.Add(Path);
    }
    return true;
}
