#include "InteractiveToolsFramework/Preview/PreviewMesh.h"

void UPreviewMesh::UpdatePreview(FDynamicMesh3&& NewMesh)
{
    Mesh = std::move(NewMesh);
    ++Revision.Get();
}
