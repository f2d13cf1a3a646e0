#pragma once

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/** An object that refers to others in every way that duplication follows, and logs its hook. */
VT_CLASS()
class UDuplicationNode : public UObject
{
    VT_BODY(UDuplicationNode, UObject)

public:
    VT_PROPERTY()
    TObjectPtr<UDuplicationNode> Target;

    VT_PROPERTY()
    TArray<TObjectPtr<UDuplicationNode>> Links;

    /** Not reflected: reported through AddReferencedObjects. */
    TObjectPtr<UDuplicationNode> Reported;

    TArray<int32> Values;
    FString Label;

    int32 PostDuplicateCalls = 0;
    /** Target as PostDuplicate saw it. */
    UDuplicationNode* TargetWhenDuplicated = nullptr;
    /** Whether the outer (when it is a node) had had its PostDuplicate before this one's. */
    bool bOuterDuplicatedFirst = false;

    void AddReferencedObjects(FReferenceCollector& Collector) override
    {
        Super::AddReferencedObjects(Collector);
        Collector.AddReferencedObject(Reported);
    }
    void PostDuplicate() override
    {
        Super::PostDuplicate();
        ++PostDuplicateCalls;
        TargetWhenDuplicated = Target;
        const UDuplicationNode* OuterNode = Cast<UDuplicationNode>(GetOuter());
        bOuterDuplicatedFirst = !OuterNode || OuterNode->PostDuplicateCalls > 0;
    }
};

/** Objects of this class can be made but not copied. */
VT_CLASS()
class UUncopyableNode : public UObject
{
    VT_BODY_ABSTRACT(UUncopyableNode, UObject)

public:
    int32 Value = 0;
};
