#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"

VT_ENUM(ToolTip = "How a test object works.")
enum class ETestMode : int8
{
    First VT_UMETA(DisplayName = "First Mode"),
    Second,
    ThirdOne = 7,
    Invalid = -1,
};
VT_ENUM_BODY(ETestMode)

/** An object with one property of every supported kind. */
VT_CLASS(ToolTip = "An object for the reflection tests.")
class UTestObject : public UObject
{
    VT_BODY(UTestObject, UObject)

public:
    VT_PROPERTY(EditAnywhere, Category = "Options", ClampMin = "0", ClampMax = "10", UIMax = "5",
                ToolTip = "How much.\n"
                          "Second line.")
    double Amount = 1.0;

    VT_PROPERTY(EditAnywhere, Category = "Options", meta = (ClampMin = "1", DisplayName = "Number Of Things"))
    int32 Count = 3;

    VT_PROPERTY(EditAnywhere, Category = "Options")
    bool bEnabled = false;

    VT_PROPERTY(EditAnywhere)
    FString Label;

    VT_PROPERTY(EditAnywhere)
    FName Tag;

    VT_PROPERTY(EditAnywhere, Category = "Mode")
    ETestMode Mode = ETestMode::First;

    VT_PROPERTY(EditAnywhere, Category = "Mode", EditCondition = "Mode == ETestMode::Second",
                EditConditionHides)
    FString SecondOnly;

    VT_PROPERTY(EditAnywhere, EditCondition = "bEnabled && Count != 3")
    float Gated = 0.5f;

    VT_PROPERTY(EditAnywhere, AllowPreserveRatio)
    FVector Scale = FVector(1.0, 1.0, 1.0);

    VT_PROPERTY(EditAnywhere)
    FRotator Rotation;

    VT_PROPERTY(VisibleAnywhere)
    TObjectPtr<UTestObject> Other;

    VT_PROPERTY()
    TArray<TObjectPtr<UTestObject>> Children;

    VT_PROPERTY(VisibleAnywhere, TransientToolProperty)
    TArray<FString> Options;

    /** Not reflected: does not keep its object alive. */
    TObjectPtr<UTestObject> Unreflected;

    int32 PressCount = 0;
    int32 PreEditCount = 0;
    FName LastChanged;

    VT_FUNCTION(CallInEditor, Category = "Actions", DisplayName = "Press Me", DisplayPriority = "1")
    void Press() { ++PressCount; }

    VT_FUNCTION()
    TArray<FString> GetOptionNames() const { return {"Alpha", "Beta, Gamma"}; }

    void PreEditChange(const FProperty* Property) override
    {
        Super::PreEditChange(Property);
        ++PreEditCount;
    }
    void PostEditChangeProperty(FPropertyChangedEvent& Event) override
    {
        Super::PostEditChangeProperty(Event);
        LastChanged = Event.GetPropertyName();
    }
};

VT_CLASS()
class UTestChild : public UTestObject
{
    VT_BODY(UTestChild, UTestObject)

public:
    VT_PROPERTY(EditAnywhere, ClampMin = -9223372036854775807)
    int64 Extra = 0;

    VT_PROPERTY(EditAnywhere, ClampMin = "0.5", ClampMax = "18446744073709551615")
    uint64 Huge = 0;
};
