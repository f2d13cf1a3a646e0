#pragma once

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "RivetEditorModuleName.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "Support/ToolMessageExpectations.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

/** The test character open in an editor that has the module loaded, as a user finds it before a tool. */
class FToolTest : public testing::Test
{
protected:
    void Open(const FTestSkeletalAssetOptions& Options)
    {
        FTransactionBuffer::Get().Reset();
        Asset = BuildTestSkeletalAsset(Options);
        Mesh = Asset.Mesh;
        Editor.OpenAsset(Mesh);
    }

    void Set(const FString& Name, const FString& Value) { SetToolProperty(Editor, Name, Value); }
    void Press(const FString& Button) { PressToolButton(Editor, Button); }
    /** Paints the triangles, presses the button and runs a frame. */
    void PressOnSelection(const TArray<int32>& Triangles, const FString& Button)
    {
        ASSERT_TRUE(Editor.SelectPreviewTriangles(Triangles));
        Press(Button);
        Editor.Tick();
    }
    static int32 Triangles(const USkeletalMesh* Target)
    {
        return Target->GetMeshDescription(0)->Triangles().Num();
    }

    FHeadlessEditor Editor{{RivetEditorModuleName}};
    FTestSkeletalAsset Asset;
    USkeletalMesh* Mesh = nullptr;
};
