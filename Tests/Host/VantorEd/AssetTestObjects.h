#pragma once

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/**
 * An asset that reports whatever tags a test gives it and may hold a piece inside it, or refer to any
 * other object through it. Undo records its reflected and unreflected members alike.
 */
VT_CLASS()
class UTestAsset : public UObject
{
    VT_BODY(UTestAsset, UObject)

public:
    VT_PROPERTY()
    TObjectPtr<UTestAsset> Piece;

    TMap<FName, FString> RegistryTags;
    TArray<int32> Values;
    FString Label;
    int32 UndoNotifications = 0;

    void PostEditUndo() override { ++UndoNotifications; }

    void GetAssetRegistryTags(TMap<FName, FString>& OutTags) const override
    {
        Super::GetAssetRegistryTags(OutTags);
        for (const auto& [Tag, Value] : RegistryTags)
        {
            OutTags.Add(Tag, Value);
        }
    }
};

VT_CLASS()
class UTestMeshAsset : public UTestAsset
{
    VT_BODY(UTestMeshAsset, UTestAsset)
};

/** An asset of this class can be made but not copied. */
VT_CLASS()
class UUncopyableAsset : public UObject
{
    VT_BODY_ABSTRACT(UUncopyableAsset, UObject)
};
