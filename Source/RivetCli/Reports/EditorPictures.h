#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "RivetCli/Render/MeshPicture.h"

class FHeadlessEditor;

/**
 * What the editor shows now, as a picture: the active selection tool's preview with its selection
 * highlighted, or the open asset's LOD 0 when no selection tool runs. False with a message when no
 * asset is open or the coloring names no bone of it. Name starts the caption.
 */
bool CaptureEditorPicture(const FHeadlessEditor& Editor, const FPictureOptions& Options, const FString& Name,
                          FPicture& Out, FString& OutError);

/**
 * The before and after pictures of an edit, drawn from one camera that frames both, so that what
 * moved, went or grew shows as it is.
 */
class FBeforeAfterPictures
{
public:
    explicit FBeforeAfterPictures(const FPictureOptions& InOptions) : Options(InOptions) {}

    bool CaptureBefore(const FHeadlessEditor& Editor, const FString& Name, FString& OutError);
    bool CaptureAfter(const FHeadlessEditor& Editor, const FString& Name, FString& OutError);
    bool HasBoth() const { return bHasBefore && bHasAfter; }

    /** Writes "before.png" and "after.png" into Folder (created when missing); their paths, in that order. */
    bool Write(const FString& Folder, TArray<FString>& OutFiles, FString& OutError) const;

private:
    FPictureOptions Options;
    FPicture Before;
    FPicture After;
    bool bHasBefore = false;
    bool bHasAfter = false;
};
