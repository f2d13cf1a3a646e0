#pragma once

#include "Core/Modules/ModularFeatures.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingModeToolExtension.h"
#include "Support/Tools/SampleSelectionTool.h"

/**
 * A tool extension offering the sample selection tool in a section "Samples": registered beside the
 * module, it lets tests drive a panel with clamped, disabled and read-only fields.
 */
class FSampleToolExtension : public ISkeletalMeshModelingModeToolExtension
{
public:
    FText GetExtensionName() override { return FText::FromString("Samples"); }
    FText GetToolSectionName() override { return FText::FromString("Samples"); }
    void GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                           TArray<FExtensionToolDescription>& ToolsOut) override
    {
        if (!QueryInfo.bIsInfoQueryOnly && !Builder.Get())
        {
            Builder.Reset(NewObject<USampleSelectionToolBuilder>(GetTransientPackage()));
        }
        ToolsOut.Add({FText::FromString("Sample Selection"), nullptr, Builder.Get()});
    }

    void Register() { IModularFeatures::Get().RegisterModularFeature(GetModularFeatureName(), this); }
    void Unregister() { IModularFeatures::Get().UnregisterModularFeature(GetModularFeatureName(), this); }

private:
    TStrongObjectPtr<UInteractiveToolBuilder> Builder;
};
