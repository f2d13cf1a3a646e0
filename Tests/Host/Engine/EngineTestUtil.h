#pragma once

#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/LogAnimation.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace EngineTest
{
/** A bone given by its parent's name (null for the root) and its local reference pose. */
struct FTestBone
{
    const char* Name;
    const char* ParentName = nullptr;
    FTransform LocalPose = FTransform::Identity;
};

inline FReferenceSkeleton MakeReferenceSkeleton(std::initializer_list<FTestBone> Bones)
{
    FReferenceSkeleton RefSkeleton;
    FReferenceSkeletonModifier Modifier(RefSkeleton, nullptr);
    for (const FTestBone& Bone : Bones)
    {
        const int32 ParentIndex = Bone.ParentName ? Modifier.FindBoneIndex(Bone.ParentName) : INDEX_NONE;
        Modifier.Add(FReferenceBone{Bone.Name, ParentIndex}, Bone.LocalPose);
    }
    return RefSkeleton;
}

inline FTransform Offset(double X, double Y = 0.0, double Z = 0.0)
{
    return FTransform(FVector(X, Y, Z));
}

/** An object standing alone in a package of its own, so that collections keep it. */
template <CReflectedClass T>
T* MakeAsset(const char* Name)
{
    return NewObject<T>(CreatePackage(FString("/Game/AnimTests/") + Name), Name, RF_Standalone);
}

/** True when an animation warning contains every one of the fragments. */
inline bool HasWarning(const FScopedLogCapture& Capture, const TArray<std::string_view>& Fragments)
{
    return Capture.FindLines(LogAnimation.GetCategoryName())
        .ContainsByPredicate(
            [&Fragments](const FLogLine& Line)
            {
                return Line.Verbosity == ELogVerbosity::Warning &&
                       std::all_of(Fragments.begin(), Fragments.end(),
                                   [&Line](std::string_view Fragment)
                                   { return Line.Message.Contains(Fragment); });
            });
}

/** Starts and ends every test with an empty undo history. */
class FUndoTest : public testing::Test
{
protected:
    void SetUp() override { FTransactionBuffer::Get().Reset(); }
    void TearDown() override { FTransactionBuffer::Get().Reset(); }

    static FText Title(const char* Text) { return FText::FromString(Text); }
    static int32 RecordedObjects() { return FTransactionBuffer::Get().GetRecordCount(); }
};
} // namespace EngineTest
